// The component's COM object, loaded from the DLL without registration: its lifetime
// counts, the conversions at its boundary (texts, out arrays, the status object) and
// the errors it reports, through the vtable (as compiled VB calls it) and through
// IDispatch (as scripts call it). The registry work itself is the class's and is
// tested with the class.
#include <functional>

#include "com_test_support.h"
#include "platform/system_platform.h"
#include "status_box.h"
#include "support/scratch_key.h"

namespace tarnwell::test {
namespace {

constexpr HRESULT invalid_argument = static_cast<HRESULT>(0x800A0005);
constexpr HRESULT overflow = static_cast<HRESULT>(0x800A0006);
constexpr HRESULT type_mismatch = static_cast<HRESULT>(0x800A000D);

std::wstring widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring text_of(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : L""; }

// The elements of a 0-based array of VARIANTs, as texts (numbers in decimal, Empty as
// "<empty>"); fails the test for any other shape.
std::vector<std::wstring> elements(const VARIANT& holder) {
    const VARIANT& value =
        V_VT(&holder) == (VT_BYREF | VT_VARIANT) ? *V_VARIANTREF(&holder) : holder;
    SAFEARRAY* array = V_VT(&value) == (VT_ARRAY | VT_VARIANT)              ? V_ARRAY(&value)
                       : V_VT(&value) == (VT_BYREF | VT_ARRAY | VT_VARIANT) ? *V_ARRAYREF(&value)
                                                                            : nullptr;
    std::vector<std::wstring> texts;
    EXPECT_NE(array, nullptr) << "not an array of VARIANTs, vt " << V_VT(&value);
    if (array == nullptr) return texts;
    LONG lower = -1, upper = -2;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    EXPECT_EQ(lower, 0);
    for (LONG i = lower; i <= upper; ++i) {
        OwnedVariant element;
        SafeArrayGetElement(array, &i, element.get());
        if (V_VT(element.get()) == VT_BSTR)
            texts.push_back(text_of(V_BSTR(element.get())));
        else if (V_VT(element.get()) == VT_I4)
            texts.push_back(std::to_wstring(V_I4(element.get())));
        else if (V_VT(element.get()) == VT_EMPTY)
            texts.push_back(L"<empty>");
        else
            texts.push_back(L"<vt " + std::to_wstring(V_VT(element.get())) + L">");
    }
    return texts;
}

TEST_F(ComApartment, DllCanUnloadNowOnlyWithoutObjectsAndLocks) {
    EXPECT_EQ(dll.can_unload_now(), S_OK);
    auto first = dll.new_object();
    auto second = dll.new_object();
    ASSERT_TRUE(first && second);
    ComPtr<ISupportErrorInfo> other_interface;
    ASSERT_EQ(first.As(&other_interface), S_OK);
    first.Reset();
    EXPECT_EQ(dll.can_unload_now(), S_FALSE);
    other_interface.Reset();
    EXPECT_EQ(dll.can_unload_now(), S_FALSE);
    second.Reset();
    EXPECT_EQ(dll.can_unload_now(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll.class_object(CLSID_clsRegistryAccess, factory), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(dll.can_unload_now(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(dll.can_unload_now(), S_OK);
}

TEST_F(ComApartment, FactoryMakesOnlyItsClassAndInterfaces) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(dll.class_object(IID__clsRegistryAccess, factory), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(dll.class_object(CLSID_clsRegistryAccess, factory), S_OK);
    ComPtr<IUnknown> made;
    const auto make = [&](IUnknown* outer, REFIID iid) {
        return factory->CreateInstance(outer, iid,
                                       reinterpret_cast<void**>(made.ReleaseAndGetAddressOf()));
    };
    EXPECT_EQ(make(factory.Get(), IID_IUnknown), CLASS_E_NOAGGREGATION);  // as an aggregate
    EXPECT_EQ(make(nullptr, IID_IPersist), E_NOINTERFACE);
    ASSERT_EQ(make(nullptr, IID_IDispatch), S_OK);
    ComPtr<ISupportErrorInfo> errors;
    ASSERT_EQ(made.As(&errors), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__clsRegistryAccess), S_OK);
}

class Component : public ComApartment {
protected:
    void SetUp() override {
        ComApartment::SetUp();
        object = dll.new_object();
        ASSERT_TRUE(object);
    }
    void TearDown() override {
        object.Reset();
        ComApartment::TearDown();
    }
    std::wstring key(const std::wstring& below) const {
        return widened(scratch.path()) + (below.empty() ? L"" : L"\\" + below);
    }
    void create(const std::wstring& below) {
        LONG handle = 0;
        ASSERT_EQ(object->CreateKey(Bstr(key(below)), &handle), S_OK);
        ASSERT_NE(handle, 0);
    }

    SystemPlatform tp;
    ScratchKey scratch{tp.platform().registry};
    ComPtr<_clsRegistryAccess> object;
};

TEST_F(Component, FailuresReachVbAndScriptsWithNumberAndDescription) {
    const std::wstring long_text(32768, L'A');
    const Variant long_argument(long_text), long_digits(long_text), root(key(L"")), name(L"b"),
        half_pair(key(L"\xD800")), file(L"C:\\never.reg"), yes(true), five(5L);
    LONG written = -1;
    VARIANT_BOOL exists = VARIANT_TRUE;
    const struct {
        const char* what;
        HRESULT code;
        const wchar_t* description;  // its beginning
        const wchar_t* member;       // the call late bound
        std::vector<VARIANT> arguments;
        std::function<HRESULT(_clsRegistryAccess&)> early_bound;  // and through the vtable
    } cases[] = {
        {"BinToStr of 32,768 characters", overflow, L"Overflow", L"BinToStr", {long_argument},
         [&](auto& o) { return o.BinToStr(V_BSTR(&long_argument), OwnedBstr().put()); }},
        {"StrToBin of 32,768 digits", overflow, L"Overflow", L"StrToBin", {long_digits},
         [&](auto& o) {
             Variant digits(long_text);
             return o.StrToBin(&digits, OwnedBstr().put());
         }},
        {"WriteBinary of 32,768 digits", overflow, L"Overflow", L"WriteBinary",
         {root, name, long_argument},
         [&](auto& o) {
             return o.WriteBinary(V_BSTR(&root), V_BSTR(&name), V_BSTR(&long_argument), &written);
         }},
        {"half of a surrogate pair in a path", invalid_argument,
         L"Invalid procedure call or argument: the text holds half of a surrogate pair",
         L"KeyExists", {half_pair},
         [&](auto& o) { return o.KeyExists(V_BSTR(&half_pair), &exists); }},
        {"an Output that is not an object", type_mismatch, L"Type mismatch", L"ExportToReg",
         {root, file, yes, five},
         [&](auto& o) {
             return o.ExportToReg(V_BSTR(&root), V_BSTR(&file), VARIANT_TRUE, five, &written);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.early_bound(*object.Get()), c.code);
        ComPtr<IErrorInfo> info;
        ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
        OwnedBstr description, source;
        info->GetDescription(description.put());
        info->GetSource(source.put());
        EXPECT_EQ(text_of(description.get()).rfind(c.description, 0), 0u)
            << text_of(description.get()).size();
        EXPECT_EQ(text_of(source.get()), L"TarnwellRegistry.clsRegistryAccess");

        Invocation call;
        invoke(*object.Get(), c.member, call, c.arguments);
        EXPECT_EQ(call.code, DISP_E_EXCEPTION);
        EXPECT_EQ(call.exception.scode, c.code);
        EXPECT_EQ(call.description().rfind(c.description, 0), 0u);
        EXPECT_EQ(text_of(call.exception.bstrSource), L"TarnwellRegistry.clsRegistryAccess");
    }
}

TEST_F(Component, TextsCrossWithEveryCharacter) {
    // In the ANSI code page, outside it, and beyond the BMP.
    for (const std::wstring text :
         {L"caf\u00E9 \u00C4", L"Dvo\u0159\u00E1k \u6570\u636E \U0001F600"}) {
        LONG written = 0;
        ASSERT_EQ(object->WriteString(Bstr(key(L"texts")), Bstr(text), Bstr(text), &written), S_OK);
        EXPECT_NE(written, 0);
        OwnedBstr read;
        ASSERT_EQ(object->ReadString(Bstr(key(L"texts")), Bstr(text), Bstr(L"none"), read.put()),
                  S_OK);
        EXPECT_EQ(text_of(read.get()), text);
    }

    // Half of a surrogate pair is no character: a replacement would name or store
    // something else.
    LONG written = 0;
    for (const wchar_t* refused : {L"\xD800", L"a\xDC00" L"b", L"\xDE00\xD800"}) {
        SCOPED_TRACE(std::to_string(refused[0]));
        EXPECT_EQ(object->WriteString(Bstr(key(L"refused")), Bstr(refused), Bstr(L"x"), &written),
                  invalid_argument);
        EXPECT_EQ(object->WriteString(Bstr(key(L"refused")), Bstr(L"n"), Bstr(refused), &written),
                  invalid_argument);
        EXPECT_EQ(object->CreateKey(Bstr(key(refused)), &written), invalid_argument);
    }
    VARIANT_BOOL exists = VARIANT_TRUE;
    ASSERT_EQ(object->KeyExists(Bstr(key(L"refused")), &exists), S_OK);
    EXPECT_EQ(exists, VARIANT_FALSE);

    // Cut at a NUL, a path would name its parent key and a name another value.
    create(L"parent");
    const std::wstring child_after_nul = key(L"parent") + std::wstring(1, L'\0') + L"\\child";
    EXPECT_EQ(object->KillKey(Bstr(child_after_nul), &written), invalid_argument);
    EXPECT_EQ(object->WriteString(Bstr(key(L"parent")), Bstr(std::wstring(L"n\0x", 3)), Bstr(L"v"),
                                  &written),
              invalid_argument);
    ASSERT_EQ(object->KeyExists(Bstr(key(L"parent")), &exists), S_OK);
    EXPECT_EQ(exists, VARIANT_TRUE);
    Variant value_names, values;
    LONG count = -1;
    ASSERT_EQ(object->EnumValues(Bstr(key(L"parent")), &value_names, &values, -1, &count), S_OK);
    EXPECT_EQ(count, 0);

    // Byte text, one character per byte, survives the round trip through BSTRs.
    Variant hex(L"00 80 81 FF");
    OwnedBstr bytes, back;
    ASSERT_EQ(object->StrToBin(&hex, bytes.put()), S_OK);
    EXPECT_EQ(SysStringLen(bytes.get()), 4u);
    ASSERT_EQ(object->BinToStr(bytes.get(), back.put()), S_OK);
    EXPECT_EQ(text_of(back.get()), L" 00 80 81 FF");
}

TEST_F(Component, StrToBinRewritesTheCallersText) {
    // The caller's String variable, which the component replaces in place.
    OwnedBstr caller_string_owner;
    BSTR& caller_string = *caller_string_owner.put();
    caller_string = SysAllocString(L"01 0A ff");
    Variant plain(L"01 0A ff");
    Variant script_variable(L"01 0A ff");
    VARIANT by_reference = reference_to(script_variable);
    VARIANT vb_string = reference_to(VT_BSTR, &caller_string);  // a VB String, as a Variant
    const std::pair<const char*, VARIANT*> forms[] = {
        {"Variant", &plain}, {"reference to a Variant", &by_reference}, {"String", &vb_string}};
    for (const auto& [what, argument] : forms) {
        SCOPED_TRACE(what);
        OwnedBstr bytes;
        ASSERT_EQ(object->StrToBin(argument, bytes.put()), S_OK);
        EXPECT_EQ(text_of(bytes.get()), std::wstring(L"\x01\x0A\xFF"));
    }
    EXPECT_EQ(text_of(V_BSTR(&plain)), L"010Aff");
    EXPECT_EQ(text_of(V_BSTR(&script_variable)), L"010Aff");
    EXPECT_EQ(text_of(caller_string), L"010Aff");
}

TEST_F(Component, EnumerationsFillTheCallersVariants) {
    create(L"tree\\one");
    create(L"tree\\two");
    Variant empty, old_text(L"old");
    // The caller's array variable, which the component replaces in place.
    OwnedSafeArray old_array_owner;
    SAFEARRAY*& old_array = *old_array_owner.put();
    old_array = SafeArrayCreateVector(VT_VARIANT, 0, 3);
    VARIANT reference_to_empty = reference_to(empty);
    VARIANT reference_to_text = reference_to(old_text);
    VARIANT vb_array = reference_to(VT_ARRAY | VT_VARIANT, &old_array);  // a VB Variant array
    Variant plain;
    const std::pair<const char*, VARIANT*> targets[] = {{"Variant", &plain},
                                                        {"reference to Empty", &reference_to_empty},
                                                        {"reference to a text", &reference_to_text},
                                                        {"Variant array", &vb_array}};
    for (const auto& [what, target] : targets) {
        SCOPED_TRACE(what);
        LONG count = 0;
        ASSERT_EQ(object->EnumKeys(Bstr(key(L"tree")), target, &count), S_OK);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(elements(*target), (std::vector<std::wstring>{L"one", L"two"}));
    }

    // A key that cannot be opened: EnumKeys still empties its array, EnumValues leaves
    // both of its arguments alone.
    LONG count = 0;
    ASSERT_EQ(object->EnumKeys(Bstr(key(L"missing")), &plain, &count), S_OK);
    EXPECT_EQ(count, -1);
    EXPECT_TRUE(elements(plain).empty());
    Variant names(L"untouched"), values(L"untouched");
    ASSERT_EQ(object->EnumValues(Bstr(key(L"missing")), &names, &values, -1, &count), S_OK);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(text_of(V_BSTR(&names)), L"untouched");
    EXPECT_EQ(text_of(V_BSTR(&values)), L"untouched");

    // A number is a Long, texts and bytes are Strings, other types are Empty. (Names in
    // alphabetical order: Wine lists values by name, Windows in the order written.)
    LONG written = 0;
    object->WriteString(Bstr(key(L"tree")), Bstr(L"a"), Bstr(L"text"), &written);
    object->WriteDWORD(Bstr(key(L"tree")), Bstr(L"b"), -5, &written);
    object->WriteBinary(Bstr(key(L"tree")), Bstr(L"c"), Bstr(L"01 FF"), &written);
    OwnedKey raw;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (widened(scratch.sub_key()) + L"\\tree").c_str(), 0,
                            KEY_SET_VALUE, raw.put()),
              ERROR_SUCCESS);
    RegSetValueExW(raw.get(), L"d", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(L"%x%"), 8);
    ASSERT_EQ(object->EnumValues(Bstr(key(L"tree")), &names, &values, -1, &count), S_OK);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(elements(names), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(elements(values), (std::vector<std::wstring>{L"text", L"-5", L"01 FF", L"<empty>"}));

    LONG long_variable = 0;  // a reference to a Long cannot take an array
    VARIANT number = reference_to(VT_I4, &long_variable);
    EXPECT_EQ(object->EnumKeys(Bstr(key(L"tree")), &number, &count), type_mismatch);
}

TEST_F(Component, ExportShowsEachKeyOnItsOutputObject) {
    create(L"a\\b");
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file =
        std::wstring(folder) + L"com-export-" + widened(scratch.path().substr(14)) + L".reg";
    const std::wstring root = L"HKEY_CURRENT_USER\\" + widened(scratch.sub_key());
    struct Case {
        StatusBox::Kind kind;
        LONG result;
        std::vector<std::wstring> shown;
    };
    const Case cases[] = {
        {StatusBox::Kind::text_box, 1, {root, root + L"\\a", root + L"\\a\\b"}},
        {StatusBox::Kind::refusing_box, 0, {}},
        {StatusBox::Kind::no_text_property, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        DeleteFileW(file.c_str());
        StatusBox box(c.kind);
        LONG written = -1;
        ASSERT_EQ(
            object->ExportToReg(Bstr(key(L"")), Bstr(file), VARIANT_TRUE, Variant(&box), &written),
            S_OK);
        EXPECT_EQ(written, c.result);
        EXPECT_EQ(box.shown, c.shown);
    }

    // Left out by a script, or Nothing: no status, and the export goes on.
    const Variant here(key(L"")), path(file), no(false), nothing(static_cast<IDispatch*>(nullptr));
    for (const auto& arguments :
         {std::vector<VARIANT>{here, path, no}, std::vector<VARIANT>{here, path, no, nothing}}) {
        SCOPED_TRACE(arguments.size());
        DeleteFileW(file.c_str());
        Invocation call;
        invoke(*object.Get(), L"ExportToReg", call, arguments);
        EXPECT_EQ(call.code, S_OK);
        EXPECT_EQ(V_VT(&call.result), VT_I4);
        EXPECT_EQ(V_I4(&call.result), 1);
    }
    DeleteFileW(file.c_str());
}

TEST_F(Component, ScriptsGetAutomationTypesAndCoercedArguments) {
    create(L"k");
    Invocation exists, missing, number, text;
    invoke(*object.Get(), L"keyexists", exists, {Variant(key(L"k"))});  // names in any case
    invoke(*object.Get(), L"KeyExists", missing, {Variant(key(L"none"))});
    // A text where a long is expected is converted as VB converts it.
    invoke(*object.Get(), L"ReadDWORD", number,
           {Variant(key(L"k")), Variant(L"n"), Variant(L"42")});
    invoke(*object.Get(), L"ReadString", text,
           {Variant(key(L"k")), Variant(L"s"), Variant(L"default")});
    ASSERT_EQ(exists.code, S_OK);
    EXPECT_EQ(V_VT(&exists.result), VT_BOOL);
    EXPECT_EQ(V_BOOL(&exists.result), VARIANT_TRUE);  // -1
    EXPECT_EQ(V_BOOL(&missing.result), VARIANT_FALSE);
    ASSERT_EQ(number.code, S_OK);
    EXPECT_EQ(V_VT(&number.result), VT_I4);
    EXPECT_EQ(V_I4(&number.result), 42);
    ASSERT_EQ(text.code, S_OK);
    EXPECT_EQ(V_VT(&text.result), VT_BSTR);
    EXPECT_EQ(text_of(V_BSTR(&text.result)), L"default");

    // JScript passes its arguments by value: the array goes nowhere, the count comes
    // back and the caller's value stays as it was.
    for (VARTYPE kind : {VT_NULL, VT_EMPTY, VT_I4}) {
        SCOPED_TRACE(kind);
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = kind;
        Invocation enumerated;
        invoke(*object.Get(), L"EnumKeys", enumerated, {Variant(key(L"")), value});
        EXPECT_EQ(enumerated.code, S_OK);
        EXPECT_EQ(V_I4(&enumerated.result), 1);
        EXPECT_EQ(V_VT(&value), kind);
    }

    // The property: put through IDispatch, read back through the vtable.
    Variant off(false);
    DISPID put_id = DISPID_PROPERTYPUT, id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"CreateKeyIfDoesntExists");
    ASSERT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    DISPPARAMS put = {&off, &put_id, 1, 1};
    EXPECT_EQ(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put, nullptr,
                             nullptr, nullptr),
              S_OK);
    VARIANT_BOOL flag = VARIANT_TRUE;
    ASSERT_EQ(object->get_CreateKeyIfDoesntExists(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE);
}

}  // namespace
}  // namespace tarnwell::test
