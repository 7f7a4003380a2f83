#pragma once
// Argument handling shared by the verbs of the command line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/verbs.h"

namespace quorv::cli {

// When args[i] is `--rule LINE` or `--rules F.qvr`, appends the rule
// line(s) to rules, advances i past the option and returns true. An
// unreadable or damaged rule file throws UsageError naming the problem.
bool TakeRuleOption(const Args& args, std::size_t& i, std::vector<std::string>& rules);

// The value that follows the option at args[i]; advances i to it. Throws
// UsageError when the option is the last argument.
const std::string& OptionValue(const Args& args, std::size_t& i);

// A whole decimal 32-bit integer (optional sign); throws UsageError otherwise.
std::int32_t ParseInt32(const std::string& text, const std::string& option);

// Prints result text made of "...\r\n" lines as one line each on standard
// output, each ending with a newline.
void PrintResultLines(const std::string& text);

// True for arguments that look like options ("--name").
bool IsOption(const std::string& arg);

}  // namespace quorv::cli
