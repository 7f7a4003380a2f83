#pragma once
// Services for tests: a chosen code page and file system, a clock standing
// at a fixed time (UTC), and readers that find no tags and no pictures.
#include <cstdint>
#include <memory>

#include "platform/services.h"

namespace quorv::test {

class TestServices {
public:
    TestServices(const CodePage& codePage, FileSystem& fileSystem, std::int64_t now = 0)
        : clock_(MakeFixedClock(now)),
          tags_(MakeNullTagReader()),
          pictures_(MakeNullPictureReader()),
          services_(codePage, *clock_, fileSystem, *tags_, *pictures_) {}
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    const Services& get() const { return services_; }
    operator const Services&() const { return services_; }

private:
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<TagReader> tags_;
    std::unique_ptr<PictureReader> pictures_;
    Services services_;
};

}  // namespace quorv::test
