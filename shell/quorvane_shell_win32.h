#pragma once
// The COM class QuorvaneShell: the file manager's context-menu handler for
// files. It gathers the selected paths (IShellExtInit), adds one menu item
// "&Batch Rename files..." above which it puts a separator (IContextMenu),
// and, when the item is chosen, hands the paths to the main program through
// the handoff file and starts the program. IQuorvaneShell is its dual
// interface, served from the DLL's type library.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "QuorvShell_h.h"
#include "platform/raii_win32.h"
#include "shell/shell_module_win32.h"

namespace quorv::shell {

// The menu item's text, its help text and its bitmap resource.
inline constexpr const wchar_t* kMenuItemText = L"&Batch Rename files...";
inline constexpr const char* kHelpText = "Rename selected files with Quorvane2.";
inline constexpr int kMenuBitmapId = 202;

class QuorvaneShell final : public IQuorvaneShell, public IShellExtInit, public IContextMenu {
public:
    // Creates an object and asks it for riid (the class factory's work).
    static HRESULT Create(REFIID riid, void** out) noexcept;

    // IUnknown (the interfaces in the order IQuorvaneShell, IShellExtInit,
    // IContextMenu, IDispatch; IUnknown is the first of them).
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, from the type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IShellExtInit: appends the paths of the data object's file-drop data
    // to the selection (a second call adds to the first).
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY programKey) override;

    // IContextMenu.
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* buffer,
                                  UINT size) override;

private:
    QuorvaneShell() noexcept = default;
    ~QuorvaneShell() = default;

    // Counted with interlocked calls, as the class factory and the module
    // count: the object does not rely on every host keeping each call on
    // the thread that created it.
    LONG refs_ = 0;
    std::string selection_; // the handoff text: every path followed by "\r\n"
    win::Bitmap menuBitmap_;  // shown beside the item while the menu lives
    ModuleLock lock_;
};

}  // namespace quorv::shell
