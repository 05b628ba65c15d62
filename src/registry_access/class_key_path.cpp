#include "registry_access/class_key_path.h"

#include <string_view>

#include "common/text.h"

namespace tarnwell {

KeyPath class_key_path(const std::string& given) {
    std::string path = given;
    const std::size_t start = !path.empty() && path[0] == '\\' ? 1 : 0;
    for (const RootName& root : root_names) {
        if (starts_with_ignoring_case(std::string_view(path).substr(start), root.long_name)) {
            path.replace(0, start + std::char_traits<char>::length(root.long_name),
                         root.abbreviation);
            break;
        }
    }
    KeyPath split;
    const std::size_t backslash = path.find('\\');
    if (backslash != std::string::npos) split.sub_key = path.substr(backslash + 1);
    // The root text is four characters or, without a backslash, the whole path; the
    // strict reading of that text alone says which root it names. A leading backslash
    // left in it names none.
    const std::string root_text = backslash != std::string::npos ? path.substr(0, 4) : path;
    if (root_text.empty() || root_text[0] != '\\') {
        const Result<KeyPath> root = read_key_path(root_text);
        if (root.ok()) split.root = root->root;
    }
    return split;
}

Result<KeyPath> class_key_path_reading(const std::string& path) { return class_key_path(path); }

std::string class_export_path(const std::string& path) {
    if (read_key_path(path).ok()) return path;
    const KeyPath read = class_key_path(with_long_root(path));
    return read.root != 0 ? long_key_path(read) : path;
}

}  // namespace tarnwell
