#include <gtest/gtest.h>

#include <filesystem>

#include "vormi/platform/Process.h"

namespace vormi {

namespace {

TEST(ProcessTest, ExecutablePathNamesThisProgram) {
    const std::filesystem::path path = platform::ExecutablePath();
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.stem(), "platform_tests") << path;
}

}  // namespace

}  // namespace vormi
