// Registry reading under Windows (and Wine) on keys the test writes itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/system_helpers.h"
#include "system/system_access.h"

namespace quorv {
namespace {

// A key of its own under a root, removed with its values at the end.
class TestKey {
public:
    TestKey(HKEY root, std::string subKey) : root_(root), subKey_(std::move(subKey)) {
        ok_ = RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                              nullptr) == ERROR_SUCCESS;
    }
    ~TestKey() {
        if (key_) RegCloseKey(key_);
        if (ok_) RegDeleteKeyA(root_, subKey_.c_str());
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    bool ok() const { return ok_; }
    bool Set(const char* name, DWORD type, const std::string& bytes) {
        return RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

private:
    HKEY root_;
    std::string subKey_;
    HKEY key_ = nullptr;
    bool ok_ = false;
};

std::string UniqueName(const char* stem) {
    return std::string(stem) + " " + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
}

TEST(Registry, ReadsValuesOfEveryKind) {
    const std::string sub = "Software\\" + UniqueName("Quorvane test");
    TestKey key(HKEY_CURRENT_USER, sub);
    ASSERT_TRUE(key.ok());
    ASSERT_TRUE(key.Set("", REG_SZ, std::string("C:\\Program Files\\Q", 19) + '\0'));
    ASSERT_TRUE(key.Set("cut", REG_SZ, std::string("abc\0def\0", 8)));
    ASSERT_TRUE(key.Set("bin", REG_BINARY, std::string("\x00\x01\xFF\x00", 4)));
    ASSERT_TRUE(key.Set("num", REG_DWORD, std::string("\x2A\x00\x00\x00", 4)));
    const std::string big(100000, 'b');
    ASSERT_TRUE(key.Set("big", REG_SZ, big + '\0'));

    const std::string path = "HKEY_CURRENT_USER\\" + sub;
    std::string data;
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(RegReadValue(path, "", data, type, size), 0);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, "C:\\Program Files\\Q");
    EXPECT_EQ(size, 20u);

    EXPECT_EQ(RegReadValue(path, "cut", data, type, size), 0);
    EXPECT_EQ(data, "abc");  // cut at the first zero byte
    EXPECT_EQ(size, 8u);

    EXPECT_EQ(RegReadValue(path, "bin", data, type, size), 0);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(data, std::string("\x00\x01\xFF\x00", 4));  // bytes are kept whole

    EXPECT_EQ(RegReadValue(path, "num", data, type, size), 0);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(data, std::string("\x2A\x00\x00\x00", 4));

    EXPECT_EQ(RegReadValue(path, "big", data, type, size), 0);
    EXPECT_EQ(data, big);

    data = "old";
    EXPECT_EQ(RegReadValue(path, "missing", data, type, size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(data, "");
    EXPECT_EQ(RegReadValue(path + "\\missing", "", data, type, size), ERROR_FILE_NOT_FOUND);
    // The same key with the root in lower case is not recognised.
    EXPECT_EQ(RegReadValue("hkey_current_user\\" + sub, "", data, type, size), -1);
}

TEST(Registry, InstallFolderGetsABackslash) {
    const std::string name = UniqueName("Quorvane test install");
    {
        TestKey key(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + name);
        if (!key.ok()) GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
        ASSERT_TRUE(key.Set("", REG_SZ, std::string("D:\\Apps\\Quorvane") + '\0'));
        EXPECT_EQ(GetInstallFolder(name), "D:\\Apps\\Quorvane\\");
        ASSERT_TRUE(key.Set("", REG_SZ, std::string(1, '\0')));
        EXPECT_EQ(GetInstallFolder(name), "");
    }
    EXPECT_EQ(GetInstallFolder(name), "");  // key gone
}

}  // namespace
}  // namespace quorv
