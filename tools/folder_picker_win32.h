#pragma once
// The program's one folder picker: the system's folder browser with an edit
// box in which the user may also type a path; a typed folder that does not
// exist yet is created (CreateFolderPath) and returned.
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <utility>

namespace quorv::win {

// The longest path (in UTF-16 units, without the terminator) the picker accepts:
// the system's path limit. A longer typed path keeps the browser open.
inline constexpr std::size_t kPickerPathLimit = MAX_PATH - 1;

// Opens the browser at `folder`, titled `title`, owned by `owner` (may be
// null). true when a folder was chosen: folder is then the chosen path
// (no trailing backslash, as the shell gives it). false when the user
// cancelled: folder is left as it was.
bool PickFolder(std::string& folder, const std::string& title, HWND owner);

namespace detail {

// One open picker: its current folder, the selection's path and whether a
// typed folder was created and accepted. The browser's callback hands
// every event to OnEvent; Finish turns the browser's answer into the result.
class FolderPickerSession {
public:
    explicit FolderPickerSession(std::string startFolder) : current_(std::move(startFolder)) {}

    // The callback's answer to one browser event (BFFM_*), for the browser window.
    int OnEvent(HWND browser, UINT event, LPARAM lParam);
    // The chosen folder from the item the browser returned (may be null):
    // a typed folder that was created wins, else the item's path. false: cancelled.
    bool Finish(LPCITEMIDLIST chosen, std::string& folder) const;

    const std::string& current() const { return current_; }
    bool typedAccepted() const { return typedAccepted_; }

    static int CALLBACK Callback(HWND browser, UINT event, LPARAM lParam, LPARAM session);

private:
    int OnValidateFailed(HWND browser, const std::string& fromMessage);

    std::string current_;
    std::string selectedPath_;
    bool typedAccepted_ = false;
};

// The file-system path of a shell item in the program's code page, of any
// length; false for items without one and for paths the code page cannot hold.
bool PathOfItem(LPCITEMIDLIST item, std::string& path);

}  // namespace detail

}  // namespace quorv::win
