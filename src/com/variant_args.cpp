#include "com/variant_args.h"

#include <new>
#include <utility>

#include "com/com_error.h"
#include "com/com_text.h"
#include "platform/win32/owned.h"

namespace tarnwell::com {

namespace {

// Keeps an array's data locked while the elements are filled in.
class ArrayData {
public:
    explicit ArrayData(SAFEARRAY* array) : array_(array) {
        if (FAILED(SafeArrayAccessData(array_, reinterpret_cast<void**>(&data_))))
            throw std::bad_alloc();
    }
    ~ArrayData() { SafeArrayUnaccessData(array_); }
    ArrayData(const ArrayData&) = delete;
    ArrayData& operator=(const ArrayData&) = delete;
    VARIANT& operator[](std::size_t i) { return data_[i]; }

private:
    SAFEARRAY* array_;
    VARIANT* data_ = nullptr;
};

OwnedSafeArray new_variant_array(std::size_t count) {
    if (count > 0x7FFFFFFFu) throw std::bad_alloc();
    OwnedSafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(count)));
    if (!array) throw std::bad_alloc();
    return array;
}

void put_bstr(VARIANT& element, const std::string& text) {
    V_BSTR(&element) = new_bstr(text);
    V_VT(&element) = VT_BSTR;
}

com_error type_mismatch(const wchar_t* detail) {
    return com_error(vb_type_mismatch, std::wstring(L"Type mismatch: ") + detail);
}

// The VARIANT a script client's reference points at (references may be chained).
VARIANT* referenced(VARIANT* argument) {
    if (argument == nullptr) throw com_error(E_POINTER, L"Invalid pointer");
    while (V_VT(argument) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(argument) != nullptr)
        argument = V_VARIANTREF(argument);
    return argument;
}

}  // namespace

SAFEARRAY* variant_array(const std::vector<std::string>& texts) {
    OwnedSafeArray array = new_variant_array(texts.size());
    {
        ArrayData data(array.get());
        for (std::size_t i = 0; i < texts.size(); ++i)
            put_bstr(data[i], texts[i]);
    }
    return array.release();
}

SAFEARRAY* variant_array(const std::vector<RegValue>& values) {
    OwnedSafeArray array = new_variant_array(values.size());
    {
        ArrayData data(array.get());
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (const auto* text = std::get_if<std::string>(&values[i])) {
                put_bstr(data[i], *text);
            } else if (const auto* number = std::get_if<std::int32_t>(&values[i])) {
                V_I4(&data[i]) = *number;
                V_VT(&data[i]) = VT_I4;
            }  // A value of another type stays Empty.
        }
    }
    return array.release();
}

void put_array(VARIANT* target, SAFEARRAY* array) {
    OwnedSafeArray owned(array);
    VARIANT* place = referenced(target);
    const wchar_t* const locked = L"This array is fixed or temporarily locked";
    if (V_VT(place) == (VT_BYREF | VT_ARRAY | VT_VARIANT)) {
        // The caller's array goes first; a locked one stays where it is.
        SAFEARRAY** slot = V_ARRAYREF(place);
        if (!OwnedSafeArray(*slot).reset()) throw com_error(vb_error(10), locked);
        *slot = owned.release();
        return;
    }
    if (V_VT(place) & VT_BYREF) throw type_mismatch(L"the argument must be a Variant");
    if (!OwnedVariant::clear(*place)) throw com_error(vb_error(10), locked);
    V_ARRAY(place) = owned.release();
    V_VT(place) = VT_ARRAY | VT_VARIANT;
}

std::string text_of(VARIANT* argument) {
    VARIANT* value = referenced(argument);
    if (V_VT(value) == VT_BSTR) return utf8_text(V_BSTR(value));
    if (V_VT(value) == (VT_BYREF | VT_BSTR)) return utf8_text(*V_BSTRREF(value));
    OwnedVariant text;
    if (FAILED(VariantChangeType(text.get(), value, 0, VT_BSTR)))
        throw type_mismatch(L"the argument must be a text");
    return utf8_text(V_BSTR(text.get()));
}

void put_text(VARIANT* target, const std::string& text) {
    VARIANT* place = referenced(target);
    if (V_VT(place) == (VT_BYREF | VT_BSTR)) {
        // The caller's old text goes once the new one is made.
        const OwnedBstr old(std::exchange(*V_BSTRREF(place), new_bstr(text)));
        return;
    }
    // A reference to a variable of another type gets no text back, as when VB passes a
    // temporary copy of a variable whose type differs from the parameter's.
    if (V_VT(place) & VT_BYREF) return;
    // Made first: the caller's value stays when there is no memory for the new one.
    OwnedBstr fresh(new_bstr(text));
    OwnedVariant::clear(*place);
    V_BSTR(place) = fresh.release();
    V_VT(place) = VT_BSTR;
}

Microsoft::WRL::ComPtr<IDispatch> optional_object(const VARIANT& argument) {
    const VARIANT* value = &argument;
    while (V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value) != nullptr)
        value = V_VARIANTREF(value);
    const com_error not_an_object = type_mismatch(L"Output must be an object with a Text property");
    Microsoft::WRL::ComPtr<IUnknown> object;
    switch (V_VT(value)) {
    case VT_EMPTY:
    case VT_NULL:
        return nullptr;
    case VT_ERROR:
        if (V_ERROR(value) == DISP_E_PARAMNOTFOUND) return nullptr;  // left out
        throw not_an_object;
    case VT_DISPATCH:
        object = V_DISPATCH(value);
        break;
    case VT_BYREF | VT_DISPATCH:
        object = *V_DISPATCHREF(value);
        break;
    case VT_UNKNOWN:
        object = V_UNKNOWN(value);
        break;
    case VT_BYREF | VT_UNKNOWN:
        object = *V_UNKNOWNREF(value);
        break;
    default:
        throw not_an_object;
    }
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    if (object && FAILED(object.As(&dispatch))) throw not_an_object;
    return dispatch;  // null for Nothing
}

}  // namespace tarnwell::com
