#include "tests/e2e/driver/e2e_shell_win32.h"

#include <shlobj.h>

#include "app/resource.h"
#include "tests/win32/shell_test_support.h"

namespace quorv::e2e {

bool ChooseMenuItem(const std::wstring& dllPath, const std::vector<std::wstring>& files) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        const test::ShellDll dll(dllPath);
        if (dll.loaded()) {
            const win::ComPtr<IShellExtInit> init = dll.Create<IShellExtInit>(IID_IShellExtInit);
            win::ComPtr<IContextMenu> menu;
            const HMENU popup = ::CreatePopupMenu();
            if (init && popup && SUCCEEDED(init.As(IID_IContextMenu, menu))) {
                const win::ComPtr<IDataObject> data = test::MakeDropData(files);
                const HRESULT initialized = init->Initialize(nullptr, data.get(), nullptr);
                const HRESULT queried = menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL);
                CMINVOKECOMMANDINFO invoke{};
                invoke.cbSize = sizeof invoke;
                invoke.lpVerb = MAKEINTRESOURCEA(0);
                invoke.nShow = SW_SHOWNORMAL;
                const HRESULT invoked = menu->InvokeCommand(&invoke);
                ok = initialized == S_OK && queried == 1 && invoked == S_OK;
            }
            if (popup) ::DestroyMenu(popup);
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return ok;
}

namespace {

std::wstring ImageOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process, 0, &path[0], &size)) return std::wstring();
    path.resize(size);
    return path;
}

}  // namespace

StartedProgram::StartedProgram(const std::wstring& executable, int timeoutMs) {
    WaitFor(
        [&] {
            HWND found = nullptr;
            while ((found = ::FindWindowExW(nullptr, found, L"#32770", L"Quorvane 2")) != nullptr) {
                const Window window(found);
                if (!window.Visible() || !window.Child(IDC_FILE_LIST)) continue;
                const HANDLE process = ::OpenProcess(
                    PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, window.ProcessId());
                if (!process) continue;
                if (::lstrcmpiW(ImageOf(process).c_str(), executable.c_str()) == 0) {
                    process_ = process;
                    main_ = window;
                    return true;
                }
                ::CloseHandle(process);
            }
            return false;
        },
        timeoutMs, 50);
}

StartedProgram::~StartedProgram() { Kill(); }

bool StartedProgram::running() const {
    return process_ && main_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool StartedProgram::Close() {
    if (!running()) return false;
    if (!FocusWindow(Control(IDC_FILE_LIST))) return false;
    KeyPress(VK_ESCAPE);
    // The exit question: the program's own dialog, "&Yes" is its first button.
    Window question;
    WaitFor([&] {
        HWND found = nullptr;
        while ((found = ::FindWindowExW(nullptr, found, L"#32770", L"Please select")) != nullptr) {
            if (Window(found).ProcessId() == main_.ProcessId() && ::IsWindowVisible(found)) {
                question = Window(found);
                return true;
            }
        }
        return false;
    });
    if (!question || !ReadMessage(question).Press("&Yes")) return false;
    return ::WaitForSingleObject(process_, static_cast<DWORD>(kAnswerTimeout)) == WAIT_OBJECT_0;
}

void StartedProgram::Kill() {
    if (!process_) return;
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
    process_ = nullptr;
    main_ = Window();
}

}  // namespace quorv::e2e
