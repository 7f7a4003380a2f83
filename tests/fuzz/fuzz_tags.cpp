// MP3 tags of any bytes: the tag reader (id3lib) and the media values on a
// file holding the input. Nothing may crash; values are whatever they are.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "engine/media_values.h"
#include "platform/media.h"

namespace {

const std::string& ScratchFile() {
    static const std::string path = "/tmp/quorv-fuzz-tags-" + std::to_string(getpid()) + ".mp3";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = ScratchFile();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0 && std::fwrite(data, 1, size, f) != size) {
        std::fclose(f);
        return 0;
    }
    std::fclose(f);
    // One parse, then every frame id the library knows and the header.
    auto file = quorv::SystemTagReader().Open(path);
    if (file) {
        (void)file->HasV2Tag();
        std::string text;
        for (int id = 0; id <= 130; ++id) (void)file->FrameText(id, text);
        quorv::Mp3Header header;
        (void)file->HeaderInfo(header);
    }
    // And the engine's way, once.
    quorv::EngineContext ctx;
    ctx.tags = &quorv::SystemTagReader();
    (void)quorv::Mp3TagValue(ctx, path, false, "Genre");
    return 0;
}
