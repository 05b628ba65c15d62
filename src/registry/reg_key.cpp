#include "registry/reg_key.h"

#include <algorithm>
#include <utility>

#include "common/little_endian.h"
#include "registry/registry_limits.h"

namespace tarnwell {

namespace {

// An entry that grows between the size query and the read makes the read report more
// data; it is read again with larger buffers a few times before the read gives up.
constexpr int max_read_attempts = 4;

// The first buffers when the key cannot tell its longest entries: room for a name or a
// short text of 255 characters and its NUL.
constexpr std::size_t least_buffer = 256;

std::uint32_t size_of(std::size_t size) { return static_cast<std::uint32_t>(size); }

// The registry reads names as NUL-terminated texts: a name holding a NUL would reach a
// different key or value, the part before the NUL, and is refused instead.
bool holds_nul(const std::string& name) { return name.find('\0') != std::string::npos; }

}  // namespace

RegKey::RegKey(RegKey&& other) noexcept
    : api_(other.api_),
      handle_(std::exchange(other.handle_, 0)),
      owns_(std::exchange(other.owns_, false)),
      name_buffer_(std::move(other.name_buffer_)),
      data_buffer_(std::move(other.data_buffer_)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        close();
        api_ = other.api_;
        handle_ = std::exchange(other.handle_, 0);
        owns_ = std::exchange(other.owns_, false);
        name_buffer_ = std::move(other.name_buffer_);
        data_buffer_ = std::move(other.data_buffer_);
    }
    return *this;
}

Status RegKey::open_by(How how, reg_key parent, const std::string& sub_key, std::uint32_t access) {
    if (holds_nul(sub_key)) return Status(reg::invalid_parameter);
    reg_key result = 0;
    Status status;
    switch (how) {
    case How::open:
        status = api_->open_key(parent, sub_key.c_str(), access, &result);
        break;
    case How::open_link:
        status = api_->open_link(parent, sub_key.c_str(), access, &result);
        break;
    case How::open_default:
        status = api_->open_key_default(parent, sub_key.c_str(), &result);
        break;
    case How::create:
        status = api_->create_key(parent, sub_key.c_str(), &result);
        break;
    }
    if (!status.ok()) return status;
    // The key held goes only now that its successor is open. When the registry hands
    // this key's own handle back (an empty sub_key below it), it stays as it was.
    if (result != handle_) {
        close();
        handle_ = result;
        owns_ = result != parent;
    }
    return status;
}

Status RegKey::open(reg_key parent, const std::string& sub_key, std::uint32_t access) {
    return open_by(How::open, parent, sub_key, access);
}

Status RegKey::open_link(reg_key parent, const std::string& sub_key, std::uint32_t access) {
    return open_by(How::open_link, parent, sub_key, access);
}

bool RegKey::is_link() const {
    std::uint32_t type = reg::type_none;
    std::uint32_t size = 0;
    return query_value(reg::link_value_name, &type, nullptr, &size) == reg::success &&
           type == reg::type_link;
}

Status RegKey::open_default(reg_key parent, const std::string& sub_key) {
    return open_by(How::open_default, parent, sub_key, 0);
}

Status RegKey::create(reg_key parent, const std::string& sub_key) {
    return open_by(How::create, parent, sub_key, 0);
}

void RegKey::close() {
    // A key that will not close is let go all the same: no caller could do more.
    if (owns_) (void)api_->close_key(handle_);
    handle_ = 0;
    owns_ = false;
}

Status RegKey::query_info(RegKeyInfo& info) {
    RegKeyInfo read;
    const Status status =
        api_->query_key_info(handle_, &read.subkeys, &read.longest_subkey, &read.values,
                             &read.longest_value_name, &read.longest_data);
    if (status != reg::success) return status;
    info = read;
    // The enumeration buffers are sized from the first answer, so that listing the key
    // asks no more.
    if (name_buffer_.empty()) fit_buffers(read, 0);
    return status;
}

Status RegKey::query_value(const std::string& name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) const {
    if (holds_nul(name)) return Status(reg::invalid_parameter);
    return api_->query_value(handle_, name.c_str(), type, data, size);
}

Status RegKey::read_value(const std::string& name, RegValueEntry& value) const {
    std::uint32_t type = reg::type_none;
    std::uint32_t size = 0;
    Status status = query_value(name, &type, nullptr, &size);
    for (int attempt = 1; status == reg::success && attempt <= max_read_attempts; ++attempt) {
        std::string data(size, '\0');
        std::uint32_t got = size;
        status = query_value(name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &got);
        if (status == reg::more_data && attempt < max_read_attempts) {
            size = std::max(got, size_of(data.size() * 2));
            status = Status(reg::success);
            continue;
        }
        if (status == reg::success) {
            data.resize(std::min<std::size_t>(got, data.size()));
            value.name = name;
            value.type = type;
            value.data = std::move(data);
        }
        break;
    }
    return status;
}

Status RegKey::set_value(const std::string& name, std::uint32_t type,
                         const std::string& bytes) const {
    // The registry wants a data pointer even for no data.
    static const std::uint8_t nothing = 0;
    const auto* data =
        bytes.empty() ? &nothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (holds_nul(name)) return Status(reg::invalid_parameter);
    return api_->set_value(handle_, name.c_str(), type, data, size_of(bytes.size()));
}

Status RegKey::set_string(const std::string& name, const std::string& text) const {
    return set_value(name, reg::type_sz, text + '\0');
}

Status RegKey::set_dword(const std::string& name, std::uint32_t number) const {
    return set_value(name, reg::type_dword, u32_le_bytes(number));
}

Status RegKey::set_binary(const std::string& name, const std::string& bytes) const {
    return set_value(name, reg::type_binary, bytes);
}

Status RegKey::delete_value(const std::string& name) const {
    if (holds_nul(name)) return Status(reg::invalid_parameter);
    return api_->delete_value(handle_, name.c_str());
}

Status RegKey::delete_key(const std::string& sub_key) const {
    if (holds_nul(sub_key)) return Status(reg::invalid_parameter);
    return api_->delete_key(handle_, sub_key.c_str());
}

void RegKey::fit_buffers(const RegKeyInfo& info, std::uint32_t reported_data_size) {
    // Windows counts names in UTF-16 units and data in stored bytes, UTF-16 for texts;
    // in UTF-8 a unit takes at most three bytes, and two bytes of text at most three.
    const std::size_t longest_name =
        std::min(std::max(info.longest_subkey, info.longest_value_name),
                 registry_limits::longest_value_name) *
            std::size_t{3} +
        1;
    const std::size_t longest_data = info.longest_data + info.longest_data / 2 + 1;
    name_buffer_.resize(std::max({name_buffer_.size(), longest_name, least_buffer}));
    data_buffer_.resize(std::max<std::size_t>(
        {data_buffer_.size(), longest_data, reported_data_size, least_buffer}));
}

void RegKey::grow_buffers(std::uint32_t reported_data_size) {
    name_buffer_.resize(name_buffer_.size() * 2);
    data_buffer_.resize(data_buffer_.size() * 2);
    RegKeyInfo info;
    (void)query_info(info);  // a failed query leaves the least buffers
    fit_buffers(info, reported_data_size);
}

Status RegKey::enum_subkey(std::uint32_t index, std::string& name) {
    if (name_buffer_.empty()) grow_buffers(0);
    for (int attempt = 1;; ++attempt) {
        std::uint32_t size = size_of(name_buffer_.size());
        const Status status = api_->enum_subkey(handle_, index, name_buffer_.data(), &size);
        if (status == reg::more_data && attempt < max_read_attempts) {
            grow_buffers(0);
            continue;
        }
        if (status == reg::success)
            name.assign(name_buffer_.data(), std::min<std::size_t>(size, name_buffer_.size()));
        return status;
    }
}

Status RegKey::enum_value(std::uint32_t index, RegValueEntry& value) {
    if (name_buffer_.empty()) grow_buffers(0);
    for (int attempt = 1;; ++attempt) {
        std::uint32_t name_size = size_of(name_buffer_.size());
        std::uint32_t data_size = size_of(data_buffer_.size());
        std::uint32_t type = reg::type_none;
        const Status status = api_->enum_value(handle_, index, name_buffer_.data(), &name_size,
                                               &type, data_buffer_.data(), &data_size);
        if (status == reg::more_data && attempt < max_read_attempts) {
            grow_buffers(data_size);
            continue;
        }
        if (status == reg::success) {
            value.name.assign(name_buffer_.data(),
                              std::min<std::size_t>(name_size, name_buffer_.size()));
            value.type = type;
            value.data.assign(reinterpret_cast<const char*>(data_buffer_.data()),
                              std::min<std::size_t>(data_size, data_buffer_.size()));
        }
        return status;
    }
}

}  // namespace tarnwell
