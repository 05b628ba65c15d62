#include "platform/host/host_registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <vector>

#include "common/utf8.h"

// The twin follows what advapi32 does under Wine, call by call: return codes, what is
// written to the caller's buffers and sizes on each outcome, the order of
// enumeration (subkeys AND values sorted by name, case-insensitively; real Windows
// keeps values in the order they were first written), and Wine's limits on names (a
// key name of more than 256 characters, a value name of more than 16,383). Names and texts are UTF-8, as the program keeps them;
// lengths and sizes that Windows counts in the stored UTF-16 form are counted so here.

namespace tarnwell {

namespace {

constexpr std::uint32_t key_query_value = 0x0001;
constexpr std::uint32_t key_set_value = 0x0002;
constexpr std::uint32_t key_enumerate_sub_keys = 0x0008;
constexpr std::uint32_t delete_access = 0x00010000;
constexpr std::uint32_t generic_read = 0x80000000;
constexpr std::uint32_t generic_write = 0x40000000;
constexpr std::uint32_t generic_execute = 0x20000000;
constexpr std::uint32_t generic_all = 0x10000000;
constexpr std::uint32_t wow64_view_flags = 0x0300;

constexpr long no_access = 998;

constexpr std::size_t max_key_name = 256;
constexpr std::size_t max_value_name = 16383;

// A UTF-16 unit in lower case, as Wine compares names: the letters of the Latin, Greek
// and Cyrillic alphabets (the twin's tests use no others).
char16_t folded(char16_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    if (c == 0x178) return 0xFF;
    // Latin Extended-A pairs each capital with the small letter after it, on even
    // capitals except between U+0139 and U+0148 and from U+0179, where they are odd.
    const bool odd_pairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool even_pairs = c >= 0x100 && c <= 0x177 && c != 0x130 && c != 0x131 &&
                            c != 0x138 && c != 0x149 && !odd_pairs;
    if ((odd_pairs && c % 2 == 1) || (even_pairs && c % 2 == 0))
        return static_cast<char16_t>(c + 1);
    return c;
}

bool ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char16_t unit(char c) { return static_cast<unsigned char>(c); }
char16_t unit(char16_t c) { return c; }

template <class Text>
int compare_folded(const Text& a, const Text& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = folded(unit(a[i]));
        const char16_t y = folded(unit(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int compare_names(const std::string& a, const std::string& b) {
    if (ascii(a) && ascii(b)) return compare_folded(a, b);
    return compare_folded(utf16_from_utf8(a), utf16_from_utf8(b));
}

// A name's or text's length as Windows counts it, in UTF-16 units.
std::size_t utf16_length(std::string_view text) {
    return ascii(text) ? text.size() : utf16_from_utf8(text).size();
}

std::uint32_t map_generic(std::uint32_t access) {
    std::uint32_t mapped =
        access & ~(generic_read | generic_write | generic_execute | generic_all | wow64_view_flags);
    if (access & (generic_read | generic_execute)) mapped |= reg::key_read;
    if (access & generic_write) mapped |= reg::key_write;
    if (access & generic_all) mapped |= reg::key_all_access;
    return mapped;
}

std::string text_or_empty(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

struct HostRegistry::State {
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;  // as the caller wrote it (ANSI for texts)

        std::uint32_t stored_size() const {
            const auto size = static_cast<std::uint32_t>(data.size());
            return reg::is_text_type(type)
                       ? static_cast<std::uint32_t>(
                             2 * utf16_length(std::string_view(
                                     reinterpret_cast<const char*>(data.data()), data.size())))
                       : size;
        }
    };

    struct Node {
        std::string name;
        Node* parent = nullptr;
        std::vector<std::shared_ptr<Node>> subkeys;  // sorted by compare_names
        std::vector<Value> values;                   // sorted by compare_names
        bool deleted = false;
        bool read_only = false;
        bool root = false;  // a predefined root or what one stands for: never deleted
        // A registry link: every open but open_link of its last name goes on to this key.
        bool is_link = false;
        std::weak_ptr<Node> link_target;

        template <typename T>
        static auto position(std::vector<T>& items, const std::string& name,
                             const std::string& (*name_of)(const T&)) {
            return std::lower_bound(items.begin(), items.end(), name,
                                    [name_of](const T& item, const std::string& n) {
                                        return compare_names(name_of(item), n) < 0;
                                    });
        }
        static const std::string& node_name(const std::shared_ptr<Node>& n) { return n->name; }
        static const std::string& value_name(const Value& v) { return v.name; }

        std::shared_ptr<Node> find_subkey(const std::string& n) {
            auto it = position(subkeys, n, &node_name);
            if (it != subkeys.end() && compare_names((*it)->name, n) == 0) return *it;
            return nullptr;
        }
        std::shared_ptr<Node> add_subkey(const std::string& n) {
            auto node = std::make_shared<Node>();
            node->name = n;
            node->parent = this;
            subkeys.insert(position(subkeys, n, &node_name), node);
            return node;
        }
        void remove_subkey(const Node* child) {
            subkeys.erase(std::find_if(subkeys.begin(), subkeys.end(),
                                       [child](const auto& n) { return n.get() == child; }));
        }
        Value* find_value(const std::string& n) {
            auto it = position(values, n, &value_name);
            if (it != values.end() && compare_names(it->name, n) == 0) return &*it;
            return nullptr;
        }
        Value& value_for_write(const std::string& n) {
            auto it = position(values, n, &value_name);
            if (it != values.end() && compare_names(it->name, n) == 0) return *it;
            Value v;
            v.name = n;
            return *values.insert(it, std::move(v));
        }
        void remove_value(const Value* v) { values.erase(values.begin() + (v - values.data())); }
    };

    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access = 0;
    };

    // A key a call works on: a predefined root (full access) or an open handle.
    struct Target {
        long status = reg::success;
        Node* node = nullptr;
        std::shared_ptr<Node> shared;
        std::uint32_t access = 0;
    };

    std::shared_ptr<Node> machine = make_root("");
    // HKEY_LOCAL_MACHINE\SOFTWARE and, below it, where its 32-bit view is kept.
    std::shared_ptr<Node> machine_software = make_path(machine, {"Software"});
    std::shared_ptr<Node> wow64_software = make_path(machine_software, {"Wow6432Node"});
    std::shared_ptr<Node> user = make_root("");
    std::shared_ptr<Node> dyn_data = make_root("");
    std::map<reg_key, std::shared_ptr<Node>> roots;
    std::map<reg_key, Handle> handles;
    reg_key next_handle = 0x40;

    State() {
        roots[reg::local_machine] = machine;
        roots[reg::users] = user;
        roots[reg::dyn_data] = dyn_data;
        roots[reg::classes_root] = make_path(machine, {"Software", "Classes"});
        roots[reg::current_user] = make_path(user, {"S-1-5-21-0-0-0-1000"});
        roots[reg::current_config] =
            make_path(machine, {"System", "CurrentControlSet", "Hardware Profiles", "Current"});
        make_path(user, {".Default"});
    }

    static std::shared_ptr<Node> make_root(const std::string& name) {
        auto node = std::make_shared<Node>();
        node->name = name;
        node->root = true;
        return node;
    }

    static std::shared_ptr<Node> make_path(std::shared_ptr<Node> node,
                                           std::initializer_list<const char*> names) {
        for (const char* n : names) {
            auto child = node->find_subkey(n);
            node = child ? child : node->add_subkey(n);
            node->root = true;
        }
        return node;
    }

    static bool is_predefined(reg_key key) {
        return key >= reg::classes_root && key <= reg::dyn_data;
    }

    // Resolves a key for a call that needs the given access on it.
    Target target(reg_key key, std::uint32_t needed) {
        Target t;
        auto root = roots.find(key);
        if (root != roots.end()) {
            t.shared = root->second;
            t.access = reg::key_all_access;
        } else {
            auto h = handles.find(key);
            if (h == handles.end()) {
                t.status = reg::invalid_handle;
                return t;
            }
            t.shared = h->second.node;
            t.access = h->second.access;
        }
        t.node = t.shared.get();
        // The handle's access is checked before whether its key still exists.
        if ((t.access & needed) != needed)
            t.status = reg::access_denied;
        else if (t.node->deleted)
            t.status = reg::key_deleted;
        return t;
    }

    // Splits a subkey text into its names; empty names (doubled or trailing
    // backslashes) are skipped.
    static long split(const char* sub_key, std::vector<std::string>& names) {
        const std::string text = text_or_empty(sub_key);
        if (!text.empty() && text[0] == '\\') return reg::bad_pathname;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\\', start);
            if (end == std::string::npos) end = text.size();
            if (end > start) names.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return reg::success;
    }

    // The access an open of this key is granted, or 0 when it is refused.
    static std::uint32_t granted(const Node& node, std::uint32_t requested) {
        const std::uint32_t access = map_generic(requested);
        if (access & reg::maximum_allowed)
            return node.read_only ? reg::key_read : reg::key_all_access;
        if (node.read_only && (access & ~reg::key_read)) return 0;
        return access;
    }

    // The key a link leads to, following links that lead to links a few times as Windows
    // does; nullptr when the target went or the links go on too long.
    static std::shared_ptr<Node> followed(std::shared_ptr<Node> node) {
        for (int hop = 0; node && node->is_link; ++hop)
            node = hop < 16 ? node->link_target.lock() : nullptr;
        return node;
    }

    // The key a name of the registry stands for in the view: in the 32-bit view
    // HKEY_LOCAL_MACHINE\SOFTWARE is its Wow6432Node subkey.
    std::shared_ptr<Node> in_view(std::shared_ptr<Node> node, bool wow64_32) const {
        return wow64_32 && node == machine_software ? wow64_software : node;
    }

    long open(reg_key key, const char* sub_key, std::uint32_t access, bool create, reg_key* result,
              bool wow64_32, bool link_itself = false) {
        if (!result) return reg::invalid_parameter;
        *result = 0;
        Target t = target(key, 0);
        if (t.status != reg::success) return t.status;
        std::vector<std::string> names;
        if (long status = split(sub_key, names); status != reg::success) return status;
        std::shared_ptr<Node> node = t.shared;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& n = names[i];
            if (utf16_length(n) > max_key_name) return reg::invalid_parameter;
            // The view applies to the keys the path names, not to the key it starts
            // from; Wow6432Node itself is found in either view.
            if (i > 0 && compare_names(n, wow64_software->name) != 0)
                node = in_view(node, wow64_32);
            std::shared_ptr<Node> child = node->find_subkey(n);
            if (!child) {
                if (!create) return reg::file_not_found;
                if (node->read_only) return reg::access_denied;
                child = node->add_subkey(n);
            }
            if (!(link_itself && i + 1 == names.size())) child = followed(child);
            if (!child) return reg::file_not_found;
            node = child;
        }
        if (!names.empty()) node = in_view(node, wow64_32);
        const std::uint32_t rights = granted(*node, access);
        if (!rights) return reg::access_denied;
        const reg_key handle = next_handle;
        next_handle += 4;
        handles[handle] = Handle{node, rights};
        *result = handle;
        return reg::success;
    }

    // Wine deletes through any handle, whatever access it was opened with; a key
    // whose security allows only reading is never deleted.
    static long delete_node(Node& node) {
        if (node.root || node.read_only || !node.subkeys.empty()) return reg::access_denied;
        node.deleted = true;
        node.values.clear();
        node.parent->remove_subkey(&node);
        return reg::success;
    }

    // Copies a value's data as the registry calls do: texts come back in UTF-8 (a NUL
    // is added after a text without one when the buffer has room), a short buffer gets
    // nothing and ERROR_MORE_DATA; *reported is the data's size.
    static long copy_data(const Value& v, std::uint8_t* data, std::uint32_t* data_size,
                          std::uint32_t& reported) {
        const auto len = static_cast<std::uint32_t>(v.data.size());
        reported = len;
        if (!data || (reg::is_text_type(v.type) && len == 0)) return reg::success;
        if (len > *data_size) return reg::more_data;
        if (len) std::memcpy(data, v.data.data(), len);
        if (reg::is_text_type(v.type) && len < *data_size && data[len - 1]) data[len] = 0;
        return reg::success;
    }
};

HostRegistry::HostRegistry() : state_(std::make_shared<State>()), wow64_32_(false) {}
HostRegistry::HostRegistry(HostRegistry& same, RegistryView view)
    : state_(same.state_), wow64_32_(view == RegistryView::bits32) {}
HostRegistry::~HostRegistry() = default;

Status HostRegistry::open_key_default(reg_key key, const char* sub_key, reg_key* result) {
    if (!result) return Status(reg::invalid_parameter);
    if (!sub_key || !*sub_key) {
        *result = key;
        return Status(reg::success);
    }
    return open_key(key, sub_key, reg::maximum_allowed, result);
}

Status HostRegistry::open_key(reg_key key, const char* sub_key, std::uint32_t access,
                              reg_key* result) {
    if (!result) return Status(reg::invalid_parameter);
    if ((!sub_key || !*sub_key) && State::is_predefined(key)) {
        *result = key;
        return Status(reg::success);
    }
    return Status(state_->open(key, sub_key, access, false, result, wow64_32_));
}

Status HostRegistry::open_link(reg_key key, const char* sub_key, std::uint32_t access,
                               reg_key* result) {
    if (!result) return Status(reg::invalid_parameter);
    if ((!sub_key || !*sub_key) && State::is_predefined(key)) {
        *result = key;
        return Status(reg::success);
    }
    return Status(state_->open(key, sub_key, access, false, result, wow64_32_, true));
}

Status HostRegistry::create_key(reg_key key, const char* sub_key, reg_key* result) {
    return Status(state_->open(key, sub_key, reg::maximum_allowed, true, result, wow64_32_));
}

Status HostRegistry::close_key(reg_key key) {
    if (State::is_predefined(key)) return Status(reg::success);
    return Status(state_->handles.erase(key) ? reg::success : reg::invalid_handle);
}

Status HostRegistry::delete_key(reg_key key, const char* sub_key) {
    if (!sub_key || !*sub_key) {
        State::Target t = state_->target(key, 0);
        if (t.status != reg::success) return Status(t.status);
        return Status(State::delete_node(*t.node));
    }
    reg_key opened = 0;
    if (long status = state_->open(key, sub_key, delete_access, false, &opened, wow64_32_);
        status != reg::success)
        return Status(status);
    const long status = State::delete_node(*state_->handles[opened].node);
    (void)close_key(opened);  // a handle the twin just gave out always closes
    return Status(status);
}

Status HostRegistry::delete_value(reg_key key, const char* value_name) {
    State::Target t = state_->target(key, key_set_value);
    if (t.status != reg::success) return Status(t.status);
    State::Value* v = t.node->find_value(text_or_empty(value_name));
    if (!v) return Status(reg::file_not_found);
    t.node->remove_value(v);
    return Status(reg::success);
}

Status HostRegistry::enum_subkey(reg_key key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size) {
    State::Target t = state_->target(key, key_enumerate_sub_keys);
    if (t.status != reg::success) return Status(t.status);
    if (!name || !name_size) return Status(reg::invalid_parameter);
    if (index >= t.node->subkeys.size()) return Status(reg::no_more_items);
    const std::string& found = t.node->subkeys[index]->name;
    if (found.size() >= *name_size) return Status(reg::more_data);
    std::memcpy(name, found.c_str(), found.size() + 1);
    *name_size = static_cast<std::uint32_t>(found.size());
    return Status(reg::success);
}

Status HostRegistry::enum_value(reg_key key, std::uint32_t index, char* name,
                                std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* data_size) {
    if (data && !data_size) return Status(reg::invalid_parameter);
    State::Target t = state_->target(key, key_query_value);
    if (t.status != reg::success) return Status(t.status);
    if (index >= t.node->values.size()) return Status(reg::no_more_items);
    const State::Value& v = t.node->values[index];
    std::uint32_t reported = 0;
    long status = State::copy_data(v, data, data_size, reported);
    if (name && name_size && status == reg::success) {
        const auto len = static_cast<std::uint32_t>(v.name.size());
        if (len >= *name_size) {
            // A short name buffer gets as much of the name as fits, then a NUL.
            status = reg::more_data;
            if (*name_size) {
                std::memcpy(name, v.name.data(), *name_size - 1);
                name[*name_size - 1] = 0;
            }
        } else {
            std::memcpy(name, v.name.c_str(), len + 1);
            *name_size = len;
        }
    }
    if (type) *type = v.type;
    if (data_size) *data_size = reported;
    return Status(status);
}

Status HostRegistry::query_key_info(reg_key key, std::uint32_t* sub_keys,
                                    std::uint32_t* max_sub_key_len, std::uint32_t* values,
                                    std::uint32_t* max_value_name_len,
                                    std::uint32_t* max_value_len) {
    State::Target t = state_->target(key, 0);
    if (t.status != reg::success) return Status(t.status);
    std::uint32_t longest_key = 0, longest_name = 0, longest_data = 0;
    for (const auto& n : t.node->subkeys)
        longest_key = std::max(longest_key, static_cast<std::uint32_t>(utf16_length(n->name)));
    for (const State::Value& v : t.node->values) {
        longest_name = std::max(longest_name, static_cast<std::uint32_t>(utf16_length(v.name)));
        longest_data = std::max(longest_data, v.stored_size());
    }
    if (sub_keys) *sub_keys = static_cast<std::uint32_t>(t.node->subkeys.size());
    if (max_sub_key_len) *max_sub_key_len = longest_key;
    if (values) *values = static_cast<std::uint32_t>(t.node->values.size());
    if (max_value_name_len) *max_value_name_len = longest_name;
    if (max_value_len) *max_value_len = longest_data;
    return Status(reg::success);
}

Status HostRegistry::query_value(reg_key key, const char* value_name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* data_size) {
    if (data && !data_size) return Status(reg::invalid_parameter);
    // Before anything else the type reads REG_NONE and, when no data is asked for,
    // the size 0; a failure leaves them so.
    if (type) *type = reg::type_none;
    if (!data && data_size) *data_size = 0;
    State::Target t = state_->target(key, key_query_value);
    if (t.status != reg::success) return Status(t.status);
    const State::Value* v = t.node->find_value(text_or_empty(value_name));
    if (!v) return Status(reg::file_not_found);
    std::uint32_t reported = 0;
    const long status = State::copy_data(*v, data, data_size, reported);
    if (type) *type = v->type;
    if (data_size) *data_size = reported;
    return Status(status);
}

Status HostRegistry::set_value(reg_key key, const char* value_name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t data_size) {
    State::Target t = state_->target(key, key_set_value);
    if (t.status != reg::success) return Status(t.status);
    const std::string name = text_or_empty(value_name);
    if (utf16_length(name) > max_value_name) return Status(reg::invalid_parameter);
    if (!data && data_size) return Status(no_access);
    State::Value& v = t.node->value_for_write(name);
    v.type = type;
    v.data.assign(data, data + data_size);
    return Status(reg::success);
}

void HostRegistry::set_read_only(reg_key root, const std::string& sub_key, bool read_only) {
    State::Target t = state_->target(root, 0);
    std::vector<std::string> names;
    if (t.status != reg::success || State::split(sub_key.c_str(), names) != reg::success)
        throw std::invalid_argument("set_read_only: no such key");
    std::shared_ptr<State::Node> node = t.shared;
    for (const std::string& n : names) {
        node = node->find_subkey(n);
        if (!node) throw std::invalid_argument("set_read_only: no such key: " + sub_key);
    }
    node->read_only = read_only;
}

void HostRegistry::make_link(reg_key root, const std::string& sub_key, reg_key target_root,
                             const std::string& target_sub_key) {
    reg_key target = 0;
    if (open_key(target_root, target_sub_key.c_str(), reg::key_read, &target) != reg::success)
        throw std::invalid_argument("make_link: no such target: " + target_sub_key);
    const std::shared_ptr<State::Node> target_node = state_->handles[target].node;
    (void)close_key(target);  // a handle the twin just gave out always closes
    reg_key link = 0;
    if (create_key(root, sub_key.c_str(), &link) != reg::success)
        throw std::invalid_argument("make_link: cannot make " + sub_key);
    std::shared_ptr<State::Node> node = state_->handles[link].node;
    (void)close_key(link);  // a handle the twin just gave out always closes
    node->is_link = true;
    node->link_target = target_node;
    // Windows keeps the target's NT path, in UTF-16 without a NUL; the twin keeps its
    // subkey path.
    State::Value& value = node->value_for_write(reg::link_value_name);
    value.type = reg::type_link;
    value.data.assign(target_sub_key.begin(), target_sub_key.end());
}

std::size_t HostRegistry::open_handles() const { return state_->handles.size(); }

}  // namespace tarnwell
