#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace tarnwell {

namespace {

// Handles cross as 32-bit values: the predefined roots are negative 32-bit numbers
// that must sign-extend on 64-bit Windows; opened handles fit in 32 bits.
HKEY to_hkey(reg_key key) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<std::int32_t>(key)));
}

reg_key from_hkey(HKEY key) { return static_cast<reg_key>(reinterpret_cast<ULONG_PTR>(key)); }

// A DWORD in/out argument behind a nullable std::uint32_t pointer.
class Dword {
public:
    explicit Dword(std::uint32_t* target) : target_(target), value_(target ? *target : 0) {}
    ~Dword() {
        if (target_) *target_ = value_;
    }
    Dword(const Dword&) = delete;
    Dword& operator=(const Dword&) = delete;
    DWORD* get() { return target_ ? &value_ : nullptr; }

private:
    std::uint32_t* target_;
    DWORD value_;
};

Status opened(LSTATUS status, HKEY key, reg_key* result) {
    if (result) *result = from_hkey(key);
    return status;
}

}  // namespace

Status Win32Registry::open_key_default(reg_key key, const char* sub_key, reg_key* result) {
    HKEY out = nullptr;
    const LSTATUS status = ::RegOpenKeyA(to_hkey(key), sub_key, result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::open_key(reg_key key, const char* sub_key, std::uint32_t access,
                               reg_key* result) {
    HKEY out = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExA(to_hkey(key), sub_key, 0, access, result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::create_key(reg_key key, const char* sub_key, reg_key* result) {
    HKEY out = nullptr;
    const LSTATUS status = ::RegCreateKeyA(to_hkey(key), sub_key, result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::close_key(reg_key key) { return ::RegCloseKey(to_hkey(key)); }

Status Win32Registry::delete_key(reg_key key, const char* sub_key) {
    return ::RegDeleteKeyA(to_hkey(key), sub_key);
}

Status Win32Registry::delete_value(reg_key key, const char* value_name) {
    return ::RegDeleteValueA(to_hkey(key), value_name);
}

Status Win32Registry::enum_subkey(reg_key key, std::uint32_t index, char* name,
                                  std::uint32_t* name_size) {
    Dword size(name_size);
    return ::RegEnumKeyExA(to_hkey(key), index, name, size.get(), nullptr, nullptr, nullptr,
                           nullptr);
}

Status Win32Registry::enum_value(reg_key key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* data_size) {
    Dword size(name_size), kind(type), length(data_size);
    return ::RegEnumValueA(to_hkey(key), index, name, size.get(), nullptr, kind.get(), data,
                           length.get());
}

Status Win32Registry::query_key_info(reg_key key, std::uint32_t* sub_keys,
                                     std::uint32_t* max_sub_key_len, std::uint32_t* values,
                                     std::uint32_t* max_value_name_len,
                                     std::uint32_t* max_value_len) {
    Dword keys(sub_keys), key_len(max_sub_key_len), count(values), name_len(max_value_name_len),
        data_len(max_value_len);
    return ::RegQueryInfoKeyA(to_hkey(key), nullptr, nullptr, nullptr, keys.get(), key_len.get(),
                              nullptr, count.get(), name_len.get(), data_len.get(), nullptr,
                              nullptr);
}

Status Win32Registry::query_value(reg_key key, const char* value_name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* data_size) {
    Dword kind(type), length(data_size);
    return ::RegQueryValueExA(to_hkey(key), value_name, nullptr, kind.get(), data, length.get());
}

Status Win32Registry::set_value(reg_key key, const char* value_name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t data_size) {
    return ::RegSetValueExA(to_hkey(key), value_name, 0, type, data, data_size);
}

}  // namespace tarnwell
