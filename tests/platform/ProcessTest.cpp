#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Process.h"

namespace {

TEST(ProcessTest, ExecutablePathNamesThisProgram) {
    const std::filesystem::path path = platform::ExecutablePath();
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.stem(), "platform_tests") << path;
}

}  // namespace
