// A value that grows between the query of its size and the read of its data is read
// whole, on the twin and under Wine.
#include <gtest/gtest.h>

#include "platform/system_platform.h"
#include "registry/reg_key.h"
#include "support/registry_test_support.h"
#include "support/scratch_key.h"

namespace tarnwell::test {
namespace {

TEST(ChangingValue, AValueThatGrowsBeforeItsReadIsReadWhole) {
    SystemPlatform system;
    RegistryApi& api = system.platform().registry;
    const ScratchKey scratch(api);
    for (const std::size_t size : {1u, 255u, 4096u}) {
        SCOPED_TRACE(size);
        const std::string before(size, 'a');
        const std::string after = before + 'b';
        put_value(api, reg::current_user, scratch.sub_key(), "v", reg::type_binary, before);
        int queries = 0;
        // Another program writes a longer value after the size was asked for.
        HookedRegistry growing(api, [&](const HookedRegistry::Call& call) {
            if (call.operation == "query_value" && ++queries == 2)
                put_value(api, reg::current_user, scratch.sub_key(), "v", reg::type_binary, after);
            return std::optional<long>();
        });
        RegKey key(growing);
        ASSERT_EQ(key.open(reg::current_user, scratch.sub_key(), reg::key_read), reg::success);
        RegValueEntry value;
        ASSERT_EQ(key.read_value("v", value), reg::success);
        EXPECT_GE(queries, 3);
        EXPECT_EQ(value.data, after);
        EXPECT_EQ(value.type, reg::type_binary);
    }
}

}  // namespace
}  // namespace tarnwell::test
