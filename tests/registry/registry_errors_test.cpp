// The words messages use for registry statuses and value types.
#include <gtest/gtest.h>

#include "platform/registry_api.h"
#include "registry/registry_errors.h"

namespace tarnwell {
namespace {

TEST(RegistryErrors, StatusesAreNamedWithTheirNumber) {
    const std::pair<long, const char*> cases[] = {
        {2, "Windows error 2 (not found)"},
        {5, "Windows error 5 (access denied)"},
        {6, "Windows error 6 (invalid handle)"},
        {87, "Windows error 87 (invalid parameter)"},
        {161, "Windows error 161 (invalid path)"},
        {206, "Windows error 206 (name too long)"},
        {234, "Windows error 234 (more data: a buffer or a name too long)"},
        {1010, "Windows error 1010 (invalid key)"},
        {1013, "Windows error 1013 (the key could not be written)"},
        {1018, "Windows error 1018 (key deleted)"},
        {1234, "Windows error 1234"},
    };
    for (const auto& [status, text] : cases)
        EXPECT_EQ(registry_error_text(status), text);
}

TEST(RegistryErrors, ValueTypesAreNamedInWords) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {reg::type_none, "value without a type"},
        {reg::type_sz, "text"},
        {reg::type_expand_sz, "expandable text"},
        {reg::type_binary, "binary"},
        {reg::type_dword, "number"},
        {5, "big-endian number"},
        {6, "link"},
        {reg::type_multi_sz, "multi-text"},
        {8, "resource list"},
        {11, "64-bit number"},
        {0x12345, "type 74565"},
    };
    for (const auto& [type, name] : cases)
        EXPECT_EQ(value_type_name(type), name);
}

}  // namespace
}  // namespace tarnwell
