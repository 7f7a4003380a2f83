// The context-menu handler object. Every method catches whatever goes wrong
// inside it: no exception leaves a COM method, and the file manager sees
// success from Initialize and InvokeCommand in every case.
#include "shell/quorvane_shell_win32.h"

#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <new>

#include "shell/shell_command_win32.h"
#include "shell/shell_ids_win32.h"

namespace quorv::shell {

namespace {

// The one command's offset from the first identifier the host offers.
constexpr UINT kCommandOffset = 0;

// Copies ASCII text into a caller's buffer of size characters (narrow or
// UTF-16), cut to fit and always terminated. size is at least 1.
template <class Char>
void CopyCut(const char* text, Char* buffer, std::size_t size) {
    const std::size_t length = std::strlen(text);
    const std::size_t n = length < size - 1 ? length : size - 1;
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<Char>(static_cast<unsigned char>(text[i]));
    buffer[n] = Char(0);
}

// Owns a storage medium handed out by IDataObject::GetData.
class StorageMedium {
public:
    StorageMedium() noexcept = default;
    ~StorageMedium() {
        if (taken_) ReleaseStgMedium(&medium_);
    }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    // Asks the data object for the format; the medium is owned only when
    // the request succeeded.
    HRESULT Fetch(IDataObject* data, FORMATETC* format) {
        const HRESULT hr = data->GetData(format, &medium_);
        taken_ = SUCCEEDED(hr);
        return hr;
    }
    const STGMEDIUM& get() const noexcept { return medium_; }

private:
    STGMEDIUM medium_{};
    bool taken_ = false;
};

}  // namespace

HRESULT QuorvaneShell::Create(REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    QuorvaneShell* object = new (std::nothrow) QuorvaneShell();
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

STDMETHODIMP QuorvaneShell::QueryInterface(REFIID riid, void** out) {
    static const QITAB table[] = {
        {&kIidQuorvaneShell, OFFSETOFCLASS(IQuorvaneShell, QuorvaneShell)},
        QITABENT(QuorvaneShell, IShellExtInit),
        QITABENT(QuorvaneShell, IContextMenu),
        QITABENTMULTI(QuorvaneShell, IDispatch, IQuorvaneShell),
        {nullptr, 0},
    };
    return QISearch(this, table, riid, out);
}

STDMETHODIMP_(ULONG) QuorvaneShell::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) QuorvaneShell::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP QuorvaneShell::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP QuorvaneShell::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetQuorvaneShellTypeInfo(out);
}

STDMETHODIMP QuorvaneShell::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    win::ComPtr<ITypeInfo> info;
    const HRESULT hr = GetQuorvaneShellTypeInfo(info.put());
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(info.get(), names, count, ids);
}

STDMETHODIMP QuorvaneShell::Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    win::ComPtr<ITypeInfo> info;
    const HRESULT hr = GetQuorvaneShellTypeInfo(info.put());
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<IQuorvaneShell*>(this), info.get(), member, flags, params, result,
                      exception, argumentError);
}

STDMETHODIMP QuorvaneShell::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    if (!data) return S_OK;
    try {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        StorageMedium medium;
        if (FAILED(medium.Fetch(data, &format))) return S_OK;
        if (medium.get().tymed != TYMED_HGLOBAL || !medium.get().hGlobal) return S_OK;
        // Gathered apart first: a failure half-way adds nothing.
        std::string gathered;
        AppendDropPaths(static_cast<HDROP>(medium.get().hGlobal), gathered);
        selection_ += gathered;
    } catch (...) {
    }
    return S_OK;
}

STDMETHODIMP QuorvaneShell::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId,
                                             UINT flags) {
    const HRESULT none = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    // The default action (a double click) gets nothing; nor does a host that
    // offers no identifier.
    if (flags & CMF_DEFAULTONLY) return none;
    if (firstId + kCommandOffset > lastId) return none;
    try {
        const UINT id = firstId + kCommandOffset;
        if (!InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING, id, kMenuItemText)) return none;
        // Inserted at the same position: the separator stands directly above the item.
        InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        if (!menuBitmap_) {
            if (const HMODULE module = InstallFolderModule())
                menuBitmap_.reset(LoadBitmapW(module, MAKEINTRESOURCEW(kMenuBitmapId)));
        }
        if (menuBitmap_)
            SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, menuBitmap_.get(), menuBitmap_.get());
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kCommandOffset + 1);
    } catch (...) {
        return none;
    }
}

STDMETHODIMP QuorvaneShell::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    // Only the one item by its offset: a verb string (whatever its address)
    // or any other offset does nothing.
    if (!info || reinterpret_cast<UINT_PTR>(info->lpVerb) != kCommandOffset) return S_OK;
    try {
        RunMenuCommand(selection_);
    } catch (...) {
    }
    return S_OK;
}

STDMETHODIMP QuorvaneShell::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer,
                                             UINT size) {
    if (offset != kCommandOffset) return E_INVALIDARG;
    switch (type) {
    case GCS_VALIDATEA:
        return S_OK;
    case GCS_HELPTEXTA:
        if (!buffer || size == 0 || size > 0x7FFFFFFF) return E_INVALIDARG;
        CopyCut(kHelpText, buffer, size);
        return S_OK;
    case GCS_HELPTEXTW:
        if (!buffer || size == 0) return E_INVALIDARG;
        CopyCut(kHelpText, reinterpret_cast<wchar_t*>(buffer), size);
        return S_OK;
    default:
        // GCS_VERBA, GCS_VERBW, GCS_VALIDATEW and the rest: the command has no verb.
        return E_INVALIDARG;
    }
}

}  // namespace quorv::shell
