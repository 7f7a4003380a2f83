#include "cli/args.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "builder/rule_file.h"
#include "platform/filesystem.h"
#include "system/system.h"

namespace quorv::cli {

bool IsOption(const std::string& arg) { return arg.size() > 2 && arg[0] == '-' && arg[1] == '-'; }

const std::string& OptionValue(const Args& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
    return args[++i];
}

std::int32_t ParseInt32(const std::string& text, const std::string& option) {
    if (text.empty()) throw UsageError(option + " needs a whole number");
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        throw UsageError(option + " needs a whole number from -2147483648 to 2147483647, not \"" +
                         text + "\"");
    }
    return static_cast<std::int32_t>(value);
}

bool TakeRuleOption(const Args& args, std::size_t& i, std::vector<std::string>& rules) {
    if (args[i] == "--rule") {
        rules.push_back(OptionValue(args, i));
        return true;
    }
    if (args[i] == "--rules") {
        const std::string& path = OptionValue(args, i);
        RuleLoadResult loaded = LoadRuleFile(SystemFileSystem(), path, SystemCodePage());
        if (!loaded.opened) throw UsageError("cannot read the rule file " + path);
        if (!loaded.ok) throw UsageError(path + ": " + loaded.errorText);
        rules.insert(rules.end(), loaded.rules.begin(), loaded.rules.end());
        return true;
    }
    return false;
}

void PrintResultLines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        std::fwrite(text.data() + start, 1, stop - start, stdout);
        std::fputc('\n', stdout);
        if (end == std::string::npos) break;
        start = end + 2;
    }
}

}  // namespace quorv::cli
