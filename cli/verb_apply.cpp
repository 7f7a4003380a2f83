// quorv apply RULES [--first N] PATH...: the new path of each PATH.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/verbs.h"
#include "engine/apply_rules.h"
#include "formats/int32_wrap.h"
#include "system/system.h"

namespace quorv::cli {

int RunApply(const Args& args) {
    std::vector<std::string> rules;
    std::vector<std::string> paths;
    std::int32_t first = 1;
    bool endOfOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!endOfOptions && arg == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && TakeRuleOption(args, i, rules)) {
            continue;
        } else if (!endOfOptions && arg == "--first") {
            first = ParseInt32(OptionValue(args, i), "--first");
        } else if (!endOfOptions && IsOption(arg)) {
            throw UsageError("apply: unknown option " + arg);
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) throw UsageError("apply: no PATH given");

    const EngineContext ctx = EngineContextOf(SystemServices());
    // File numbers run on from --first with the engine's 32-bit wrap-around.
    std::uint32_t number = static_cast<std::uint32_t>(first);
    for (const std::string& path : paths) {
        const std::string result = ApplyRules(ctx, path, WrapToInt32(number), rules);
        std::fwrite(result.data(), 1, result.size(), stdout);
        std::fputc('\n', stdout);
        ++number;
    }
    return 0;
}

}  // namespace quorv::cli
