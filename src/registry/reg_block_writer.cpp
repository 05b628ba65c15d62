#include "registry/reg_block_writer.h"

#include "common/little_endian.h"
#include "registry/key_path.h"

namespace tarnwell {

RegBlockWriter::RegBlockWriter(RegistryApi& api, const std::string& sPath) : api_(api) {
    std::string path = sPath;
    root_ = parse_key_path(path, sub_key_);
}

RegBlockWriter::~RegBlockWriter() {
    if (key_ != 0) api_.close_key(key_);
}

reg_key RegBlockWriter::writable(bool create) {
    if (key_ != 0) return key_;
    // Creating opens an existing key too. A key that refuses writing is opened for
    // reading only, so the writes through it fail, as the class's writes would.
    reg_key key = 0;
    const long status = create ? api_.create_key(root_, sub_key_.c_str(), &key)
                               : api_.open_key(root_, sub_key_.c_str(), reg::key_write, &key);
    return status == reg::success ? key_ = key : 0;
}

void RegBlockWriter::set(const std::string& name, std::uint32_t type, const std::string& data) {
    const reg_key key = writable(true);
    if (key == 0) return;
    static const std::uint8_t none = 0;
    const auto* bytes = data.empty() ? &none : reinterpret_cast<const std::uint8_t*>(data.data());
    api_.set_value(key, name.c_str(), type, bytes, static_cast<std::uint32_t>(data.size()));
}

void RegBlockWriter::write_text(const std::string& name, const std::string& text) {
    set(name == "@" ? std::string() : name, reg::type_sz, text + '\0');
}

void RegBlockWriter::write_binary(const std::string& name, const std::string& bytes) {
    set(name, reg::type_binary, bytes);
}

void RegBlockWriter::write_number(const std::string& name, std::int32_t number) {
    set(name, reg::type_dword, u32_le_bytes(static_cast<std::uint32_t>(number)));
}

void RegBlockWriter::delete_value(const std::string& name) {
    const reg_key key = writable(false);
    if (key != 0) api_.delete_value(key, name.c_str());
}

}  // namespace tarnwell
