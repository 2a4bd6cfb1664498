#include <gtest/gtest.h>
#include <windows.h>

#include "posix/CodePageTable.h"
#include "vormi/platform/CodePage.h"

namespace vormi {

namespace {

// The Linux build carries a table of what a Russian-language Windows gives;
// the system's conversion must agree with it byte for byte.
TEST(CodePageWin32Test, TheSystemConvertsAsTheLinuxTableSays) {
    ASSERT_EQ(GetACP(), 1251u) << "the test run sets a Russian locale";
    ASSERT_EQ(GetOEMCP(), 866u);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(platform::AnsiToOemByte(static_cast<uint8_t>(byte)), platform::posix::kAnsiToOem[byte])
            << "code page 1251 byte " << byte;
}

}  // namespace

}  // namespace vormi
