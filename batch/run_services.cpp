// The run's services from the rule engine (kept apart so that the model
// and its tests do not need the engine linked in).
#include "batch/rename_run.h"

namespace quorv {

RunServices MakeRunServices(const EngineContext& ctx) {
    RunServices s;
    s.newPath = [ctx](const std::string& path, std::int32_t number, const std::vector<std::string>& rules) {
        return ApplyRules(ctx, path, number, rules);
    };
    s.convert = [ctx](const std::string& source, const std::string& target) {
        return ConvertPicture(ctx, source, target);
    };
    return s;
}

}  // namespace quorv
