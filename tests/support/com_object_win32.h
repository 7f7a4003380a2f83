#pragma once
// The IUnknown part of the COM objects the tests play (a drag's source, the
// file manager's data object): one interface besides IUnknown, references
// counted on one thread, deleted at the last release. Made with new and a
// count of one, handed to a ComPtr.
#include <windows.h>

namespace quorv::test {

template <class Interface, const IID& kInterfaceId>
class ComObject : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kInterfaceId)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    ULONG refs_ = 1;
};

}  // namespace quorv::test
