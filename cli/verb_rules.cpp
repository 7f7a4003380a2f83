// quorv rules F.qvr: print the rule lines of a rule file.
// quorv rules --write F.qvr LINE...: write a rule file.
#include <cstdio>
#include <string>
#include <vector>

#include "builder/rule_file.h"
#include "cli/args.h"
#include "cli/verbs.h"
#include "platform/filesystem.h"
#include "system/system.h"

namespace quorv::cli {

int RunRules(const Args& args) {
    if (args.empty()) throw UsageError("rules: give a rule file, or --write F.qvr LINE...");
    if (args[0] == "--write") {
        if (args.size() < 2) throw UsageError("rules --write: give the rule file to write");
        const std::string& path = args[1];
        const std::vector<std::string> lines(args.begin() + 2, args.end());
        const SaveResult saved = SaveRuleFile(SystemFileSystem(), path, lines);
        if (saved.outcome == SaveResult::Outcome::NotOpened) throw UsageError("cannot write the rule file " + path);
        if (saved.outcome == SaveResult::Outcome::WriteFailed) throw UsageError(saved.errorText);
        return 0;
    }
    if (args.size() != 1 || IsOption(args[0])) throw UsageError("rules: give exactly one rule file");
    const std::string& path = args[0];
    const RuleLoadResult loaded = LoadRuleFile(SystemFileSystem(), path, SystemCodePage());
    if (!loaded.opened) throw UsageError("cannot read the rule file " + path);
    if (!loaded.ok) throw UsageError(path + ": " + loaded.errorText);
    for (const std::string& line : loaded.rules) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}

}  // namespace quorv::cli
