#pragma once
// The common file dialogs of the main window, in the program's narrow
// text, without any fixed-size buffer: a multiple selection of any length,
// an initial folder of any length, paths beyond 260 characters.
#include <windows.h>

#include <string>
#include <vector>

namespace quorv::win {

// One filter entry: the text shown and the pattern ("Quorvane File (*.qvb)", "*.qvb").
struct FileFilter {
    const char* title = nullptr;  // null: no filter
    const char* pattern = nullptr;
};

// An open dialog with multiple selection and no filter. paths receives the
// chosen files in the order the dialog reports them; dialogPath the dialog's
// path result (the folder when several files were chosen, the file's full
// path when one was). false when the user cancelled.
bool AskOpenFiles(HWND owner, const std::string& initialFolder, std::vector<std::string>& paths,
                  std::string& dialogPath);

// An open dialog for one file (no default extension, no read-only box).
bool AskOpenFile(HWND owner, const FileFilter& filter, const std::string& initialFolder, std::string& path);

// A save-as dialog: the default extension (without dot) is added when the
// typed name has none; overwriting an existing file is asked first.
bool AskSaveFile(HWND owner, const FileFilter& filter, const char* defaultExtension,
                 const std::string& initialFolder, std::string& path);

// The paths of an explorer-style multiple selection result ("folder\0name\0
// name\0\0", or one full path); exposed for tests.
std::vector<std::wstring> SplitMultipleSelection(const std::wstring& buffer, std::wstring& dialogPath);

}  // namespace quorv::win
