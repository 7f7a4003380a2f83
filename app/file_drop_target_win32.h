#pragma once
// The main window as a drop target for files and folders dragged from the
// file manager: OLE drag and drop of file-drop data (CF_HDROP), which the
// file manager offers to every window that registered a target, in its own
// process or in another. The target only reads the paths and hands them on:
// the window does the work after the drag has ended (a long folder scan
// would keep the file manager waiting inside the drop otherwise).
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/raii_win32.h"

namespace quorv::win {

// The paths of file-drop data in the program's narrow text, each of any
// length (its length is asked before it is read) and any script; a path
// the program's code page cannot hold is left out. Empty when the data
// holds no file-drop data.
std::vector<std::string> DroppedPaths(IDataObject* data);
std::vector<std::string> DroppedPaths(HDROP drop);

class FileDropTarget final : public IDropTarget {
public:
    // Whether a drop is welcome now (not during a run, not while a dialog
    // of the window is open).
    using Welcome = std::function<bool()>;
    // The paths of a drop, once it happened.
    using Dropped = std::function<void(std::vector<std::string> paths)>;

    // Registers a new target for the window; the registration ends with
    // Revoke() or the object's last reference. Null when the window cannot
    // take drops (OLE not initialised on this thread).
    static ComPtr<FileDropTarget> Register(HWND window, Welcome welcome, Dropped dropped);
    void Revoke();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    FileDropTarget(Welcome welcome, Dropped dropped);
    ~FileDropTarget() = default;
    DWORD Effect() const;

    LONG references_ = 1;
    HWND window_ = nullptr;
    Welcome welcome_;
    Dropped dropped_;
    bool files_ = false;  // the data being dragged holds file-drop data
};

}  // namespace quorv::win
