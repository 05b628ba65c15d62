#include "registry/key_path.h"

#include <string_view>

#include "common/text.h"

namespace tarnwell {

namespace {

// Where the root name of a path lies: after one optional leading backslash, up to the
// first backslash after it or the end.
struct RootText {
    std::size_t start = 0;
    std::size_t length = 0;
};

RootText root_text(std::string_view path) {
    RootText text;
    text.start = !path.empty() && path[0] == '\\' ? 1 : 0;
    const std::size_t end = path.find('\\', text.start);
    text.length = (end == std::string_view::npos ? path.size() : end) - text.start;
    return text;
}

// The known root of that name, in either form and any letter case; nullptr for none.
const RootName* known_root(std::string_view name, bool& abbreviated) {
    for (const RootName& root : root_names) {
        abbreviated = equals_ignoring_case(name, root.abbreviation);
        if (abbreviated || equals_ignoring_case(name, root.long_name)) return &root;
    }
    return nullptr;
}

}  // namespace

Result<KeyPath> read_key_path(const std::string& path) {
    const RootText text = root_text(path);
    const std::string_view name = std::string_view(path).substr(text.start, text.length);
    bool abbreviated = false;
    const RootName* root = known_root(name, abbreviated);
    if (root == nullptr) return Status::failure("unknown root \"" + std::string(name) + "\"");
    KeyPath read;
    read.root = root->key;
    const std::size_t end = text.start + text.length;
    if (end < path.size()) read.sub_key = path.substr(end + 1);
    return read;
}

std::string with_long_root(const std::string& path) {
    const RootText text = root_text(path);
    bool abbreviated = false;
    const RootName* root =
        known_root(std::string_view(path).substr(text.start, text.length), abbreviated);
    if (root == nullptr || !abbreviated) return path;
    return path.substr(0, text.start) + root->long_name + path.substr(text.start + text.length);
}

std::string with_reg_exe_root(const std::string& path) {
    const RootText text = root_text(path);
    if (!equals_ignoring_case(std::string_view(path).substr(text.start, text.length), "HKU"))
        return path;
    return path.substr(0, text.start) + "HKEY_USERS" + path.substr(text.start + text.length);
}

Result<KeyPath> read_command_key_path(const std::string& path) {
    return read_key_path(with_reg_exe_root(path));
}

std::string long_key_path(const KeyPath& path) {
    std::string text;
    for (const RootName& root : root_names)
        if (root.key == path.root) text = root.long_name;
    if (!path.sub_key.empty()) text += "\\" + path.sub_key;
    return text;
}

}  // namespace tarnwell
