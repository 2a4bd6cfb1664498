#include <gtest/gtest.h>

#include "platform/Process.h"

namespace {

TEST(ProcessTest, ExecutablePathNamesThisProgram) {
    const std::string path = platform::ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(path.ends_with("/platform_tests")) << path;
}

}  // namespace
