#pragma once
// The registry of the Windows tests (UTF-16 names), and the installed
// arrangement a test may set up: the install-folder value, and the user's
// data folder that value brings into play (the installed copy keeps its
// user's files in "%LOCALAPPDATA%\Quorvane 2").
#include <windows.h>

#include <optional>
#include <set>
#include <string>

#include "tests/support/files_win32.h"

namespace quorv::test {

bool KeyExists(HKEY root, const std::wstring& key);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const wchar_t* name);
std::set<std::wstring> ValueNames(HKEY root, const std::wstring& key);
std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& key);
bool WriteString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& data);
bool DeleteTree(HKEY root, const std::wstring& key);

// The user's local application data (as the system names it) and the
// installed copy's folder for its user's files below it; no trailing
// backslash. Empty when the system does not say.
std::wstring LocalAppData();
std::wstring UserDataFolder();

// The install folder value, HKEY_LOCAL_MACHINE "SOFTWARE\\Quorvane 2"
// default value: set or removed for one test, put back as it was after.
// The user's data folder is set aside for the same time, so a test starts
// without the files of earlier runs and leaves none behind.
class InstallFolderValue {
public:
    InstallFolderValue();
    ~InstallFolderValue();
    InstallFolderValue(const InstallFolderValue&) = delete;
    InstallFolderValue& operator=(const InstallFolderValue&) = delete;
    void Set(const std::wstring& folder);
    void Remove();

private:
    bool keyExisted_ = false;
    std::optional<std::wstring> old_;
    SetAside userFolder_{UserDataFolder()};
};

}  // namespace quorv::test
