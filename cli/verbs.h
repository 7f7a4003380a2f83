#pragma once
// The verbs of the quorv command line. Each takes the arguments after the
// verb and returns the exit status: 0 when every file succeeded, 1 when any
// failed. A usage error or an unreadable input throws UsageError (exit 2).
#include <stdexcept>
#include <string>
#include <vector>

namespace quorv::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;

int RunApply(const Args& args);    // quorv apply RULES [--first N] PATH...
int RunRules(const Args& args);    // quorv rules F.qvr | quorv rules --write F.qvr LINE...
int RunPreview(const Args& args);  // quorv preview RULES FILES
int RunRename(const Args& args);   // quorv rename RULES FILES [--save-batch F]
int RunUndo(const Args& args);     // quorv undo --batch F

}  // namespace quorv::cli
