#include "app/file_dialogs_win32.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>

#include "system/text_win32.h"

namespace quorv::win {
namespace {

// The dialog's selection buffer starts at this many characters and grows
// while the user selects and when OK is pressed on typed names (and, should
// the dialog still find it too small, the dialog is shown again with a
// larger one).
constexpr std::size_t kFirstBuffer = 65536;
constexpr std::size_t kLargestBuffer = std::size_t{1} << 26;

// The filter string of one entry: "title\0pattern\0\0".
std::wstring FilterText(const FileFilter& filter) {
    if (!filter.title) return std::wstring();
    std::wstring out = WideFromNarrow(filter.title);
    out.push_back(L'\0');
    out += WideFromNarrow(filter.pattern);
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

struct Growth {
    std::wstring* buffer = nullptr;
    OPENFILENAMEW* dialog = nullptr;  // the structure the open dialog works from
};

// Makes the selection buffer large enough for what the dialog `parent`
// holds now: its folder and the names chosen or typed (each name at most
// the whole spec), with their terminators. The dialog reads lpstrFile and
// nMaxFile again when it ends.
void GrowFor(HWND parent, Growth& growth) {
    if (!growth.buffer || !growth.dialog) return;
    const LRESULT spec = ::SendMessageW(parent, CDM_GETSPEC, 0, 0);
    const LRESULT folder = ::SendMessageW(parent, CDM_GETFOLDERPATH, 0, 0);
    if (spec < 0 || folder < 0) return;
    const std::size_t needed = static_cast<std::size_t>(spec) * 2 + static_cast<std::size_t>(folder) + 16;
    if (needed > growth.buffer->size() && needed < kLargestBuffer) {
        growth.buffer->assign(needed * 2, L'\0');
        growth.dialog->lpstrFile = &(*growth.buffer)[0];
        growth.dialog->nMaxFile = static_cast<DWORD>(growth.buffer->size());
    }
}

constexpr UINT_PTR kOkWatchId = 0x5146;  // "QF"

// Watches the dialog's OK command: names typed into the name box change no
// selection, and the box may hold more than the buffer did.
LRESULT CALLBACK OkWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && data)
        GrowFor(window, *reinterpret_cast<Growth*>(data));
    else if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(window, &OkWatch, id);
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// While the user selects, the selection buffer grows to hold the whole
// selection; and before the dialog takes OK, it grows for what is typed.
UINT_PTR CALLBACK GrowingHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || lParam == 0) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (!notify->lpOFN) return 0;
    auto* growth = reinterpret_cast<Growth*>(notify->lpOFN->lCustData);
    if (!growth) return 0;
    growth->dialog = notify->lpOFN;
    const HWND parent = ::GetParent(dialog);
    if (notify->hdr.code == CDN_INITDONE)
        ::SetWindowSubclass(parent, &OkWatch, kOkWatchId, reinterpret_cast<DWORD_PTR>(growth));
    else if (notify->hdr.code == CDN_SELCHANGE)
        GrowFor(parent, *growth);
    return 0;
}

OPENFILENAMEW BaseDialog(HWND owner, const std::wstring& filter, const std::wstring& folder, std::wstring& buffer) {
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = &buffer[0];
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return ofn;
}

std::wstring UpToZero(const std::wstring& buffer) { return std::wstring(buffer.c_str()); }

}  // namespace

std::vector<std::wstring> SplitMultipleSelection(const std::wstring& buffer, std::wstring& dialogPath) {
    std::vector<std::wstring> out;
    std::vector<std::wstring> parts;
    std::size_t at = 0;
    while (at < buffer.size() && buffer[at] != L'\0') {
        const std::size_t end = buffer.find(L'\0', at);
        parts.push_back(buffer.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
        if (end == std::wstring::npos) break;
        at = end + 1;
    }
    if (parts.empty()) return out;
    dialogPath = parts[0];
    if (parts.size() == 1) {
        out.push_back(parts[0]);
        return out;
    }
    std::wstring folder = parts[0];
    if (!folder.empty() && folder.back() != L'\\') folder.push_back(L'\\');
    for (std::size_t i = 1; i < parts.size(); ++i) out.push_back(folder + parts[i]);
    return out;
}

bool AskOpenFiles(HWND owner, const std::string& initialFolder, std::vector<std::string>& paths,
                  std::string& dialogPath) {
    const std::wstring folder = WideFromNarrow(initialFolder);
    for (std::size_t size = kFirstBuffer; size <= kLargestBuffer; size *= 4) {
        std::wstring buffer(size, L'\0');
        Growth growth{&buffer};
        OPENFILENAMEW ofn = BaseDialog(owner, std::wstring(), folder, buffer);
        ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_ENABLESIZING;
        ofn.lpfnHook = &GrowingHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(&growth);
        if (::GetOpenFileNameW(&ofn)) {
            // The hook may have replaced the buffer: read what the dialog wrote.
            const std::wstring result(ofn.lpstrFile, ofn.nMaxFile);
            std::wstring chosen;
            paths.clear();
            for (const std::wstring& p : SplitMultipleSelection(result, chosen)) paths.push_back(NarrowFromWide(p));
            dialogPath = NarrowFromWide(chosen);
            return !paths.empty();
        }
        // Too small after all: ask again with more room (never drop the selection silently).
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return false;
    }
    return false;
}

bool AskOpenFile(HWND owner, const FileFilter& filter, const std::string& initialFolder, std::string& path) {
    const std::wstring filterText = FilterText(filter);
    const std::wstring folder = WideFromNarrow(initialFolder);
    for (std::size_t size = 4096; size <= kLargestBuffer; size *= 8) {
        std::wstring buffer(size, L'\0');
        OPENFILENAMEW ofn = BaseDialog(owner, filterText, folder, buffer);
        ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
        if (::GetOpenFileNameW(&ofn)) {
            path = NarrowFromWide(UpToZero(buffer));
            return true;
        }
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return false;
    }
    return false;
}

bool AskSaveFile(HWND owner, const FileFilter& filter, const char* defaultExtension,
                 const std::string& initialFolder, std::string& path) {
    const std::wstring filterText = FilterText(filter);
    const std::wstring folder = WideFromNarrow(initialFolder);
    const std::wstring extension = defaultExtension ? WideFromNarrow(defaultExtension) : std::wstring();
    for (std::size_t size = 4096; size <= kLargestBuffer; size *= 8) {
        std::wstring buffer(size, L'\0');
        OPENFILENAMEW ofn = BaseDialog(owner, filterText, folder, buffer);
        ofn.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        if (::GetSaveFileNameW(&ofn)) {
            path = NarrowFromWide(UpToZero(buffer));
            return true;
        }
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return false;
    }
    return false;
}

}  // namespace quorv::win
