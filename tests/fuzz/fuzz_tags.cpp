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
    quorv::EngineContext ctx;
    ctx.tags = &quorv::SystemTagReader();
    static const char* const kV1[] = {"Album", "Artist", "Title", "Track", "Year", "Comment", "Genre", "BitRate", "Frequency"};
    static const char* const kV2[] = {"Composer", "Copyright", "Encodeby", "OrigArtist", "wwwuser", "Publisher", "Time", "Language", "SubTitle"};
    for (const char* p : kV1) (void)quorv::Mp3TagValue(ctx, path, false, p);
    for (const char* p : kV2) (void)quorv::Mp3TagValue(ctx, path, true, p);
    return 0;
}
