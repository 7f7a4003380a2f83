// Rule lines and a name from outside bytes: the first line is the path, each
// further line a rule (at most eight). Applied with the UTF-8 and the 932
// code pages, a fixed clock, readers that find nothing and a file system
// that knows one file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/apply_rules.h"
#include "platform/mbtext.h"
#include "platform/no_filesystem.h"

namespace {

using namespace quorv;

class OneFileSystem : public NoFileSystem {
public:
    bool GetStatus(const std::string& path, FileStatus& out) override {
        if (path.size() % 3 == 0) return false;  // some files are gone
        out = FileStatus{};
        out.times.created = -86400 * 400;
        out.times.modified = static_cast<std::int64_t>(path.size()) * 1000003;
        out.times.accessed = INT64_MAX - static_cast<std::int64_t>(path.size());
        return true;
    }
};

struct Seams {
    std::unique_ptr<CodePage> utf8 = MakeUtf8CodePage();
    std::unique_ptr<CodePage> sjis = MakeTableCodePage(932);
    std::unique_ptr<Clock> clock = MakeFixedClock(1167059229, 3600);
    std::unique_ptr<TagReader> tags = MakeNullTagReader();
    std::unique_ptr<PictureReader> pictures = MakeNullPictureReader();
    OneFileSystem files;
};

void Check(const CodePage& cp, const Seams& s, const std::string& path, std::int32_t number,
           const std::vector<std::string>& rules) {
    EngineContext ctx;
    ctx.codePage = &cp;
    ctx.clock = s.clock.get();
    ctx.fileSystem = const_cast<OneFileSystem*>(&s.files);
    ctx.tags = s.tags.get();
    ctx.pictures = s.pictures.get();
    const std::string result = ApplyRules(ctx, path, number, rules);
    // Without a DESTDIR line the file stays in its folder.
    bool moves = false;
    for (const std::string& r : rules) moves = moves || r.compare(0, 8, "DESTDIR ") == 0;
    if (!moves) {
        const std::size_t sep = mb::FindLastChar(cp, path, '\\');
        const std::size_t folder = sep == mb::npos ? 0 : sep + 1;
        if (result.compare(0, folder, path, 0, folder) != 0) std::abort();
    }
    if (rules.empty() && result != path) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Seams seams;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t at = input.find('\n');
    const std::string path = input.substr(0, at);
    std::vector<std::string> rules;
    while (at != std::string::npos && rules.size() < 8) {
        const std::size_t next = input.find('\n', at + 1);
        rules.push_back(input.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
        at = next;
    }
    const std::int32_t number = static_cast<std::int32_t>(static_cast<std::uint32_t>(size) * 2654435761u);
    Check(*seams.utf8, seams, path, 1, rules);
    Check(*seams.sjis, seams, path, number, rules);
    return 0;
}
