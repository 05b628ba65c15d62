#include "platform/win32/win32_registry.h"

#include "windows_api/windows_api.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "platform/win32/win32_text.h"

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

// A name for a wide call: null stays null.
class WideName {
public:
    explicit WideName(const char* utf8) : null_(utf8 == nullptr), text_(utf8 ? wide(utf8) : L"") {}
    const wchar_t* get() const { return null_ ? nullptr : text_.c_str(); }

private:
    bool null_;
    std::wstring text_;
};

Status opened(LSTATUS status, HKEY key, reg_key* result) {
    if (result) *result = from_hkey(key);
    return Status(status);
}

// The longest name a key or value can have, in UTF-16 units, and its NUL.
constexpr DWORD name_buffer_units = 16384;

// Gives a name the wide call found to the caller as UTF-8, by the rules of the name
// buffers of the registry calls: `size` in, the buffer's size; out, the name's length
// without its NUL; a buffer too small for the name and its NUL gets ERROR_MORE_DATA
// and, when `truncate`, as much of the name as fits before a NUL.
LSTATUS give_name(const std::wstring& found, char* name, std::uint32_t* size, bool truncate) {
    const std::string text = narrow(found);
    if (text.size() >= *size) {
        if (truncate && *size > 0) {
            std::memcpy(name, text.data(), *size - 1);
            name[*size - 1] = '\0';
        }
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, text.c_str(), text.size() + 1);
    *size = static_cast<std::uint32_t>(text.size());
    return ERROR_SUCCESS;
}

// A value's data as the program keeps it: texts in UTF-8 (Windows stores them in
// UTF-16), every other type as stored.
std::string program_data(DWORD type, const std::vector<BYTE>& stored, DWORD size) {
    const auto* bytes = reinterpret_cast<const char*>(stored.data());
    if (!reg::is_text_type(type)) return std::string(bytes, size);
    return utf8_from_utf16(utf16_of_le_bytes(std::string_view(bytes, size)));
}

// Gives a value's data to the caller by the rules of the registry calls' data buffers:
// with no buffer only its size; a buffer too small gets ERROR_MORE_DATA and the size.
// A text is followed by a NUL when it has none and the buffer has room.
LSTATUS give_data(DWORD type, const std::string& value, std::uint8_t* data,
                  std::uint32_t* data_size) {
    const auto size = static_cast<std::uint32_t>(value.size());
    if (data == nullptr) {
        if (data_size) *data_size = size;
        return ERROR_SUCCESS;
    }
    const std::uint32_t room = *data_size;
    *data_size = size;
    if (size > room) return ERROR_MORE_DATA;
    std::memcpy(data, value.data(), size);
    if (reg::is_text_type(type) && size > 0 && size < room && value.back() != '\0') data[size] = 0;
    return ERROR_SUCCESS;
}

// Reads a value's type and stored bytes with a wide call that `read` makes, growing the
// buffer while the value grows between calls.
template <class Read>
LSTATUS read_stored(Read read, DWORD& type, std::vector<BYTE>& stored, DWORD& size) {
    stored.resize(256);
    for (;;) {
        size = static_cast<DWORD>(stored.size());
        const LSTATUS status = read(&type, stored.data(), &size);
        if (status != ERROR_MORE_DATA) return status;
        stored.resize(std::max<std::size_t>(size, stored.size() * 2));
    }
}

}  // namespace

Win32Registry::Win32Registry(RegistryView view)
    : view_flag_(view == RegistryView::bits32   ? KEY_WOW64_32KEY
                 : view == RegistryView::bits64 ? KEY_WOW64_64KEY
                                                : 0) {}

Status Win32Registry::open_key_default(reg_key key, const char* sub_key, reg_key* result) {
    // RegOpenKeyW is RegOpenKeyExW with MAXIMUM_ALLOWED, but for an empty sub_key, which
    // gives the parent itself back.
    if (view_flag_ != 0 && sub_key != nullptr && *sub_key != '\0')
        return open_key(key, sub_key, MAXIMUM_ALLOWED, result);
    HKEY out = nullptr;
    const LSTATUS status =
        ::RegOpenKeyW(to_hkey(key), WideName(sub_key).get(), result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::open_key(reg_key key, const char* sub_key, std::uint32_t access,
                               reg_key* result) {
    HKEY out = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(to_hkey(key), WideName(sub_key).get(), 0,
                                           access | view_flag_, result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::open_link(reg_key key, const char* sub_key, std::uint32_t access,
                                reg_key* result) {
    HKEY out = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExW(to_hkey(key), WideName(sub_key).get(), REG_OPTION_OPEN_LINK,
                        access | view_flag_, result ? &out : nullptr);
    return opened(status, out, result);
}

Status Win32Registry::create_key(reg_key key, const char* sub_key, reg_key* result) {
    HKEY out = nullptr;
    // RegCreateKeyW is RegCreateKeyExW with MAXIMUM_ALLOWED.
    const LSTATUS status =
        view_flag_ == 0
            ? ::RegCreateKeyW(to_hkey(key), WideName(sub_key).get(), result ? &out : nullptr)
            : ::RegCreateKeyExW(to_hkey(key), WideName(sub_key).get(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED | view_flag_, nullptr,
                                result ? &out : nullptr, nullptr);
    return opened(status, out, result);
}

Status Win32Registry::close_key(reg_key key) { return Status(::RegCloseKey(to_hkey(key))); }

Status Win32Registry::delete_key(reg_key key, const char* sub_key) {
    if (view_flag_ == 0) return Status(::RegDeleteKeyW(to_hkey(key), WideName(sub_key).get()));
    return Status(::RegDeleteKeyExW(to_hkey(key), WideName(sub_key).get(), view_flag_, 0));
}

Status Win32Registry::delete_value(reg_key key, const char* value_name) {
    return Status(::RegDeleteValueW(to_hkey(key), WideName(value_name).get()));
}

Status Win32Registry::enum_subkey(reg_key key, std::uint32_t index, char* name,
                                  std::uint32_t* name_size) {
    if (name == nullptr || name_size == nullptr) return Status(ERROR_INVALID_PARAMETER);
    std::wstring found(name_buffer_units, L'\0');
    DWORD length = name_buffer_units;
    const LSTATUS status = ::RegEnumKeyExW(to_hkey(key), index, &found[0], &length, nullptr,
                                           nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return Status(status);
    found.resize(length);
    return Status(give_name(found, name, name_size, false));
}

Status Win32Registry::enum_value(reg_key key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* data_size) {
    if (data != nullptr && data_size == nullptr) return Status(ERROR_INVALID_PARAMETER);
    std::wstring found(name_buffer_units, L'\0');
    DWORD kind = REG_NONE;
    DWORD size = 0;
    std::vector<BYTE> stored;
    const LSTATUS status = read_stored(
        [&](DWORD* t, BYTE* bytes, DWORD* length) {
            DWORD name_length = name_buffer_units;
            const LSTATUS read = ::RegEnumValueW(to_hkey(key), index, &found[0], &name_length,
                                                 nullptr, t, bytes, length);
            if (read == ERROR_SUCCESS) found.resize(name_length);
            return read;
        },
        kind, stored, size);
    if (status != ERROR_SUCCESS) return Status(status);
    if (type) *type = kind;
    LSTATUS given = give_data(kind, program_data(kind, stored, size), data, data_size);
    if (name != nullptr && name_size != nullptr && given == ERROR_SUCCESS)
        given = give_name(found, name, name_size, true);
    return Status(given);
}

Status Win32Registry::query_key_info(reg_key key, std::uint32_t* sub_keys,
                                     std::uint32_t* max_sub_key_len, std::uint32_t* values,
                                     std::uint32_t* max_value_name_len,
                                     std::uint32_t* max_value_len) {
    Dword keys(sub_keys), key_len(max_sub_key_len), count(values), name_len(max_value_name_len),
        data_len(max_value_len);
    return Status(::RegQueryInfoKeyW(to_hkey(key), nullptr, nullptr, nullptr, keys.get(),
                                     key_len.get(), nullptr, count.get(), name_len.get(),
                                     data_len.get(), nullptr, nullptr));
}

Status Win32Registry::query_value(reg_key key, const char* value_name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* data_size) {
    if (data != nullptr && data_size == nullptr) return Status(ERROR_INVALID_PARAMETER);
    const WideName name(value_name);
    DWORD kind = REG_NONE;
    DWORD size = 0;
    std::vector<BYTE> stored;
    const LSTATUS status = read_stored(
        [&](DWORD* t, BYTE* bytes, DWORD* length) {
            return ::RegQueryValueExW(to_hkey(key), name.get(), nullptr, t, bytes, length);
        },
        kind, stored, size);
    if (type) *type = status == ERROR_SUCCESS ? kind : REG_NONE;
    if (status != ERROR_SUCCESS) {
        if (data == nullptr && data_size != nullptr) *data_size = 0;
        return Status(status);
    }
    return Status(give_data(kind, program_data(kind, stored, size), data, data_size));
}

Status Win32Registry::set_value(reg_key key, const char* value_name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t data_size) {
    const WideName name(value_name);
    if (!reg::is_text_type(type) || data == nullptr)
        return Status(::RegSetValueExW(to_hkey(key), name.get(), 0, type, data, data_size));
    std::wstring stored = wide(std::string_view(reinterpret_cast<const char*>(data), data_size));
    const auto size = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
    // Windows counts a NUL just past the data as the text's own when the caller left it
    // out; a unit other than NUL there keeps the data exactly as given.
    stored += L'?';
    return Status(::RegSetValueExW(to_hkey(key), name.get(), 0, type,
                                   reinterpret_cast<const BYTE*>(stored.data()), size));
}

}  // namespace tarnwell
