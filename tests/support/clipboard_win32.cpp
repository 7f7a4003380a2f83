#include "tests/support/clipboard_win32.h"

#include <windows.h>

#include <cstring>

namespace quorv::test {
namespace {

// The clipboard opened for this thread while in scope (another program may
// hold it for a moment: tried again for a while).
class OpenClipboardScope {
public:
    OpenClipboardScope() {
        for (int tries = 0; tries < 50 && !open_; ++tries) {
            open_ = ::OpenClipboard(nullptr) != FALSE;
            if (!open_) ::Sleep(20);
        }
    }
    ~OpenClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

}  // namespace

bool SetClipboardText(const std::wstring& text) {
    const OpenClipboardScope clipboard;
    if (!clipboard.open() || !::EmptyClipboard()) return false;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    void* at = ::GlobalLock(memory);
    if (!at) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(at, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_UNICODETEXT, memory)) {
        ::GlobalFree(memory);
        return false;
    }
    return true;  // the clipboard owns the memory now
}

std::optional<std::wstring> ClipboardText() {
    const OpenClipboardScope clipboard;
    if (!clipboard.open()) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!text) return std::nullopt;
    std::wstring copy(text);
    ::GlobalUnlock(data);
    return copy;
}

}  // namespace quorv::test
