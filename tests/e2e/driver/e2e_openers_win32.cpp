#include "tests/e2e/driver/e2e_openers_win32.h"

#include <windows.h>

#include "tests/e2e/driver/e2e_window_win32.h"
#include "tests/support/files_win32.h"
#include "tests/win32/shell_test_support.h"

namespace quorv::e2e {
namespace {

const wchar_t kTestKey[] = L"Software\\Quorvane 2\\Test";

// The class the manual's extension names (".chm" itself when it names none).
std::wstring ManualClass() {
    const auto named = test::ReadString(HKEY_CLASSES_ROOT, L".chm", nullptr);
    return named && !named->empty() ? *named : std::wstring(L".chm");
}

}  // namespace

Openers::Openers() : folder_("quorv-e2e-openers", test::SystemDriveRoot()) {
    standIn_ = test::Widen(folder_.path()) + L"\\opener.exe";
    if (!::CopyFileW(test::Widen(test::HostToWindowsPath(QUORV_E2E_OPENER)).c_str(), standIn_.c_str(), FALSE)) return;
    const std::wstring command = L"\"" + standIn_ + L"\" \"%1\"";
    for (const std::wstring& cls : {std::wstring(L"https"), std::wstring(L"http"), ManualClass()})
        Set(cls + L"\\shell\\open\\command", command);
    ok_ = true;
}

Openers::~Openers() {
    // Put back in the reverse order of the changes.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (!it->existed) {
            test::DeleteTree(HKEY_CLASSES_ROOT, it->key);
        } else if (it->hadValue) {
            test::WriteString(HKEY_CLASSES_ROOT, it->key, nullptr, it->value);
        } else {
            HKEY raw = nullptr;
            if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, it->key.c_str(), 0, KEY_SET_VALUE, &raw) == ERROR_SUCCESS) {
                ::RegDeleteValueW(raw, nullptr);
                ::RegCloseKey(raw);
            }
        }
    }
}

void Openers::Set(const std::wstring& key, const std::wstring& command) {
    Saved saved;
    saved.key = key;
    saved.existed = test::KeyExists(HKEY_CLASSES_ROOT, key);
    if (const auto value = test::ReadString(HKEY_CLASSES_ROOT, key, nullptr)) {
        saved.hadValue = true;
        saved.value = *value;
    }
    saved_.push_back(saved);
    test::WriteString(HKEY_CLASSES_ROOT, key, nullptr, command);
}

std::vector<std::string> Openers::Opened() const {
    std::vector<std::string> opened;
    const auto bytes = test::ReadBytes(test::Widen(folder_.path()) + L"\\opened.txt");
    if (!bytes) return opened;
    const std::wstring text = test::FromUtf8(*bytes);
    // Each line: the stand-in's path in quotes, a blank, then the argument.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        const std::size_t close = line.size() > 1 && line[0] == L'"' ? line.find(L'"', 1) : std::wstring::npos;
        std::wstring argument = close == std::wstring::npos ? line : line.substr(close + 1);
        while (!argument.empty() && argument.front() == L' ') argument.erase(argument.begin());
        opened.push_back(test::Narrow(argument));
        start = end + 1;
    }
    return opened;
}

std::vector<std::string> Openers::WaitForOpened(std::size_t count, int timeoutMs) const {
    test::WaitFor([&] { return Opened().size() >= count; }, timeoutMs);
    return Opened();
}

TestUpdateAddress::TestUpdateAddress(const std::string& address) {
    ok_ = test::WriteString(HKEY_CURRENT_USER, kTestKey, L"UpdateAddress", test::Widen(address));
}

TestUpdateAddress::~TestUpdateAddress() { test::DeleteTree(HKEY_CURRENT_USER, kTestKey); }

}  // namespace quorv::e2e
