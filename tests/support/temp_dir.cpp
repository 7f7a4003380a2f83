#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include "tests/support/files_win32.h"
#endif

namespace fs = std::filesystem;

namespace quorv::test {

const char* Sep() {
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
}

TempDir::TempDir(const std::string& stem, const std::string& parent) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path base = parent.empty() ? fs::temp_directory_path() : fs::path(parent);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / (stem + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            while (!path_.empty() && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
#ifdef _WIN32
            widePath_ = fs::path(path_).wstring();
#endif
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
#ifdef _WIN32
    RemoveTree(widePath_);
#else
    std::error_code ec;
    // Read-only files left by a test must not keep the folder alive.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
#endif
}

std::string TempDir::Child(const std::string& name) const { return path_ + Sep() + name; }

std::string TempDir::WriteFile(const std::string& name, const std::string& bytes) const {
    const std::string full = Child(name);
    std::error_code ec;
    fs::create_directories(fs::path(full).parent_path(), ec);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

}  // namespace quorv::test
