// The words messages use for registry statuses.
#include <gtest/gtest.h>

#include "registry/registry_errors.h"

namespace tarnwell {
namespace {

TEST(RegistryErrors, StatusesAreNamedWithTheirNumber) {
    const std::pair<long, const char*> cases[] = {
        {87, "Windows error 87 (invalid parameter)"},
        {206, "Windows error 206 (name too long)"},
        {1018, "Windows error 1018 (key deleted)"},
        {1234, "Windows error 1234"},
    };
    for (const auto& [status, text] : cases)
        EXPECT_EQ(registry_error_text(Status(status)), text);
}

}  // namespace
}  // namespace tarnwell
