#include "tests/win32/shell_test_support.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "tests/support/com_object_win32.h"
#include "tests/support/messages_win32.h"

namespace quorv::test {

std::wstring TestFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring BuiltShellDll() { return TestFolder() + L"\\QuorvShell.dll"; }
std::wstring StandInProgram() { return TestFolder() + L"\\quorv2_stand_in.exe"; }
std::wstring UnregisterOnlyDll() { return TestFolder() + L"\\unregister_only.dll"; }

bool CopyTo(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(Long(from).c_str(), Long(to).c_str(), FALSE) != FALSE;
}

// ------------------------------------------------------------------ DLL

ShellDll::ShellDll(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}

FARPROC ShellDll::Export(const char* name) const {
    return module_ ? GetProcAddress(module_.get(), name) : nullptr;
}

namespace {
using NoArgument = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

template <class F>
F As(FARPROC address) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(address));
}
}  // namespace

HRESULT ShellDll::GetClassObject(REFCLSID clsid, REFIID riid, void** out) const {
    const FARPROC f = Export("DllGetClassObject");
    return f ? As<GetClassObjectFunction>(f)(clsid, riid, out) : E_NOTIMPL;
}
HRESULT ShellDll::CanUnloadNow() const {
    const FARPROC f = Export("DllCanUnloadNow");
    return f ? As<NoArgument>(f)() : E_NOTIMPL;
}
HRESULT ShellDll::Register() const {
    const FARPROC f = Export("DllRegisterServer");
    return f ? As<NoArgument>(f)() : E_NOTIMPL;
}
HRESULT ShellDll::Unregister() const {
    const FARPROC f = Export("DllUnregisterServer");
    return f ? As<NoArgument>(f)() : E_NOTIMPL;
}

HRESULT ShellDll::CreateRaw(REFIID riid, void** out) const {
    // {A288D49F-24DD-4BD7-BA44-9D30987A6CDD}, written out here on purpose.
    static const CLSID clsid = {0xA288D49F, 0x24DD, 0x4BD7, {0xBA, 0x44, 0x9D, 0x30, 0x98, 0x7A, 0x6C, 0xDD}};
    win::ComPtr<IClassFactory> factory;
    const HRESULT hr = GetClassObject(clsid, IID_IClassFactory, factory.put_void());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, riid, out);
}

// ------------------------------------------------------------ drop data

namespace {

std::string DropBytes(const std::vector<std::wstring>& paths, bool wide) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = wide;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    for (const std::wstring& path : paths) {
        if (wide) {
            bytes.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
        } else {
            bytes += Narrow(path);
            bytes += '\0';
        }
    }
    bytes.append(wide ? sizeof(wchar_t) : 1, '\0');
    return bytes;
}

class DataObject final : public test::ComObject<IDataObject, IID_IDataObject> {
public:
    DataObject(std::string drop, bool hasDrop) : drop_(std::move(drop)), hasDrop_(hasDrop) {}


    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        const HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, drop_.size());
        if (!global) return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(global), drop_.data(), drop_.size());
        GlobalUnlock(global);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        if (!hasDrop_ || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL) ||
            format->dwAspect != DVASPECT_CONTENT)
            return DV_E_FORMATETC;
        return S_OK;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DataObject() override = default;
    std::string drop_;
    bool hasDrop_;
};

}  // namespace

win::ComPtr<IDataObject> MakeDropData(const std::vector<std::wstring>& paths, bool wide) {
    return win::ComPtr<IDataObject>(new DataObject(DropBytes(paths, wide), true));
}

win::ComPtr<IDataObject> MakeDataWithoutDrop() {
    return win::ComPtr<IDataObject>(new DataObject(std::string(), false));
}

// -------------------------------------------------------------- stand-in

std::vector<StandInRun> StandInRuns(const std::wstring& folder) {
    std::vector<StandInRun> runs;
    WIN32_FIND_DATAW found;
    win::FindHandle find(FindFirstFileW(Long(folder + L"\\ran-*.txt").c_str(), &found));
    if (!find) return runs;
    do {
        const std::optional<std::string> bytes = ReadBytes(folder + L"\\" + found.cFileName);
        if (!bytes) continue;
        const std::size_t first = bytes->find('\n');
        const std::size_t second = bytes->find('\n', first + 1);
        if (first == std::string::npos || second == std::string::npos) continue;
        runs.push_back({bytes->substr(0, first), bytes->substr(first + 1, second - first - 1),
                        bytes->substr(second + 1)});
    } while (FindNextFileW(find.get(), &found));
    return runs;
}

std::vector<StandInRun> WaitForStandInRuns(const std::wstring& folder, std::size_t count) {
    std::vector<StandInRun> runs;
    WaitFor([&] {
        runs = StandInRuns(folder);
        return runs.size() >= count;
    }, 10000, 20);
    return runs;
}

// -------------------------------------------------------- child processes

namespace {
HANDLE TestJob() {
    static const HANDLE job = [] {
        const HANDLE h = CreateJobObjectW(nullptr, nullptr);
        if (h && !AssignProcessToJobObject(h, GetCurrentProcess())) {
            CloseHandle(h);
            return HANDLE(nullptr);
        }
        return h;
    }();
    return job;
}
}  // namespace

ChildProcesses::ChildProcesses() {
    ok_ = TestJob() != nullptr;
    base_ = TotalInJob();
}

unsigned long ChildProcesses::TotalInJob() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!TestJob() ||
        !QueryInformationJobObject(TestJob(), JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr))
        return 0;
    return info.TotalProcesses;
}

unsigned long ChildProcesses::ActiveInJob() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!TestJob() ||
        !QueryInformationJobObject(TestJob(), JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr))
        return 0;
    return info.ActiveProcesses;
}

unsigned long ChildProcesses::Started() const { return TotalInJob() - base_; }

void ChildProcesses::WaitForAll() const {
    WaitFor([&] { return ActiveInJob() <= 1; }, 10000, 20);
}

}  // namespace quorv::test
