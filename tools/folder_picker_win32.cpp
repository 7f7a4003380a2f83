#include "tools/folder_picker_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "batch/folder_path.h"
#include "formats/error_log.h"
#include "platform/raii_win32.h"
#include "skin/paint_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

// Wide text as the program's narrow text; false when a character has no
// equivalent there (a path that would name another folder).
bool ToProgramText(const wchar_t* wide, std::string& out) {
    out.clear();
    if (!wide || !*wide) return true;
    const std::wstring_view text(wide);
    std::string narrow = NarrowFromWide(text);
    if (WideFromNarrow(narrow) != text) return false;
    out = std::move(narrow);
    return true;
}

}  // namespace

bool detail::PathOfItem(LPCITEMIDLIST item, std::string& path) {
    path.clear();
    if (!item) return false;
    // An allocated string of its own length.
    PWSTR name = nullptr;
    if (SUCCEEDED(::SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &name)) && name) {
        CoTaskMemPtr<wchar_t> owned(name);
        return ToProgramText(owned.get(), path) && !path.empty();
    }
    // A growing buffer for systems that lack the call above.
    for (DWORD size = MAX_PATH + 1; size <= 32768 + 1; size *= 4) {
        std::vector<wchar_t> buffer(size, L'\0');
        if (::SHGetPathFromIDListEx(item, buffer.data(), size, GPFIDL_DEFAULT)) {
            return ToProgramText(buffer.data(), path) && !path.empty();
        }
    }
    return false;
}

namespace {

// The browser's edit box: the first child window of class "Edit".
HWND FindEditChild(HWND browser) {
    for (HWND child = ::GetWindow(browser, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, static_cast<int>(sizeof name));
        if (::lstrcmpiA(name, "Edit") == 0) return child;
    }
    return nullptr;
}

void SetStatus(HWND browser, const std::string& text) {
    const std::wstring wide = WideFromNarrow(text);
    if (wide.size() <= kPickerPathLimit)
        ::SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// The typed folder as the picker returns it: relative to the selected
// folder when it is not a full path, without trailing separators (except a
// drive's root). Empty when it cannot be made a full path.
std::string TypedFolder(std::string typed, const std::string& selectedPath) {
    if (typed.empty()) return typed;
    if (!IsFullFolderPath('\\', typed)) {
        if (selectedPath.empty() || typed[0] == '\\' || typed[0] == '/') return std::string();
        std::string base = selectedPath;
        if (base.back() != '\\') base += '\\';
        typed = base + typed;
    }
    while (typed.size() > 3 && (typed.back() == '\\' || typed.back() == '/')) typed.pop_back();
    return typed;
}

}  // namespace

namespace detail {

int FolderPickerSession::OnValidateFailed(HWND browser, const std::string& fromMessage) {
    HWND edit = FindEditChild(browser);
    // The box's own text at its real length: the message's copy may be cut short.
    const std::string typed = edit ? WindowText(edit) : fromMessage;
    const std::string folder = TypedFolder(typed, selectedPath_);
    if (WideFromNarrow(typed).size() > kPickerPathLimit || WideFromNarrow(folder).size() > kPickerPathLimit) {
        SetStatus(browser, "The path is too long.");
        return 1;  // keep the browser open
    }
    if (folder.empty()) {
        SetStatus(browser, "Please type the full path of a folder.");
        return 1;
    }
    // The reason goes to the status text (and the error log): the browser
    // stays open without a word otherwise.
    std::string failed;
    if (!CreateFolderPath(folder, &failed)) {
        SetStatus(browser, FolderNotCreatedText(failed.empty() ? folder : failed));
        return 1;
    }
    typedAccepted_ = true;
    current_ = folder;
    return 0;  // let the browser close
}

int FolderPickerSession::OnEvent(HWND browser, UINT event, LPARAM lParam) {
    switch (event) {
    case BFFM_INITIALIZED:
        // The browser copies the path into a buffer of the system's path limit.
        if (!current_.empty()) {
            const std::wstring wide = WideFromNarrow(current_);
            if (wide.size() <= kPickerPathLimit) {
                const LPARAM path = reinterpret_cast<LPARAM>(wide.c_str());
                ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, path);
                // A browser may find the folder by comparing the entries on
                // the way, times included, with the ones it reads while it
                // opens the tree: a folder on the way that changes meanwhile
                // (a file written into it) is not found, and nothing is
                // selected. A second try compares with what the tree has read.
                if (selectedPath_.empty()) ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, path);
            }
        }
        return 0;
    case BFFM_SELCHANGED: {
        std::string show = current_;
        std::string path;
        if (PathOfItem(reinterpret_cast<LPCITEMIDLIST>(lParam), path)) {
            show = path;
            SetStatus(browser, show);
        }
        selectedPath_ = path;
        if (HWND edit = FindEditChild(browser)) SetWindowTextNarrow(edit, show);
        return 0;
    }
    case BFFM_VALIDATEFAILEDA:
        return OnValidateFailed(browser, lParam ? reinterpret_cast<const char*>(lParam) : "");
    case BFFM_VALIDATEFAILEDW: {
        std::string typed;
        ToProgramText(reinterpret_cast<const wchar_t*>(lParam), typed);
        return OnValidateFailed(browser, typed);
    }
    default:
        return 0;
    }
}

bool FolderPickerSession::Finish(LPCITEMIDLIST chosen, std::string& folder) const {
    // A folder typed and created closes the browser: that folder is the
    // choice, whatever the tree had selected.
    if (typedAccepted_) {
        folder = current_;
        return true;
    }
    std::string path;
    if (chosen && PathOfItem(chosen, path)) {
        folder = path;
        return true;
    }
    return false;
}

int CALLBACK FolderPickerSession::Callback(HWND browser, UINT event, LPARAM lParam, LPARAM session) {
    FolderPickerSession* self = reinterpret_cast<FolderPickerSession*>(session);
    if (!self) return 0;
    try {
        return self->OnEvent(browser, event, lParam);
    } catch (...) {
        WriteErrorLog("Unexpected failure in the folder picker (event %u).", event);
        return event == BFFM_VALIDATEFAILEDA || event == BFFM_VALIDATEFAILEDW ? 1 : 0;
    }
}

}  // namespace detail

bool PickFolder(std::string& folder, const std::string& title, HWND owner) {
    detail::FolderPickerSession session(folder);
    ComApartment com;
    // The browser writes the item's display name here (at most the path limit).
    std::vector<wchar_t> displayName(MAX_PATH + 1, L'\0');
    const std::wstring wideTitle = WideFromNarrow(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_VALIDATE;  // 0x35
    info.lpfn = &detail::FolderPickerSession::Callback;
    info.lParam = reinterpret_cast<LPARAM>(&session);
    CoTaskMemPtr<ITEMIDLIST> item(::SHBrowseForFolderW(&info));
    return session.Finish(item.get(), folder);
}

}  // namespace quorv::win
