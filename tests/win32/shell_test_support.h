#pragma once
// Helpers for the tests of the context-menu extension under Wine: the
// extension DLL loaded by path, file-drop data for Initialize, the
// registry, the install-folder value, and the records of the Quorv2.exe
// stand-in. Files and temporary folders (paths beyond MAX_PATH included)
// come from the test support library.
#include <windows.h>
#include <objidl.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "tests/support/files_win32.h"
#include "tests/support/temp_dir.h"

namespace quorv::test {

// The folder of the test executable (no trailing backslash). The build puts
// QuorvShell.dll, the stand-in and the one-export DLL beside it.
std::wstring TestFolder();
std::wstring BuiltShellDll();
std::wstring StandInProgram();
std::wstring UnregisterOnlyDll();

bool CopyTo(const std::wstring& from, const std::wstring& to);

// The extension DLL loaded by its full path, and its four exports.
class ShellDll {
public:
    explicit ShellDll(const std::wstring& path);
    bool loaded() const { return static_cast<bool>(module_); }
    HMODULE module() const { return module_.get(); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out) const;
    HRESULT CanUnloadNow() const;
    HRESULT Register() const;
    HRESULT Unregister() const;
    // A new QuorvaneShell object from the DLL's class factory.
    template <class T>
    win::ComPtr<T> Create(REFIID riid) const {
        win::ComPtr<T> object;
        CreateRaw(riid, object.put_void());
        return object;
    }

private:
    HRESULT CreateRaw(REFIID riid, void** out) const;
    FARPROC Export(const char* name) const;
    win::ModuleHandle module_;
};

// File-drop data (CF_HDROP) for the paths, with UTF-16 or ANSI names; or a
// data object that has no file-drop data at all.
win::ComPtr<IDataObject> MakeDropData(const std::vector<std::wstring>& paths, bool wide = true);
win::ComPtr<IDataObject> MakeDataWithoutDrop();

// Registry helpers (UTF-16 names).
bool KeyExists(HKEY root, const std::wstring& key);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const wchar_t* name);
std::set<std::wstring> ValueNames(HKEY root, const std::wstring& key);
std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& key);
bool WriteString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& data);
bool DeleteTree(HKEY root, const std::wstring& key);

// The install folder value, HKEY_LOCAL_MACHINE "SOFTWARE\\Quorvane 2"
// default value: set or removed for one test, put back as it was after.
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
};

// One run of the stand-in program.
struct StandInRun {
    std::string module;       // its full path (UTF-8)
    std::string commandLine;  // its command line (UTF-8)
    std::string handoff;      // the handoff file beside it at its start ("<none>" when absent)
};
// The runs recorded in a folder so far.
std::vector<StandInRun> StandInRuns(const std::wstring& folder);
// Waits (up to ten seconds) until count runs are recorded in the folder.
std::vector<StandInRun> WaitForStandInRuns(const std::wstring& folder, std::size_t count);

// Counts the processes this test process starts (it runs in a job object of
// its own): the count grows the moment a process is created.
class ChildProcesses {
public:
    ChildProcesses();
    bool ok() const { return ok_; }
    // Processes started since the object was made.
    unsigned long Started() const;
    // Waits (up to ten seconds) until every started process has ended.
    void WaitForAll() const;

private:
    unsigned long TotalInJob() const;
    unsigned long ActiveInJob() const;
    win::FileHandle job_;
    bool ok_ = false;
    unsigned long base_ = 0;
};

}  // namespace quorv::test
