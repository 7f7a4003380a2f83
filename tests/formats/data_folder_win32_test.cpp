// The data folder as the running system decides it (under Wine): the
// registry's install folder, the user's local application data from the
// system, the user's folder made, and the error log when it cannot be.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "formats/data_folder.h"
#include "formats/error_log.h"
#include "system/system_access.h"
#include "tests/support/files_win32.h"
#include "tests/support/registry_win32.h"

namespace quorv {
namespace {

using test::InstallFolderValue;

// The program folder (this test's) without its trailing backslash, as the
// setup stores the install folder.
std::wstring ProgramFolderAsStored() {
    std::wstring folder = test::Widen(GetProgramFolder());
    folder.pop_back();
    return folder;
}

std::string UserFolder() { return test::Narrow(test::UserDataFolder()) + "\\"; }

TEST(SystemDataFolder, ACopyElsewhereKeepsItsProgramFolder) {
    InstallFolderValue install;
    install.Remove();
    DataFolderChoice<char> choice = FindDataFolder();
    EXPECT_EQ(choice.kind, DataFolderKind::Program);
    EXPECT_EQ(choice.folder, GetProgramFolder());
    // An install folder elsewhere changes nothing for this copy.
    install.Set(L"C:\\Program Files\\Quorvane 2");
    choice = FindDataFolder();
    EXPECT_EQ(choice.kind, DataFolderKind::Program);
    EXPECT_EQ(choice.folder, GetProgramFolder());
    EXPECT_FALSE(test::Exists(test::UserDataFolder()));  // nothing was made for it
}

TEST(SystemDataFolder, TheInstalledCopyMakesTheUsersFolder) {
    InstallFolderValue install;
    ASSERT_FALSE(test::LocalAppData().empty());
    EXPECT_EQ(LocalAppDataFolder(), test::Narrow(test::LocalAppData()));
    ASSERT_FALSE(test::Exists(test::UserDataFolder()));
    install.Set(ProgramFolderAsStored());
    const DataFolderChoice<char> choice = FindDataFolder();
    EXPECT_EQ(choice.kind, DataFolderKind::User);
    EXPECT_EQ(choice.folder, UserFolder());
    EXPECT_TRUE(test::IsFolder(test::UserDataFolder()));
    // Asked again, the folder is there already.
    EXPECT_EQ(FindDataFolder().folder, UserFolder());
}

TEST(SystemDataFolder, AUsersFolderThatCannotBeMadeIsLogged) {
    InstallFolderValue install;
    install.Set(ProgramFolderAsStored());
    ASSERT_TRUE(test::WriteBytes(test::UserDataFolder(), "a file where the folder should be"));
    const std::string log = GetProgramFolder() + kErrorLogName;

    const DataFolderChoice<char> choice = FindDataFolder();
    EXPECT_EQ(choice.kind, DataFolderKind::ProgramAfterFailure);
    EXPECT_EQ(choice.folder, GetProgramFolder());
    EXPECT_EQ(choice.userFolder, UserFolder());
    // One line in the log of the folder taken instead.
    const std::string after = test::ReadBytes(test::Widen(log)).value_or("");
    const std::string line = DataFolderFailureMessage(UserFolder()) + "\r\n";
    ASSERT_GE(after.size(), line.size());
    EXPECT_EQ(after.substr(after.size() - line.size()), line);
}

}  // namespace
}  // namespace quorv
