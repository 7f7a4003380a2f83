#pragma once
// Where the media files made by make-media.sh lie: the folder named by the
// environment variable QUORV_MEDIA_DIR (a Linux path; under Wine it is
// reached through drive Z:).
#include <cstdlib>
#include <string>

namespace quorv::test {

inline std::string MediaDir() {
    const char* dir = std::getenv("QUORV_MEDIA_DIR");
    if (dir == nullptr || *dir == '\0') return {};
    std::string path = dir;
#ifdef _WIN32
    if (path[0] == '/') {
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        path = "Z:" + path;
    }
    if (path.back() != '\\') path += '\\';
#else
    if (path.back() != '/') path += '/';
#endif
    return path;
}

// The full path of one media file; empty when the folder is not known.
inline std::string MediaFile(const std::string& name) {
    const std::string dir = MediaDir();
    return dir.empty() ? std::string() : dir + name;
}

}  // namespace quorv::test

// Skips the test when make-media.sh has not run (the test is run by hand
// without the CTest fixture).
#define QUORV_REQUIRE_MEDIA()                                                         \
    do {                                                                              \
        if (::quorv::test::MediaDir().empty()) GTEST_SKIP() << "QUORV_MEDIA_DIR not set"; \
    } while (0)
