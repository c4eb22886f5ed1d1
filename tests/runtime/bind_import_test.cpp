#include "runtime/bind_import.h"

#include <gtest/gtest.h>

#include "runtime/system.h"

namespace qh {
namespace {

// A module and a function every machine of the platform has: the C runtime
// on Linux, kernel32 on Windows.
struct KnownImport {
    const char* module;
    const char* function;
};

KnownImport Known() {
    if (System().PathSeparator() == '\\') return {"kernel32.dll", "GetTickCount"};
    return {"libc.so.6", "strlen"};
}

TEST(BindImportTest, BindsByNameAndCutsDecoratedNames) {
    const KnownImport k = Known();
    const BindResult plain = TryBindImport(k.module, k.function);
    ASSERT_EQ(plain.failure, BindFailure::None);
    ASSERT_NE(plain.address, nullptr);
    const BindResult decorated = TryBindImport(k.module, Text(k.function) + "@4");
    EXPECT_EQ(decorated.address, plain.address);
    EXPECT_EQ(BindImport(k.module, k.function), plain.address);
}

TEST(BindImportTest, ReportsWhatIsMissing) {
    EXPECT_EQ(TryBindImport("qinghe_no_such_module.dll", "Anything").failure, BindFailure::MissingModule);
    EXPECT_EQ(TryBindImport("", "Anything").failure, BindFailure::MissingModule);
    const KnownImport k = Known();
    EXPECT_EQ(TryBindImport(k.module, "QingheNoSuchFunction").failure, BindFailure::MissingFunction);
    EXPECT_EQ(TryBindImport(k.module, "@4").failure, BindFailure::MissingFunction);
    EXPECT_EQ(TryBindImport(k.module, "#0").failure, BindFailure::MissingFunction);
}

// The web browser host binds atl.dll's AtlAxWinInit by ordinal 42.
TEST(BindImportTest, OrdinalsBindTheSameFunctionAsNamesOnWindows) {
    if (System().PathSeparator() != '\\') GTEST_SKIP() << "shared objects have no ordinals";
    const BindResult byOrdinal = TryBindImport("atl.dll", "#42");
    const BindResult byName = TryBindImport("atl.dll", "AtlAxWinInit");
    ASSERT_EQ(byName.failure, BindFailure::None);
    EXPECT_EQ(byOrdinal.address, byName.address);
}

}  // namespace
}  // namespace qh
