#include <gtest/gtest.h>
#include <windows.h>

#include "vormi/platform/Console.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

namespace {

using testsupport::ReadWholeFile;
using testsupport::TempFolder;

// Points a standard handle elsewhere for one test and puts it back.
class Redirect {
public:
    Redirect(DWORD standard, HANDLE replacement) : Standard_(standard), Saved_(GetStdHandle(standard)) {
        SetStdHandle(standard, replacement);
    }
    ~Redirect() { SetStdHandle(Standard_, Saved_); }

private:
    DWORD Standard_;
    HANDLE Saved_;
};

TEST(ConsoleWin32Test, WrittenBytesArriveOnFlush) {
    TempFolder folder;
    const std::string name = folder / "out";
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string large(200000, 'x');
    large[150000] = '\r';
    {
        Redirect output(STD_OUTPUT_HANDLE, file);
        platform::ConsoleWrite("first\r\n");
        platform::ConsoleWrite(large);
        platform::ConsoleWrite(std::string_view("\0\x07", 2));
        platform::ConsoleFlush();
    }
    CloseHandle(file);
    EXPECT_EQ(ReadWholeFile(name), "first\r\n" + large + std::string("\0\x07", 2));
}

TEST(ConsoleWin32Test, ReadLineConsumesOneLineAndSurvivesTheEnd) {
    HANDLE reader = nullptr, writer = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &writer, nullptr, 0));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, "first\r\nsecond\nthird", 19, &written, nullptr));
    CloseHandle(writer);
    {
        Redirect input(STD_INPUT_HANDLE, reader);
        platform::ConsoleReadLine();
        char next = 0;
        DWORD got = 0;
        ASSERT_TRUE(ReadFile(reader, &next, 1, &got, nullptr));
        EXPECT_EQ(next, 's') << "nothing after the line end is taken";
        platform::ConsoleReadLine();  // "econd"
        platform::ConsoleReadLine();  // "third", then end of input
        platform::ConsoleReadLine();  // nothing left at all
    }
    CloseHandle(reader);
}

TEST(ConsoleWin32Test, MissingStandardHandlesAreHarmless) {
    Redirect input(STD_INPUT_HANDLE, nullptr);
    Redirect output(STD_OUTPUT_HANDLE, INVALID_HANDLE_VALUE);
    platform::ConsoleReadLine();
    platform::ConsoleWrite("lost\r\n");
    platform::ConsoleFlush();
}

}  // namespace

}  // namespace vormi
