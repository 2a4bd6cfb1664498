#include <gtest/gtest.h>

#include <string>

#include "ConsoleText.h"
#include "OemText.h"
#include "PrgFuncs.h"
#include "bxStrings.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

namespace {

TEST(FirstMismatch, OneBasedIndexOfTheFirstDifference) {
    uint8_t a[40];
    uint8_t b[40];
    for (int i = 0; i < 40; ++i) a[i] = b[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(bxStrings::FirstMismatch(a, b, 40), 0u);
    for (const uint32_t at : {0u, 7u, 8u, 15u, 16u, 33u, 39u}) {
        b[at] ^= 0x80;
        EXPECT_EQ(bxStrings::FirstMismatch(a, b, 40), at + 1) << at;
        // A difference beyond the count is not seen.
        EXPECT_EQ(bxStrings::FirstMismatch(a, b, at), 0u) << at;
        b[at] ^= 0x80;
    }
    b[3] = 1;
    b[30] = 1;
    EXPECT_EQ(bxStrings::FirstMismatch(a, b, 40), 4u);
}

TEST(ByteBlocks, OverlappingMoveAndEquality) {
    uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    bxStrings::MoveBytes(bytes, bytes + 2, 4);
    EXPECT_TRUE(bxStrings::SameBytes(
        bytes, std::data({uint8_t{1}, uint8_t{2}, uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}}), 6));
    bxStrings::MoveBytes(bytes + 2, bytes, 4);
    EXPECT_FALSE(bxStrings::SameBytes(bytes, std::data({uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{5}}), 4));
    EXPECT_TRUE(bxStrings::SameBytes(bytes, bytes + 1, 0));
}

class CompareFilesTest : public ::testing::Test {
protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(testsupport::WriteWholeFile(Folder / name, bytes)) << name;
        return Folder / name;
    }

    // Runs the comparison and keeps its console bytes.
    bool Compare(const std::string& first, const std::string& second, int32_t bufferSize = 1000) {
        console::Capture capture;
        const bool equal = PrgFuncs::CompareFiles(first, second, bufferSize);
        Output = capture.Text();
        return equal;
    }

    std::string Header(const std::string& first, const std::string& second) {
        return Oem(" Проверка. Сравнение \"") + first + Oem("\" и \"") + second + "\"...";
    }

    static std::string Block(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 23);
        return bytes;
    }

    testsupport::TempFolder Folder{"bench-compare"};
    std::string Output;
};

TEST_F(CompareFilesTest, EqualFilesOfWholeBlocksAndEmptyFiles) {
    const std::string a = Put("a", Block(3000));
    const std::string b = Put("b", Block(3000));
    EXPECT_TRUE(Compare(a, b));
    EXPECT_EQ(Output, Header(a, b) + Oem(" завершено.\r\n"));

    const std::string e = Put("e", "");
    const std::string f = Put("f", "");
    EXPECT_TRUE(Compare(e, f));
    EXPECT_EQ(Output, Header(e, f) + Oem(" завершено.\r\n"));
}

TEST_F(CompareFilesTest, LengthsDifferWithoutAReport) {
    const std::string a = Put("a", "0123456789");
    const std::string b = Put("b", "0123456789X");
    EXPECT_FALSE(Compare(a, b));
    EXPECT_EQ(Output, Header(a, b) + Oem(" завершено.\r\n"));
    // The shorter file second, and a difference only after a full block.
    const std::string c = Put("c", Block(1500));
    const std::string d = Put("d", Block(1000));
    EXPECT_FALSE(Compare(c, d));
    EXPECT_EQ(Output, Header(c, d) + Oem(" завершено.\r\n"));
}

TEST_F(CompareFilesTest, MismatchReportShowsPositionAndNeighboursFromTheSameBlock) {
    std::string changed = Block(2500);
    const std::string a = Put("a", Block(2500));

    changed[0] = 'z';
    std::string b = Put("b", changed);
    EXPECT_FALSE(Compare(a, b));
    EXPECT_EQ(Output,
              Header(a, b) +
                  Oem("\r\nНесовпадение на байте номер (нумерация с нуля): 0\r\n65 : 122, 66 : 66 завершено.\r\n"));

    // The last byte of a full block: no following pair.
    changed = Block(2500);
    changed[1999] = 'z';
    b = Put("b", changed);
    EXPECT_FALSE(Compare(a, b));
    const auto at1998 = std::to_string(static_cast<uint8_t>(Block(2500)[1998]));
    const auto at1999 = std::to_string(static_cast<uint8_t>(Block(2500)[1999]));
    EXPECT_EQ(Output, Header(a, b) + Oem("\r\nНесовпадение на байте номер (нумерация с нуля): 1999\r\n") + at1998 +
                          " : " + at1998 + ", " + at1999 + " : 122" + Oem(" завершено.\r\n"));

    // The first byte of a later block: no preceding pair, though the earlier block had one.
    changed = Block(2500);
    changed[2000] = 'z';
    b = Put("b", changed);
    EXPECT_FALSE(Compare(a, b));
    const auto at2000 = std::to_string(static_cast<uint8_t>(Block(2500)[2000]));
    const auto at2001 = std::to_string(static_cast<uint8_t>(Block(2500)[2001]));
    EXPECT_EQ(Output, Header(a, b) + Oem("\r\nНесовпадение на байте номер (нумерация с нуля): 2000\r\n") + at2000 +
                          " : 122, " + at2001 + " : " + at2001 + Oem(" завершено.\r\n"));
}

TEST_F(CompareFilesTest, SingleByteFilesAndByteValuesAbove127) {
    const std::string a = Put("a", "\xF0");
    const std::string b = Put("b", "\x01");
    EXPECT_FALSE(Compare(a, b));
    EXPECT_EQ(Output,
              Header(a, b) + Oem("\r\nНесовпадение на байте номер (нумерация с нуля): 0\r\n240 : 1 завершено.\r\n"));
}

TEST_F(CompareFilesTest, MissingFilesAreEachReported) {
    const std::string a = Put("a", "data");
    const std::string missing = Folder / "missing";
    EXPECT_FALSE(Compare(a, missing));
    EXPECT_EQ(Output, Header(a, missing) + Oem("\r\n\a ОШИБКА: Не могу открыть для чтения: ") + missing +
                          Oem("\r\n завершено.\r\n"));

    const std::string alsoMissing = Folder / "gone";
    EXPECT_FALSE(Compare(missing, alsoMissing));
    EXPECT_EQ(Output, Header(missing, alsoMissing) + Oem("\r\n\a ОШИБКА: Не могу открыть для чтения: ") + missing +
                          Oem("\r\n\r\n\a ОШИБКА: Не могу открыть для чтения: ") + alsoMissing +
                          Oem("\r\n завершено.\r\n"));

    // A folder is not a file to compare.
    EXPECT_FALSE(Compare(a, Folder.Path()));
}

TEST_F(CompareFilesTest, BuffersThatCannotBeHadAreReported) {
    const std::string a = Put("a", "data");
    EXPECT_FALSE(Compare(a, a, 0));
    EXPECT_EQ(Output, Header(a, a) + Oem("\r\n\a ОШИБКА: Недостаточно памяти для буферов.\r\n завершено.\r\n"));
}

}  // namespace

}  // namespace vormi
