#pragma once
// A fresh temporary folder for one test, removed with everything in it.
#include <string>

namespace quorv::test {

class TempDir {
public:
    // <stem>-<number> under the system's temporary folder, or under parent
    // when one is given.
    explicit TempDir(const std::string& stem = "quorv-test", const std::string& parent = std::string());
    // Removes it with read-only files too; on Windows also names in any
    // script, paths beyond MAX_PATH, and files a program that has just
    // ended still holds for a moment.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, without a trailing separator.
    const std::string& path() const { return path_; }
    // path() + separator + name.
    std::string Child(const std::string& name) const;
    // Writes a file (creating its folders) and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
#ifdef _WIN32
    // The same in UTF-16, for the wide functions of the system.
    const std::wstring& widePath() const { return widePath_; }
    std::wstring Child(const std::wstring& name) const { return widePath_ + L"\\" + name; }
#endif

private:
    std::string path_;
#ifdef _WIN32
    std::wstring widePath_;
#endif
};

// The platform's path separator as a one-character string.
const char* Sep();

}  // namespace quorv::test
