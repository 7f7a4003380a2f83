// The main program's side of registration through the real DLL, copied into
// a temporary program folder: the registry it leaves, the messages and the
// "ShellMenu" box's state.
#include "app/shell_registration_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/shell_test_support.h"

namespace quorv::test {
namespace {

using Messages = std::vector<std::string>;

const std::wstring kServerKey = L"CLSID\\{A288D49F-24DD-4BD7-BA44-9D30987A6CDD}\\InprocServer32";
const std::wstring kHandlerKey = L"*\\shellex\\ContextMenuHandlers\\Quorvane Shell";

class MainProgramRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        // Whatever an earlier run left registered goes first.
        ShellDll built(BuiltShellDll());
        ASSERT_TRUE(built.loaded());
        ASSERT_EQ(built.Unregister(), S_OK);
    }
    void TearDown() override { ShellDll(BuiltShellDll()).Unregister(); }

    std::string Folder() const { return Narrow(folder_.widePath()) + "\\"; }
    std::string DllPath() const { return Folder() + "QuorvShell.dll"; }
    void PutDll() const { ASSERT_TRUE(CopyTo(BuiltShellDll(), folder_.Child(L"QuorvShell.dll"))); }

    TempDir folder_{"quorv program"};
    Win32ShellServerLoader loader_;
};

TEST_F(MainProgramRegistration, CheckingAndClearingTheBoxRegistersAndUnregisters) {
    PutDll();
    const ShellRegistrationResult registered = RegisterShellExtension(loader_, Folder());
    EXPECT_TRUE(registered.succeeded);
    EXPECT_EQ(registered.messages, Messages{});
    EXPECT_EQ(Narrow(ReadString(HKEY_CLASSES_ROOT, kServerKey, nullptr).value_or(L"")), DllPath());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));

    ShellMenuBoxOutcome cleared = OnShellMenuBoxClicked(loader_, Folder(), false);
    EXPECT_FALSE(cleared.checked);
    EXPECT_EQ(cleared.messages, Messages{});
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kServerKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));

    ShellMenuBoxOutcome checked = OnShellMenuBoxClicked(loader_, Folder(), true);
    EXPECT_TRUE(checked.checked);
    EXPECT_EQ(checked.messages, Messages{});
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));

    // The DLL was unloaded each time: the folder can be emptied.
    EXPECT_EQ(GetModuleHandleW(folder_.Child(L"QuorvShell.dll").c_str()), nullptr);
}

TEST_F(MainProgramRegistration, AMissingDllIsReportedAndTheBoxTellsTheTruth) {
    const Messages unableToLoad = {"Unable to load " + DllPath() + ", Error ID:126"};

    const ShellRegistrationResult atStart = RegisterShellExtension(loader_, Folder());
    EXPECT_FALSE(atStart.succeeded);
    EXPECT_EQ(atStart.messages, unableToLoad);

    const ShellMenuBoxOutcome checking = OnShellMenuBoxClicked(loader_, Folder(), true);
    EXPECT_EQ(checking.messages, unableToLoad);
    EXPECT_FALSE(checking.checked);  // no menu entry exists

    const ShellMenuBoxOutcome clearing = OnShellMenuBoxClicked(loader_, Folder(), false);
    EXPECT_EQ(clearing.messages, unableToLoad);
    EXPECT_TRUE(clearing.checked);  // set back: nothing was unregistered
}

TEST_F(MainProgramRegistration, ADllInUseIsNotUnregistered) {
    PutDll();
    ASSERT_TRUE(RegisterShellExtension(loader_, Folder()).succeeded);
    {
        // An object of the same DLL is alive in this process.
        ShellDll same(folder_.Child(L"QuorvShell.dll"));
        win::ComPtr<IUnknown> object = same.Create<IUnknown>(IID_IUnknown);
        ASSERT_TRUE(object);
        const ShellMenuBoxOutcome clearing = OnShellMenuBoxClicked(loader_, Folder(), false);
        EXPECT_EQ(clearing.messages, Messages{"Please close the opened \"Windows Explorer\" first."});
        EXPECT_TRUE(clearing.checked);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    }
    EXPECT_TRUE(UnregisterShellExtension(loader_, Folder()).succeeded);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
}

TEST_F(MainProgramRegistration, MissingExportsAreReported) {
    // A DLL in its place that exports only DllUnregisterServer.
    ASSERT_TRUE(CopyTo(UnregisterOnlyDll(), folder_.Child(L"QuorvShell.dll")));
    const ShellMenuBoxOutcome checking = OnShellMenuBoxClicked(loader_, Folder(), true);
    EXPECT_EQ(checking.messages, Messages{"Dll register error!"});
    EXPECT_FALSE(checking.checked);

    // No DllCanUnloadNow: reported, and unregistration still goes on.
    const ShellMenuBoxOutcome clearing = OnShellMenuBoxClicked(loader_, Folder(), false);
    EXPECT_EQ(clearing.messages, Messages{"UnLoad entry point get error!"});
    EXPECT_FALSE(clearing.checked);
}

}  // namespace
}  // namespace quorv::test
