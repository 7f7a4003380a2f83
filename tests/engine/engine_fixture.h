#pragma once
// Shared set-up of the engine tests: a context with a chosen code page, a
// clock standing at 25 December 2006 15:07:09 local time (in a zone one
// hour east of UTC), a file system double that answers GetStatus with
// chosen times, and readers that find no tags or pictures.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/apply_rules.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/media.h"
#include "platform/no_filesystem.h"

namespace quorv::test {

// 2006-12-25 15:07:09 in a zone at UTC+1 (a Monday).
constexpr std::int64_t kChristmasLocal = 1167059229;  // as if UTC
constexpr int kOffset = 3600;
constexpr std::int64_t kChristmasUtc = kChristmasLocal - kOffset;

// Knows only the files it is told about; every other call fails.
class StatusFileSystem : public NoFileSystem {
public:
    std::map<std::string, FileTimes> files;
    int statusCalls = 0;
    char separator = '\\';

    char Separator() const override { return separator; }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool GetStatus(const std::string& path, FileStatus& out) override {
        ++statusCalls;
        auto it = files.find(path);
        if (it == files.end()) return false;
        out = FileStatus{};
        out.times = it->second;
        return true;
    }
};

struct EngineSetup {
    std::unique_ptr<CodePage> codePage;
    std::unique_ptr<Clock> clock;
    StatusFileSystem files;
    std::unique_ptr<TagReader> tags = MakeNullTagReader();
    std::unique_ptr<PictureReader> pictures = MakeNullPictureReader();

    // 0 for UTF-8, else 1252 or 932.
    explicit EngineSetup(int page = 0, std::int64_t now = kChristmasUtc, int offset = kOffset)
        : codePage(page == 0 ? MakeUtf8CodePage() : MakeTableCodePage(page)), clock(MakeFixedClock(now, offset)) {}

    EngineContext Context(char separator = '\\') {
        EngineContext ctx;
        ctx.codePage = codePage.get();
        ctx.clock = clock.get();
        ctx.fileSystem = &files;
        ctx.tags = tags.get();
        ctx.pictures = pictures.get();
        files.separator = separator;
        return ctx;
    }

    std::string Apply(const std::string& path, const std::vector<std::string>& rules, std::int32_t number = 1) {
        return ApplyRules(Context(), path, number, rules);
    }
};

}  // namespace quorv::test
