// The component's type library as clients see it: loaded from the DLL's TYPELIB
// resource 1, it must keep its identifiers, its dual interface with the 21 members in
// slot order, their help strings byte for byte and the argument types VB and script
// clients rely on.
#include <string>

#include "com_test_support.h"

namespace tarnwell::test {
namespace {

struct Slot {
    const wchar_t* name;
    INVOKEKIND kind;
    MEMBERID id;
    const char* help;
    const char* arguments;  // as written in IDL
};

const char* const flag_help =
    "Let/Get. Should key will be created if no exists (when writting data to registry)";

// The interface's slots after IUnknown and IDispatch, in order.
const Slot slots[] = {
    {L"CreateKeyIfDoesntExists", INVOKE_PROPERTYPUT, 1, flag_help, "[in] VARIANT_BOOL"},
    {L"CreateKeyIfDoesntExists", INVOKE_PROPERTYGET, 1, flag_help, "[out, retval] VARIANT_BOOL*"},
    {L"CreateKey", INVOKE_FUNC, 2, "Creates key in registry...",
     "[in] BSTR sPath, [out, retval] long* result"},
    {L"KillKey", INVOKE_FUNC, 3, "Deletes key from registry...",
     "[in] BSTR sPath, [out, retval] long* result"},
    {L"KeyExists", INVOKE_FUNC, 4, "Checks if some key exists...",
     "[in] BSTR sPath, [out, retval] VARIANT_BOOL* result"},
    {L"EnumKeys", INVOKE_FUNC, 5, "Enumerates subkeys of some key...",
     "[in] BSTR sPath, [in, out] VARIANT* Key, [out, retval] long* result"},
    {L"HaveSubkey", INVOKE_FUNC, 6, "Checks for subkeys in some key...",
     "[in] BSTR sPath, [out, retval] VARIANT_BOOL* result"},
    {L"WriteString", INVOKE_FUNC, 7, "Writes data of string type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] BSTR sValue, [out, retval] long* result"},
    {L"ReadString", INVOKE_FUNC, 8, "Reads data of string type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] BSTR sDefault, [out, retval] BSTR* result"},
    {L"WriteDWORD", INVOKE_FUNC, 9, "Writes data of dword type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] long lValue, [out, retval] long* result"},
    {L"ReadDWORD", INVOKE_FUNC, 10, "Reads data of dword type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] long lDefault, [out, retval] long* result"},
    {L"WriteBinary", INVOKE_FUNC, 11, "Writes data of binary type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] BSTR sValue, [out, retval] long* result"},
    {L"ReadBinary", INVOKE_FUNC, 12, "Reads data of binary type...",
     "[in] BSTR sPath, [in] BSTR sName, [in] BSTR sDefault, [out, retval] BSTR* result"},
    {L"KillValue", INVOKE_FUNC, 13, "Deletes value from registry...",
     "[in] BSTR sPath, [in] BSTR sName, [out, retval] long* result"},
    {L"ValueExists", INVOKE_FUNC, 14, "Checks if some value exists in registry",
     "[in] BSTR sPath, [in] BSTR sName, [out, retval] VARIANT_BOOL* result"},
    {L"EnumValues", INVOKE_FUNC, 15, "Enumerates all values from specified key...",
     "[in] BSTR sPath, [in, out] VARIANT* sName, [in, out] VARIANT* sValue, [in] long OnlyType, "
     "[out, retval] long* result"},
    {L"ExportToReg", INVOKE_FUNC, 16,
     "Exports contents of some key (and it's subkeys) to .reg file...",
     "[in] BSTR sPath, [in] BSTR sRegFile, [in] VARIANT_BOOL IncludeSubkeys, "
     "[in, optional] VARIANT Output, [out, retval] long* result"},
    {L"ImportFromReg", INVOKE_FUNC, 17, "Imports .reg file into registry...",
     "[in] BSTR sRegFile, [out, retval] long* result"},
    {L"StrToBin", INVOKE_FUNC, 18, "Converts hex (string) into it's binary value...",
     "[in, out] VARIANT* sBin, [out, retval] BSTR* result"},
    {L"BinToStr", INVOKE_FUNC, 19, "Converts binary data into string...",
     "[in] BSTR sStr, [out, retval] BSTR* result"},
    {L"isBinValid", INVOKE_FUNC, 20,
     "Checks if given binary data is in valid hex format (used for writting binary)",
     "[in] BSTR sBin, [out, retval] VARIANT_BOOL* result"},
};

GUID guid(const wchar_t* text) {
    GUID parsed = {};
    EXPECT_EQ(CLSIDFromString(text, &parsed), S_OK) << text;
    return parsed;
}

// Names and help strings are plain ASCII.
std::string ascii(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) {
        EXPECT_LT(c, 0x80);
        result += static_cast<char>(c);
    }
    return result;
}

std::string narrow(BSTR text) {
    return text == nullptr ? std::string() : ascii(std::wstring(text, SysStringLen(text)));
}

std::string type_name(const TYPEDESC& type) {
    switch (type.vt) {
    case VT_PTR:
        return type_name(*type.lptdesc) + "*";
    case VT_BSTR:
        return "BSTR";
    case VT_BOOL:
        return "VARIANT_BOOL";
    case VT_I4:
        return "long";
    case VT_VARIANT:
        return "VARIANT";
    default:
        return "vt" + std::to_string(type.vt);
    }
}

std::string flags_text(USHORT flags) {
    std::string text;
    const std::pair<USHORT, const char*> names[] = {{PARAMFLAG_FIN, "in"},
                                                    {PARAMFLAG_FOUT, "out"},
                                                    {PARAMFLAG_FRETVAL, "retval"},
                                                    {PARAMFLAG_FOPT, "optional"}};
    for (const auto& [flag, name] : names) {
        if (flags & flag) text += (text.empty() ? "" : ", ") + std::string(name);
    }
    return "[" + text + "]";
}

// A member's arguments as IDL writes them, read back from the type library. The
// library names arguments by member ID, which a property's put and get share, so the
// property's arguments come back without names.
std::string arguments_text(ITypeInfo& info, const FUNCDESC& function) {
    BSTR names[16] = {};
    UINT count = 0;
    info.GetNames(function.memid, names, 16, &count);
    OwnedBstr owned_names[16];
    for (UINT i = 0; i < count; ++i)
        owned_names[i].reset(names[i]);
    std::string text;
    for (SHORT i = 0; i < function.cParams; ++i) {
        const ELEMDESC& argument = function.lprgelemdescParam[i];
        const UINT name_index = static_cast<UINT>(i) + 1;
        text += (i ? ", " : "") + flags_text(argument.paramdesc.wParamFlags) + " " +
                type_name(argument.tdesc);
        if (name_index < count) text += " " + narrow(names[name_index]);
    }
    return text;
}

class TypeLibrary : public ComApartment {
protected:
    void SetUp() override {
        ComApartment::SetUp();
        ASSERT_EQ(LoadTypeLibEx(dll.path().c_str(), REGKIND_NONE, &library), S_OK);
    }
    ComPtr<ITypeLib> library;
};

TEST_F(TypeLibrary, IsTheDllsTypelibResourceOne) {
    EXPECT_NE(FindResourceW(dll.module(), MAKEINTRESOURCEW(1), L"TYPELIB"), nullptr);
}

TEST_F(TypeLibrary, KeepsItsIdentifiers) {
    OwnedLibAttr attributes(*library.Get());
    ASSERT_EQ(library->GetLibAttr(attributes.put()), S_OK);
    EXPECT_EQ(attributes->guid, guid(L"{8D62F6F0-2738-48CB-B319-28FD5B826BF9}"));
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(LIBID_TarnwellRegistry, guid(L"{8D62F6F0-2738-48CB-B319-28FD5B826BF9}"));
    EXPECT_EQ(IID__clsRegistryAccess, guid(L"{6A64F9BD-C12A-486B-9688-F933362F39B6}"));
    EXPECT_EQ(CLSID_clsRegistryAccess, guid(L"{F1F8CDFB-5F09-4D42-8EE6-AA99B15999B5}"));
    EXPECT_STREQ(TARNWELL_REGISTRY_PROGID, "TarnwellRegistry.clsRegistryAccess");

    OwnedBstr help;
    ASSERT_EQ(library->GetDocumentation(-1, nullptr, help.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(narrow(help.get()),
              "Tarnwell registry access: key and value operations, REGEDIT4 export and import");
}

TEST_F(TypeLibrary, CoclassCreatesTheDualInterfaceByDefault) {
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_clsRegistryAccess, &coclass), S_OK);
    OwnedTypeAttr attributes(*coclass.Get());
    ASSERT_EQ(coclass->GetTypeAttr(attributes.put()), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(attributes->cImplTypes, 1);
    INT flags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> implemented;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, &implemented), S_OK);
    OwnedTypeAttr implemented_attributes(*implemented.Get());
    ASSERT_EQ(implemented->GetTypeAttr(implemented_attributes.put()), S_OK);
    EXPECT_EQ(implemented_attributes->guid, IID__clsRegistryAccess);
}

TEST_F(TypeLibrary, InterfaceIsDualWithTheMembersInSlotOrder) {
    ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID__clsRegistryAccess, &dispatch), S_OK);
    OwnedTypeAttr attributes(*dispatch.Get());
    ASSERT_EQ(dispatch->GetTypeAttr(attributes.put()), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);

    // The vtable side of the dual interface.
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &reference), S_OK);
    ASSERT_EQ(dispatch->GetRefTypeInfo(reference, &vtable), S_OK);
    OwnedTypeAttr vtable_attributes(*vtable.Get());
    ASSERT_EQ(vtable->GetTypeAttr(vtable_attributes.put()), S_OK);
    EXPECT_EQ(vtable_attributes->typekind, TKIND_INTERFACE);
    // Marshaled by the type library marshaler between apartments.
    EXPECT_TRUE(vtable_attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    ASSERT_EQ(vtable_attributes->cFuncs, 21);

    const SHORT first_slot = 7;  // after IUnknown's 3 and IDispatch's 4
    for (UINT i = 0; i < 21; ++i) {
        const Slot& slot = slots[i];
        SCOPED_TRACE(std::to_string(i + 1) + ". " + ascii(slot.name));
        OwnedFuncDesc function(*vtable.Get());
        ASSERT_EQ(vtable->GetFuncDesc(i, function.put()), S_OK);
        EXPECT_EQ(function->oVft, (first_slot + static_cast<SHORT>(i)) * SHORT{sizeof(void*)});
        EXPECT_EQ(function->invkind, slot.kind);
        EXPECT_EQ(function->memid, slot.id);
        EXPECT_EQ(function->callconv, CC_STDCALL);
        EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
        EXPECT_EQ(arguments_text(*vtable.Get(), *function.get()), slot.arguments);

        OwnedBstr name, help;
        ASSERT_EQ(
            vtable->GetDocumentation(function->memid, name.put(), help.put(), nullptr, nullptr),
            S_OK);
        EXPECT_EQ(std::wstring(name.get()), slot.name);
        EXPECT_EQ(narrow(help.get()), slot.help);
    }
}

}  // namespace
}  // namespace tarnwell::test
