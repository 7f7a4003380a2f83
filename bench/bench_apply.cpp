// ApplyRules on 100,000 generated names with ten text rules: files per
// second and microseconds per file. Figures only; never fails.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/apply_rules.h"
#include "platform/no_filesystem.h"

namespace {

using namespace quorv;

double Run(const char* label, const CodePage& cp, const std::vector<std::string>& paths,
           const std::vector<std::string>& rules) {
    auto clock = MakeFixedClock(1167059229, 0);
    NoFileSystem files;
    auto tags = MakeNullTagReader();
    auto pictures = MakeNullPictureReader();
    EngineContext ctx;
    ctx.codePage = &cp;
    ctx.clock = clock.get();
    ctx.fileSystem = &files;
    ctx.tags = tags.get();
    ctx.pictures = pictures.get();

    std::size_t checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        checksum += ApplyRules(ctx, paths[i], static_cast<std::int32_t>(i + 1), rules).size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bench_apply %-28s %zu files x %zu rules: %.3f s, %.0f files/s, %.2f us/file (checksum %zu)\n", label,
                paths.size(), rules.size(), seconds, paths.size() / seconds, seconds * 1e6 / paths.size(), checksum);
    return seconds;
}

}  // namespace

int main() {
    try {
        const std::size_t count = 100000;
        std::vector<std::string> paths;
        paths.reserve(count);
        const char* const words[] = {"Holiday", "photo", "IMG", "clip", "(live)", "old", "Track", "scan"};
        for (std::size_t i = 0; i < count; ++i) {
            std::string p = "C:\\Users\\someone\\Pictures\\Trip 2006\\";
            p += words[i % 8];
            p += ' ';
            p += words[(i / 8) % 8];
            p += ' ';
            p += std::to_string(i);
            p += (i % 3 == 0) ? ".JPG" : (i % 3 == 1) ? ".jpeg" : ".mp3";
            paths.push_back(std::move(p));
        }
        const std::vector<std::string> rules = {
            "FILENAME PREFIX \"IMG_\"",
            "FILENAME REPLACE \" \" with \"_\"",
            "FILENAME REMOVE (*)",
            "FILENAME REMOVE \"old\"",
            "FILENAME UPPERCASE left length:1letter",
            "FILEEXT LOWERCASE all",
            "FILENAME SUFFIX digit length:5:100+10",
            "FILENAME INSERT \"-\" position:5",
            "FILENAME REMOVE right length:#2",
            "FILENAME UPPERCASE \"the_first_letter_of_each_word\"",
        };
        auto utf8 = MakeUtf8CodePage();
        auto sjis = MakeTableCodePage(932);
        Run("(UTF-8)", *utf8, paths, rules);
        Run("(932 table)", *sjis, paths, rules);
        // Names with double-byte characters take the multi-byte path of every search.
        for (std::string& p : paths) p.insert(p.size() - 6, "\x95\x5C");
        Run("(932, double-byte names)", *sjis, paths, rules);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_apply: %s\n", e.what());
        return 1;
    } catch (...) {
        std::fprintf(stderr, "bench_apply: failed\n");
        return 1;
    }
}
