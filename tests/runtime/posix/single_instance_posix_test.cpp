#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "runtime/process.h"
#include "runtime/single_instance.h"

namespace qh {
namespace {

// The abstract socket names bound on this machine, as the kernel lists them
// ("@" for the leading zero byte).
std::set<std::string> BoundAbstractNames() {
    std::set<std::string> names;
    std::ifstream table("/proc/net/unix");
    std::string line;
    while (std::getline(table, line)) {
        const auto at = line.find(" @");
        if (at != std::string::npos) names.insert(line.substr(at + 2));
    }
    return names;
}

// A mark in the namespace every user shares must carry the user, or one user
// holding the updater's name would keep every other user's updater out.
TEST(SingleInstancePosix, OneUsersMarkDoesNotBlockAnotherUser) {
    const Text name = "QingheCalcUpdateTest-user-" + std::to_string(CurrentProcessId());
    const auto mark = SingleInstance::Acquire(name);
    ASSERT_NE(mark, nullptr);
    const auto bound = BoundAbstractNames();
    EXPECT_EQ(bound.count(std::to_string(::getuid()) + ":" + name), 1u);
    EXPECT_EQ(bound.count(name), 0u);

    // Different users, and names that end in digits or hold colons, never
    // meet under one bound name.
    const struct {
        const char* name;
        std::uint32_t user;
    } pairs[] = {{"Q", 1000}, {"Q", 100}, {"0:Q", 100}, {"Q", 1001}, {"1:Q", 100}, {"00:Q", 10}, {"Q", 0}};
    std::set<Text> seen;
    for (const auto& p : pairs) {
        const Text scoped = PerUserInstanceName(p.name, p.user);
        EXPECT_TRUE(seen.insert(scoped).second) << scoped;
        EXPECT_EQ(scoped.rfind(std::to_string(p.user) + ":", 0), 0u) << scoped;
    }
}

}  // namespace
}  // namespace qh
