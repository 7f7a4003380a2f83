#include "app/file_drop_target_win32.h"

#include <shellapi.h>

#include <utility>

#include "system/system_access.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

FORMATETC FileDropFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    if (!drop) return paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
        const UINT got = ::DragQueryFileW(drop, i, &path[0], length + 1);
        path.resize(got <= length ? got : length);
        // A character the program's code page lacks would name another file.
        std::string narrow = NarrowFromWide(path);
        if (!narrow.empty() && WideFromNarrow(narrow) == path) paths.push_back(std::move(narrow));
    }
    return paths;
}

std::vector<std::string> DroppedPaths(IDataObject* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    FORMATETC format = FileDropFormat();
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return paths;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (const auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {
            paths = DroppedPaths(drop);
            ::GlobalUnlock(medium.hGlobal);
        }
    }
    ::ReleaseStgMedium(&medium);
    return paths;
}

FileDropTarget::FileDropTarget(Welcome welcome, Dropped dropped)
    : welcome_(std::move(welcome)), dropped_(std::move(dropped)) {}

ComPtr<FileDropTarget> FileDropTarget::Register(HWND window, Welcome welcome, Dropped dropped) {
    ComPtr<FileDropTarget> target(new (std::nothrow) FileDropTarget(std::move(welcome), std::move(dropped)));
    if (!target) return target;
    if (FAILED(::RegisterDragDrop(window, target.get()))) return ComPtr<FileDropTarget>();
    target->window_ = window;
    return target;
}

void FileDropTarget::Revoke() {
    if (window_) ::RevokeDragDrop(window_);
    window_ = nullptr;
}

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG FileDropTarget::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD FileDropTarget::Effect() const {
    bool welcome = false;
    try {
        welcome = files_ && welcome_ && welcome_();
    } catch (...) {
        welcome = false;
    }
    return welcome ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    FORMATETC format = FileDropFormat();
    files_ = data && data->QueryGetData(&format) == S_OK;
    *effect &= Effect();
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect &= Effect();
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    files_ = false;
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    FORMATETC format = FileDropFormat();
    files_ = data && data->QueryGetData(&format) == S_OK;
    *effect &= Effect();
    files_ = false;
    if (*effect == DROPEFFECT_NONE) return S_OK;
    try {
        std::vector<std::string> paths = DroppedPaths(data);
        if (paths.empty()) {
            *effect = DROPEFFECT_NONE;
        } else if (dropped_) {
            dropped_(std::move(paths));
        }
    } catch (...) {
        WriteErrorLog("Unexpected failure while taking dropped files.");
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

}  // namespace quorv::win
