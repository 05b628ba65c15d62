#include "com/class_factory.h"

#include "com/registry_access_object.h"
#include "com/server_module.h"

namespace tarnwell::com {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
}

// The factory lives as long as the DLL.
ULONG ClassFactory::AddRef() { return 2; }
ULONG ClassFactory::Release() { return 1; }

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return RegistryAccessObject::create(iid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    lock_server(lock != FALSE);
    return S_OK;
}

ClassFactory& class_factory() {
    static ClassFactory factory;
    return factory;
}

}  // namespace tarnwell::com
