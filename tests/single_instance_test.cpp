#include "shell/single_instance.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace arkivo {
namespace {

TEST(SingleInstanceTest, IdentifierIsTheFileNameAndTheFixedText) {
    EXPECT_EQ(InstanceIdentifier("/opt/arkivo/ArkivoNav"),
              "ArkivoNav-- Mutex identifier Quenlow function CheckForSingleInstance()");
    EXPECT_EQ(InstanceIdentifier("/elsewhere/ArkivoNav"), InstanceIdentifier("/opt/ArkivoNav"));
    EXPECT_NE(InstanceIdentifier("/opt/ArkivoNav"), InstanceIdentifier("/opt/ArkivoNav2"));
}

TEST(SingleInstanceTest, FileNameKeepsOnlySafeCharacters) {
    EXPECT_EQ(InstanceFileName(InstanceIdentifier("/opt/ArkivoIE"), "/run/user/1000/"),
              "ArkivoIE--_Mutex_identifier_Quenlow_function_CheckForSingleInstance__");
}

TEST(SingleInstanceTest, NamesKeepTheSocketPathShortAndStayDistinct) {
    const std::string directory = "/run/user/1000/";
    const std::string a =
        InstanceFileName(InstanceIdentifier(std::string(200, 'a') + "1"), directory);
    const std::string b =
        InstanceFileName(InstanceIdentifier(std::string(200, 'a') + "2"), directory);
    EXPECT_EQ(directory.size() + a.size(), 107u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, InstanceFileName(InstanceIdentifier(std::string(200, 'a') + "1"), directory));

    const std::string deep = "/tmp/" + std::string(60, 'd') + "/";
    const std::string nav = InstanceFileName(InstanceIdentifier("/opt/ArkivoNav"), deep);
    EXPECT_LE(deep.size() + nav.size(), 107u);
    EXPECT_NE(nav, InstanceFileName(InstanceIdentifier("/opt/ArkivoIE"), deep));
}

TEST(SingleInstanceTest, DirectoryIsTheRuntimeDirectoryWhenSet) {
    {
        testing::ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000");
        EXPECT_EQ(InstanceDirectory(), "/run/user/1000/");
    }
    testing::ScopedEnv unset("XDG_RUNTIME_DIR", "");
    EXPECT_FALSE(InstanceDirectory().empty());
    EXPECT_EQ(InstanceDirectory().back(), '/');
}

TEST(SingleInstanceTest, OnlyOneHolderAtATime) {
    testing::TempDir dir;
    InstanceLock first;
    InstanceLock second;
    EXPECT_EQ(first.Acquire(dir / "x.lock"), LockOutcome::Acquired);
    EXPECT_EQ(second.Acquire(dir / "x.lock"), LockOutcome::HeldElsewhere);
    InstanceLock other;
    EXPECT_EQ(other.Acquire(dir / "y.lock"), LockOutcome::Acquired);
}

TEST(SingleInstanceTest, ALockLeftBehindDoesNotBlock) {
    testing::TempDir dir;
    testing::WriteFile(dir / "x.lock", "");
    {
        InstanceLock ended;
        ASSERT_EQ(ended.Acquire(dir / "x.lock"), LockOutcome::Acquired);
    }
    InstanceLock next;
    EXPECT_EQ(next.Acquire(dir / "x.lock"), LockOutcome::Acquired);
}

TEST(SingleInstanceTest, AnUnusableDirectoryIsReportedAsSuch) {
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire("/nonexistent-arkivo-dir/x.lock"), LockOutcome::Unavailable);
}

}  // namespace
}  // namespace arkivo
