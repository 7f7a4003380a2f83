#pragma once
// A fresh temporary folder for one test, removed with everything in it.
#include <string>

namespace quorv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, without a trailing separator.
    const std::string& path() const { return path_; }
    // path() + separator + name.
    std::string Child(const std::string& name) const;
    // Writes a file (creating its folders) and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

// The platform's path separator as a one-character string.
const char* Sep();

}  // namespace quorv::test
