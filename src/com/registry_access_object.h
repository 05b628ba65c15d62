#pragma once
// The COM object of the registry access class: the dual interface _clsRegistryAccess
// over one clsRegistryAccess on the system's registry and files. Each member converts its
// arguments, calls the class's member of the same name and converts the result back;
// all registry work is the class's. IDispatch is served from the type library.
#include "windows_api/windows_api.h"
#include <ole2.h>
#include <wrl/client.h>

#include <atomic>

#include "com/tarnwell_registry.h"
#include "platform/system_platform.h"
#include "registry_access/clsRegistryAccess.h"

namespace tarnwell::com {

class RegistryAccessObject final : public _clsRegistryAccess, public ISupportErrorInfo {
public:
    // A new object, returned through the interface `iid`.
    static HRESULT create(REFIID iid, void** object);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* bad_argument) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

    // _clsRegistryAccess, in slot order.
    HRESULT STDMETHODCALLTYPE put_CreateKeyIfDoesntExists(VARIANT_BOOL offon) override;
    HRESULT STDMETHODCALLTYPE get_CreateKeyIfDoesntExists(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE CreateKey(BSTR sPath, LONG* result) override;
    HRESULT STDMETHODCALLTYPE KillKey(BSTR sPath, LONG* result) override;
    HRESULT STDMETHODCALLTYPE KeyExists(BSTR sPath, VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE EnumKeys(BSTR sPath, VARIANT* Key, LONG* result) override;
    HRESULT STDMETHODCALLTYPE HaveSubkey(BSTR sPath, VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE WriteString(BSTR sPath, BSTR sName, BSTR sValue,
                                          LONG* result) override;
    HRESULT STDMETHODCALLTYPE ReadString(BSTR sPath, BSTR sName, BSTR sDefault,
                                         BSTR* result) override;
    HRESULT STDMETHODCALLTYPE WriteDWORD(BSTR sPath, BSTR sName, LONG lValue,
                                         LONG* result) override;
    HRESULT STDMETHODCALLTYPE ReadDWORD(BSTR sPath, BSTR sName, LONG lDefault,
                                        LONG* result) override;
    HRESULT STDMETHODCALLTYPE WriteBinary(BSTR sPath, BSTR sName, BSTR sValue,
                                          LONG* result) override;
    HRESULT STDMETHODCALLTYPE ReadBinary(BSTR sPath, BSTR sName, BSTR sDefault,
                                         BSTR* result) override;
    HRESULT STDMETHODCALLTYPE KillValue(BSTR sPath, BSTR sName, LONG* result) override;
    HRESULT STDMETHODCALLTYPE ValueExists(BSTR sPath, BSTR sName, VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE EnumValues(BSTR sPath, VARIANT* sName, VARIANT* sValue, LONG OnlyType,
                                         LONG* result) override;
    HRESULT STDMETHODCALLTYPE ExportToReg(BSTR sPath, BSTR sRegFile, VARIANT_BOOL IncludeSubkeys,
                                          VARIANT Output, LONG* result) override;
    HRESULT STDMETHODCALLTYPE ImportFromReg(BSTR sRegFile, LONG* result) override;
    HRESULT STDMETHODCALLTYPE StrToBin(VARIANT* sBin, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE BinToStr(BSTR sStr, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE isBinValid(BSTR sBin, VARIANT_BOOL* result) override;

private:
    explicit RegistryAccessObject(Microsoft::WRL::ComPtr<ITypeInfo> type_info);
    ~RegistryAccessObject();
    RegistryAccessObject(const RegistryAccessObject&) = delete;
    RegistryAccessObject& operator=(const RegistryAccessObject&) = delete;

    // None until its first owner, the ComPtr that `create` holds it in, takes one.
    std::atomic<ULONG> references_{0};
    Microsoft::WRL::ComPtr<ITypeInfo> type_info_;
    SystemPlatform system_;
    clsRegistryAccess access_{system_.platform().registry, system_.platform().files,
                              system_.platform().desktop};
};

}  // namespace tarnwell::com
