#include "vtable_client.h"

#include "windows_api/windows_api.h"
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>

#include "../status_box.h"
#include "com/tarnwell_registry.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/win32/owned.h"

namespace tarnwell::test {

namespace {

// The class takes and gives UTF-8 texts; byte texts (StrToBin's result, BinToStr's
// argument) hold one ANSI character for each byte.
std::wstring wide(const std::string& text) {
    const std::u16string w = utf16_from_utf8(text);
    return std::wstring(w.begin(), w.end());
}

std::wstring wide_bytes(const std::string& bytes) {
    const std::u16string w = utf16_from_ansi(bytes);
    return std::wstring(w.begin(), w.end());
}

std::string utf8(const wchar_t* text, std::size_t size) {
    return utf8_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), size));
}

std::string utf8(BSTR text) { return text ? utf8(text, SysStringLen(text)) : std::string(); }

std::string bytes_of(BSTR text) {
    if (text == nullptr) return std::string();
    return ansi_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(text),
                                               SysStringLen(text)))
        .value_or("<not ANSI>");
}

// A BSTR argument made from a UTF-8 text (or from its UTF-16 form), freed after the call.
class Text {
public:
    explicit Text(const std::string& text) : Text(wide(text)) {}
    explicit Text(const std::wstring& w)
        : bstr_(SysAllocStringLen(w.data(), static_cast<UINT>(w.size()))) {}
    operator BSTR() const { return bstr_.get(); }

private:
    OwnedBstr bstr_;
};

// A BSTR result as UTF-8 text, or as byte text; the BSTR is freed.
std::string taken(BSTR text) { return utf8(OwnedBstr(text).get()); }

std::string taken_bytes(BSTR text) { return bytes_of(OwnedBstr(text).get()); }

// A failed call: the component's overflow is the sequence's `raised`; anything else
// is a fault of the component and ends the run.
void check(HRESULT code) {
    if (SUCCEEDED(code)) return;
    std::string description;
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK) {
        BSTR text = nullptr;
        info->GetDescription(&text);
        description = taken(text);
    }
    if (code == static_cast<HRESULT>(0x800A0006)) throw raised{description};
    char number[16];
    std::snprintf(number, sizeof number, "%08lX", static_cast<unsigned long>(code));
    throw std::runtime_error("error 0x" + std::string(number) + ": " + description);
}

struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { OwnedVariant::clear(*this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

RegValue element_value(const VARIANT& element) {
    RegValue value;
    if (V_VT(&element) == VT_BSTR)
        value = utf8(V_BSTR(&element));
    else if (V_VT(&element) == VT_I4)
        value = static_cast<std::int32_t>(V_I4(&element));
    else if (V_VT(&element) != VT_EMPTY)
        throw std::runtime_error("an out array holds a VARIANT of type " +
                                 std::to_string(V_VT(&element)));
    return value;
}

// The elements of an out array argument after the call; false, and `values`
// unchanged, when the component left the argument as it was (a text).
bool array_values(const VARIANT& holder, std::vector<RegValue>& values) {
    if (V_VT(&holder) == VT_BSTR) return false;
    if (V_VT(&holder) != (VT_ARRAY | VT_VARIANT))
        throw std::runtime_error("an out argument holds neither an array nor what it had");
    SAFEARRAY* array = V_ARRAY(&holder);
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    if (lower != 0) throw std::runtime_error("an out array does not start at 0");
    values.clear();
    for (LONG i = 0; i <= upper; ++i) {
        Variant element;
        SafeArrayGetElement(array, &i, &element);
        values.push_back(element_value(element));
    }
    return true;
}

// The same for an array of texts.
bool array_texts(const VARIANT& holder, std::vector<std::string>& texts) {
    std::vector<RegValue> values;
    if (!array_values(holder, values)) return false;
    texts.clear();
    for (const RegValue& value : values) {
        const auto* text = std::get_if<std::string>(&value);
        if (text == nullptr) throw std::runtime_error("an array of texts holds something else");
        texts.push_back(*text);
    }
    return true;
}

void put_sentinel(VARIANT& argument) {
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(L"untouched");
}

class VtableClient : public RegistryClient {
public:
    VtableClient() {
        const HRESULT created =
            CoCreateInstance(CLSID_clsRegistryAccess, nullptr, CLSCTX_INPROC_SERVER,
                             IID__clsRegistryAccess, reinterpret_cast<void**>(o_.GetAddressOf()));
        if (FAILED(created)) throw std::runtime_error("the component is not registered");
    }
    void set_CreateKeyIfDoesntExists(bool offon) override {
        check(o_->put_CreateKeyIfDoesntExists(offon ? VARIANT_TRUE : VARIANT_FALSE));
    }
    int CreateKeyIfDoesntExists() override {
        VARIANT_BOOL flag = 1;
        check(o_->get_CreateKeyIfDoesntExists(&flag));
        return flag;
    }
    std::int32_t CreateKey(const std::string& p) override {
        LONG r = 0;
        check(o_->CreateKey(Text(p), &r));
        return r;
    }
    std::int32_t KillKey(const std::string& p) override {
        LONG r = 0;
        check(o_->KillKey(Text(p), &r));
        return r;
    }
    int KeyExists(const std::string& p) override {
        VARIANT_BOOL r = 1;
        check(o_->KeyExists(Text(p), &r));
        return r;
    }
    std::int32_t EnumKeys(const std::string& p, std::vector<std::string>& k) override {
        Variant keys;
        put_sentinel(keys);
        LONG r = 0;
        check(o_->EnumKeys(Text(p), &keys, &r));
        if (!array_texts(keys, k)) throw std::runtime_error("EnumKeys gave no array");
        return r;
    }
    int HaveSubkey(const std::string& p) override {
        VARIANT_BOOL r = 1;
        check(o_->HaveSubkey(Text(p), &r));
        return r;
    }
    std::int32_t WriteString(const std::string& p, const std::string& n,
                             const std::string& v) override {
        LONG r = 0;
        check(o_->WriteString(Text(p), Text(n), Text(v), &r));
        return r;
    }
    std::string ReadString(const std::string& p, const std::string& n,
                           const std::string& d) override {
        BSTR r = nullptr;
        check(o_->ReadString(Text(p), Text(n), Text(d), &r));
        return taken(r);
    }
    std::int32_t WriteDWORD(const std::string& p, const std::string& n, std::int32_t v) override {
        LONG r = 0;
        check(o_->WriteDWORD(Text(p), Text(n), v, &r));
        return r;
    }
    std::int32_t ReadDWORD(const std::string& p, const std::string& n, std::int32_t d) override {
        LONG r = 0;
        check(o_->ReadDWORD(Text(p), Text(n), d, &r));
        return r;
    }
    std::int32_t WriteBinary(const std::string& p, const std::string& n,
                             const std::string& v) override {
        LONG r = 0;
        check(o_->WriteBinary(Text(p), Text(n), Text(v), &r));
        return r;
    }
    std::string ReadBinary(const std::string& p, const std::string& n,
                           const std::string& d) override {
        BSTR r = nullptr;
        check(o_->ReadBinary(Text(p), Text(n), Text(d), &r));
        return taken(r);
    }
    std::int32_t KillValue(const std::string& p, const std::string& n) override {
        LONG r = 0;
        check(o_->KillValue(Text(p), Text(n), &r));
        return r;
    }
    int ValueExists(const std::string& p, const std::string& n) override {
        VARIANT_BOOL r = 1;
        check(o_->ValueExists(Text(p), Text(n), &r));
        return r;
    }
    std::int32_t EnumValues(const std::string& p, std::vector<std::string>& n,
                            std::vector<RegValue>& v, std::int32_t type) override {
        Variant names, values;
        put_sentinel(names);
        put_sentinel(values);
        LONG r = 0;
        check(o_->EnumValues(Text(p), &names, &values, type, &r));
        if (array_texts(names, n) != array_values(values, v))
            throw std::runtime_error("EnumValues filled one array of two");
        return r;
    }
    std::int32_t ExportToReg(const std::string& p, const std::string& file, bool subkeys,
                             std::vector<std::string>* shown) override {
        StatusBox box;
        VARIANT output;
        VariantInit(&output);
        if (shown) {
            V_VT(&output) = VT_DISPATCH;
            V_DISPATCH(&output) = &box;
        } else {  // an optional argument left out
            V_VT(&output) = VT_ERROR;
            V_ERROR(&output) = DISP_E_PARAMNOTFOUND;
        }
        LONG r = 0;
        check(o_->ExportToReg(Text(p), Text(file), subkeys ? VARIANT_TRUE : VARIANT_FALSE, output,
                              &r));
        if (shown)
            for (const std::wstring& text : box.shown)
                shown->push_back(utf8(text.data(), text.size()));
        return r;
    }
    std::int32_t ImportFromReg(const std::string& file) override {
        LONG r = 0;
        check(o_->ImportFromReg(Text(file), &r));
        return r;
    }
    std::string StrToBin(std::string& hex) override {
        // A VB String variable passed to the Variant parameter by reference.
        const std::wstring w = wide(hex);
        BSTR variable = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
        VARIANT argument;
        V_VT(&argument) = VT_BYREF | VT_BSTR;
        V_BSTRREF(&argument) = &variable;
        BSTR r = nullptr;
        const HRESULT code = o_->StrToBin(&argument, &r);
        hex = taken(variable);
        check(code);
        return taken_bytes(r);
    }
    std::string BinToStr(const std::string& bytes) override {
        BSTR r = nullptr;
        check(o_->BinToStr(Text(wide_bytes(bytes)), &r));
        return taken(r);
    }
    int isBinValid(const std::string& hex) override {
        VARIANT_BOOL r = 1;
        check(o_->isBinValid(Text(hex), &r));
        return r;
    }

private:
    Microsoft::WRL::ComPtr<_clsRegistryAccess> o_;
};

}  // namespace

std::unique_ptr<RegistryClient> new_vtable_client() { return std::make_unique<VtableClient>(); }

}  // namespace tarnwell::test
