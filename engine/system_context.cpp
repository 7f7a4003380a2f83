// The engine's context on the running platform.
#include "engine/apply_rules.h"

namespace quorv {

EngineContext SystemEngineContext() {
    EngineContext ctx;
    ctx.codePage = &SystemCodePage();
    ctx.clock = &SystemClock();
    ctx.fileSystem = &SystemFileSystem();
    ctx.tags = &SystemTagReader();
    ctx.pictures = &SystemPictureReader();
#ifdef _WIN32
    ctx.separator = '\\';
#else
    ctx.separator = '/';
#endif
    return ctx;
}

}  // namespace quorv
