// Self-registration of QuorvShell.dll in the real registry: through
// LoadLibrary + GetProcAddress and through regsvr32, every key and value
// checked, then removed again.
#include <windows.h>
#include <oleauto.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/shell_test_support.h"

namespace quorv::test {
namespace {

// The entries the extension owns, written out on their own here (not taken
// from the DLL's table). nullptr: no such value; kModule: the DLL's path.
const wchar_t kModule[] = L"<module path>";
struct Entry {
    const wchar_t* key;
    const wchar_t* defaultValue;
    const wchar_t* valueName;
    const wchar_t* valueData;
    bool kept;
};

#define CLSID_TEXT L"{A288D49F-24DD-4BD7-BA44-9D30987A6CDD}"
#define APPID_TEXT L"{5FD694AE-FE75-4C09-8770-F0FD5BB75CE1}"
#define LIBID_TEXT L"{DE45DF64-03CD-4D0F-9E47-1AF365316D9A}"
#define IID_TEXT L"{B51D1351-B41E-4B3E-B59B-D76815BDA335}"

const Entry kEntries[] = {
    {L"AppID", nullptr, nullptr, nullptr, true},
    {L"AppID\\" APPID_TEXT, L"QuorvShell", nullptr, nullptr, false},
    {L"AppID\\QuorvShell.DLL", nullptr, L"AppID", APPID_TEXT, false},
    {L"QuorvShell.QuorvaneShell.1", L"QuorvaneShell Class", nullptr, nullptr, false},
    {L"QuorvShell.QuorvaneShell.1\\CLSID", CLSID_TEXT, nullptr, nullptr, false},
    {L"QuorvShell.QuorvaneShell", L"QuorvaneShell Class", nullptr, nullptr, false},
    {L"QuorvShell.QuorvaneShell\\CLSID", CLSID_TEXT, nullptr, nullptr, false},
    {L"QuorvShell.QuorvaneShell\\CurVer", L"QuorvShell.QuorvaneShell.1", nullptr, nullptr, false},
    {L"CLSID", nullptr, nullptr, nullptr, true},
    {L"CLSID\\" CLSID_TEXT, L"QuorvaneShell Class", L"AppID", APPID_TEXT, false},
    {L"CLSID\\" CLSID_TEXT L"\\ProgID", L"QuorvShell.QuorvaneShell.1", nullptr, nullptr, false},
    {L"CLSID\\" CLSID_TEXT L"\\VersionIndependentProgID", L"QuorvShell.QuorvaneShell", nullptr, nullptr, false},
    {L"CLSID\\" CLSID_TEXT L"\\Programmable", nullptr, nullptr, nullptr, false},
    {L"CLSID\\" CLSID_TEXT L"\\InprocServer32", kModule, L"ThreadingModel", L"Apartment", false},
    {L"CLSID\\" CLSID_TEXT L"\\TypeLib", LIBID_TEXT, nullptr, nullptr, false},
    {L"*", nullptr, nullptr, nullptr, true},
    {L"*\\shellex", nullptr, nullptr, nullptr, true},
    {L"*\\shellex\\ContextMenuHandlers", nullptr, nullptr, nullptr, true},
    {L"*\\shellex\\ContextMenuHandlers\\Quorvane Shell", CLSID_TEXT, nullptr, nullptr, false},
};

const GUID kLibId = {0xDE45DF64, 0x03CD, 0x4D0F, {0x9E, 0x47, 0x1A, 0xF3, 0x65, 0x31, 0x6D, 0x9A}};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

// The keys of the table directly below key (its expected sub-keys).
std::set<std::wstring> ChildrenInTable(const std::wstring& key) {
    std::set<std::wstring> children;
    for (const Entry& e : kEntries) {
        const std::wstring k = e.key;
        if (k.size() > key.size() + 1 && k.compare(0, key.size(), key) == 0 && k[key.size()] == L'\\' &&
            k.find(L'\\', key.size() + 1) == std::wstring::npos)
            children.insert(k.substr(key.size() + 1));
    }
    return children;
}

std::optional<std::wstring> RegisteredTypeLibPath() {
    BSTR path = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(kLibId, 1, 0, 0, &path))) return std::nullopt;
    std::wstring text(path, SysStringLen(path));
    SysFreeString(path);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

// Every entry present with exactly its values; the extension's own keys
// hold nothing else; the type library registered from the module.
void ExpectRegistered(const std::wstring& modulePath) {
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(Narrow(e.key));
        ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, e.key));
        if (e.kept) continue;
        std::set<std::wstring> names;
        if (e.defaultValue) {
            names.insert(L"");
            const std::optional<std::wstring> value = ReadString(HKEY_CLASSES_ROOT, e.key, nullptr);
            ASSERT_TRUE(value.has_value());
            if (e.defaultValue == kModule)
                EXPECT_EQ(Lower(*value), Lower(modulePath));
            else
                EXPECT_EQ(*value, e.defaultValue);
        }
        if (e.valueName) {
            names.insert(e.valueName);
            EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, e.key, e.valueName).value_or(L"<none>"), e.valueData);
        }
        EXPECT_EQ(ValueNames(HKEY_CLASSES_ROOT, e.key), names);
        EXPECT_EQ(SubkeyNames(HKEY_CLASSES_ROOT, e.key), ChildrenInTable(e.key));
    }
    const std::optional<std::wstring> typeLib = RegisteredTypeLibPath();
    ASSERT_TRUE(typeLib.has_value());
    EXPECT_EQ(Lower(*typeLib), Lower(modulePath));
    win::ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(kLibId, 1, 0, 0, library.put()), S_OK);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" IID_TEXT));
}

void ExpectUnregistered() {
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(Narrow(e.key));
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, e.key), e.kept);
    }
    EXPECT_FALSE(RegisteredTypeLibPath().has_value());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" LIBID_TEXT));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" IID_TEXT));
}

DWORD RunRegsvr32(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\regsvr32.exe";
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0xFFFFFFFF;
    const win::FileHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

class ShellRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll_.loaded());
        // Start from a clean registry whatever an earlier run left.
        ASSERT_EQ(dll_.Unregister(), S_OK);
    }
    void TearDown() override { dll_.Unregister(); }

    std::wstring path_ = BuiltShellDll();
    ShellDll dll_{path_};
};

TEST_F(ShellRegistry, ExportsWriteAndRemoveExactlyTheTable) {
    ExpectUnregistered();
    ASSERT_EQ(dll_.Register(), S_OK);
    ExpectRegistered(path_);

    ASSERT_EQ(dll_.Unregister(), S_OK);
    ExpectUnregistered();
    // Unregistering what is not registered succeeds and changes nothing.
    EXPECT_EQ(dll_.Unregister(), S_OK);
    ExpectUnregistered();
}

TEST_F(ShellRegistry, RegisteringAgainLeavesOneCleanSet) {
    ASSERT_EQ(dll_.Register(), S_OK);
    // Leftovers below the replaced keys go; a neighbour below a kept key stays.
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, L"CLSID\\" CLSID_TEXT L"\\Stray", nullptr, L"old"));
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, L"CLSID\\" CLSID_TEXT L"\\Programmable\\Stray", nullptr, L"old"));
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, L"CLSID\\" CLSID_TEXT, L"Stray", L"old"));
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\Quorvane Shell", L"Stray", L"old"));
    const std::wstring neighbour = L"*\\shellex\\ContextMenuHandlers\\Quorvane test neighbour";
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, neighbour, nullptr, L"{00000000-0000-0000-0000-000000000001}"));

    ASSERT_EQ(dll_.Register(), S_OK);
    ASSERT_EQ(dll_.Register(), S_OK);
    ExpectRegistered(path_);

    ASSERT_EQ(dll_.Unregister(), S_OK);
    ExpectUnregistered();
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, neighbour, nullptr).value_or(L""), L"{00000000-0000-0000-0000-000000000001}");
    DeleteTree(HKEY_CLASSES_ROOT, neighbour);
}

TEST_F(ShellRegistry, RegisteringFromAnotherFolderMovesTheServerPath) {
    TempDir folder("quorv shell reg");
    const std::wstring copy = folder.Child(L"QuorvShell.dll");
    ASSERT_TRUE(CopyTo(path_, copy));
    ASSERT_EQ(dll_.Register(), S_OK);
    {
        ShellDll other(copy);
        ASSERT_TRUE(other.loaded());
        ASSERT_EQ(other.Register(), S_OK);
        ExpectRegistered(copy);
        ASSERT_EQ(other.Unregister(), S_OK);
    }
    ExpectUnregistered();
}

TEST_F(ShellRegistry, Regsvr32RegistersAndUnregisters) {
    ASSERT_EQ(RunRegsvr32(L"/s \"" + path_ + L"\""), 0u);
    ExpectRegistered(path_);
    ASSERT_EQ(RunRegsvr32(L"/u /s \"" + path_ + L"\""), 0u);
    ExpectUnregistered();
}

TEST_F(ShellRegistry, CoCreateInstanceFindsTheRegisteredClass) {
    win::ComApartment apartment;
    ASSERT_TRUE(SUCCEEDED(apartment.result()));
    const CLSID clsid = {0xA288D49F, 0x24DD, 0x4BD7, {0xBA, 0x44, 0x9D, 0x30, 0x98, 0x7A, 0x6C, 0xDD}};
    win::ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()),
              REGDB_E_CLASSNOTREG);

    ASSERT_EQ(dll_.Register(), S_OK);
    CLSID fromProgId{};
    ASSERT_EQ(CLSIDFromProgID(L"QuorvShell.QuorvaneShell", &fromProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(fromProgId, clsid));
    ASSERT_EQ(CLSIDFromProgID(L"QuorvShell.QuorvaneShell.1", &fromProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(fromProgId, clsid));

    win::ComPtr<IContextMenu> menu;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu, menu.put_void()), S_OK);
    win::ComPtr<IShellExtInit> init;
    EXPECT_EQ(menu.As(IID_IShellExtInit, init), S_OK);
    // The object lives in the DLL this test loaded (same path): it is busy.
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    init.reset();
    menu.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);

    // Aggregation is refused through COM as well.
    const win::ComPtr<IDataObject> outer = MakeDataWithoutDrop();
    win::ComPtr<IUnknown> inner;
    EXPECT_EQ(CoCreateInstance(clsid, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, inner.put_void()),
              CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(inner);
}

}  // namespace
}  // namespace quorv::test
