#pragma once
// A file system with nothing in it: every operation fails. The fuzzers,
// benchmarks and engine tests derive from it and answer only the calls they
// need (usually the file status for date and time rules).
#include "platform/filesystem.h"

namespace quorv {

class NoFileSystem : public FileSystem {
public:
    explicit NoFileSystem(char separator = '\\') : separator_(separator) {}
    char Separator() const override { return separator_; }
    bool NamesIgnoreCase() const override { return separator_ == '\\'; }
    bool FindEntries(const std::string&, const std::function<bool(const DirEntry&)>&) override { return false; }
    bool ListNames(const std::string&, const std::function<bool(std::string_view)>&) override { return false; }
    bool Exists(const std::string&) override { return false; }
    bool GetStatus(const std::string&, FileStatus&) override { return false; }
    bool SetAttributes(const std::string&, std::uint32_t, const FileTimes*) override { return false; }
    bool Move(const std::string&, const std::string&) override { return false; }
    bool Copy(const std::string&, const std::string&, bool) override { return false; }
    bool Delete(const std::string&) override { return false; }
    bool CreateFolder(const std::string&) override { return false; }
    IoResult ReadFile(const std::string&, std::string&) override { return IoResult::NotFound; }
    IoResult WriteFile(const std::string&, const std::string&) override { return IoResult::Failed; }
    IoResult AppendFile(const std::string&, const std::string&) override { return IoResult::Failed; }

private:
    char separator_;
};

}  // namespace quorv
