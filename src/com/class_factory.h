#pragma once
// The class object of clsRegistryAccess: one static factory per DLL. It is not counted
// as a live object; clients keep the DLL loaded through LockServer.
#include "windows_api/windows_api.h"
#include <ole2.h>

namespace tarnwell::com {

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

ClassFactory& class_factory();

}  // namespace tarnwell::com
