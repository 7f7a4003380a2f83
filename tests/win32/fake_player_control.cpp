#include "tests/win32/fake_player_control.h"

#include <new>

namespace quorv::test {

FakePlayerLog& FakePlayers() {
    static FakePlayerLog log;
    return log;
}

namespace {

class FakePlayer : public IOleObject, public IDispatch {
public:
    FakePlayer() { ++FakePlayers().live; }
    virtual ~FakePlayer() { --FakePlayers().live; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleObject: enough for a host to embed and activate it.
    STDMETHODIMP SetClientSite(IOleClientSite*) override { return S_OK; }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        if (site) *site = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override { return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override {
        if (m) *m = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** d) override {
        if (d) *d = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** e) override {
        if (e) *e = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override {
        if (clsid) *clsid = kFakePlayerClsid;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* t) override {
        if (t) *t = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
        if (size) *size = SIZEL{1000, 1000};
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD* c) override {
        if (c) *c = 0;
        return E_NOTIMPL;
    }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** e) override {
        if (e) *e = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        if (status) *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IDispatch: every call is written down.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** t) override {
        if (t) *t = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                        UINT*) override {
        FakePlayerLog& log = FakePlayers();
        PlayerCall call;
        call.id = id;
        call.kind = kind;
        if (params && params->cArgs > 0) {
            const VARIANT& a = params->rgvarg[0];
            call.type = a.vt;
            if (a.vt == VT_BSTR && a.bstrVal) call.text.assign(a.bstrVal, SysStringLen(a.bstrVal));
            if (a.vt == VT_BOOL) call.flag = a.boolVal != VARIANT_FALSE;
        }
        log.calls.push_back(call);
        if (kind == DISPATCH_PROPERTYPUT &&
            (!params || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        if (log.failAll) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->bstrSource = SysAllocString(L"fake player");
                exception->bstrDescription = SysAllocString(L"the player failed");
                exception->scode = E_FAIL;
            }
            return DISP_E_EXCEPTION;
        }
        if (kind == DISPATCH_PROPERTYGET && result) {
            if (id == 124 || id == 128) {
                result->vt = VT_I4;
                result->lVal = id == 124 ? log.totalFrames : log.currentFrame;
            } else {
                result->vt = VT_BOOL;
                result->boolVal = log.playing ? VARIANT_TRUE : VARIANT_FALSE;
            }
        }
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

class FakePlayerFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        FakePlayer* player = new (std::nothrow) FakePlayer();
        if (!player) return E_OUTOFMEMORY;
        const HRESULT hr = static_cast<IOleObject*>(player)->QueryInterface(iid, out);
        static_cast<IOleObject*>(player)->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

FakePlayerFactory g_factory;

}  // namespace

FakePlayerRegistration::FakePlayerRegistration() {
    if (FAILED(CoRegisterClassObject(kFakePlayerClsid, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_)))
        cookie_ = 0;
}

FakePlayerRegistration::~FakePlayerRegistration() {
    if (cookie_ != 0) CoRevokeClassObject(cookie_);
}

}  // namespace quorv::test
