// MP3 tags of any bytes: the tag reader (id3lib) and the media values on a
// file holding the input. Nothing may crash; values are whatever they are.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/media_values.h"
#include "platform/media.h"
#include "system/system.h"

namespace {

const std::string& ScratchFile() {
    static const std::string path = "/tmp/quorv-fuzz-tags-" + std::to_string(getpid()) + ".mp3";
    return path;
}

}  // namespace

// id3lib allocates the declared size of a compressed frame (up to 4 GiB)
// before it looks at the data: allowed here, so that only real faults stop
// the run. Added in front of the caller's flags, which still win.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args;
    static char limit[] = "-malloc_limit_mb=4300";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, limit);
    args.push_back(nullptr);
    std::atexit([] { std::remove(ScratchFile().c_str()); });
    *argc = static_cast<int>(args.size() - 1);
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = ScratchFile();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0 && std::fwrite(data, 1, size, f) != size) {
        std::fclose(f);
        return 0;
    }
    std::fclose(f);
    // One parse, then every field the engine reads (and one past them) and the header.
    auto file = quorv::SystemTagReader().Open(path);
    if (file) {
        (void)file->HasV2Tag();
        std::string text;
        for (int field = 0; field <= quorv::kTagFieldCount; ++field)
            (void)file->FrameText(static_cast<quorv::TagField>(field), text);
        quorv::Mp3Header header;
        (void)file->HeaderInfo(header);
    }
    // And the engine's way, once.
    quorv::EngineContext ctx;
    ctx.tags = &quorv::SystemTagReader();
    (void)quorv::Mp3TagValue(ctx, path, false, "Genre");
    return 0;
}
