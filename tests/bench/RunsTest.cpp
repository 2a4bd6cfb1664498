#include <gtest/gtest.h>

#include <string>

#include "BenchRuns.h"
#include "ConsoleText.h"
#include "OemText.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

namespace {

TEST(PackRun, NamesAreWrittenAsGivenAndOnlyTheTextsConverted) {
    ZkFile file(4096);
    // Not a code page 1251 name: whatever bytes a name holds reach the console unchanged.
    const std::string source = "/nonexistent-folder/исходный.txt";
    const std::string packed = "/nonexistent-folder/k._tx";
    console::Capture capture;
    PackRun(file, 0, source, packed);
    EXPECT_EQ(capture.Text(), Oem(" Упаковка: \"") + source + "\" -> \"" + packed +
                                  Oem("\" (повтор, раз: 0)... завершено.\r\n"
                                      "\a  ОШИБКА: 3 Не могу открыть исходный файл для чтения\r\n"));
}

}  // namespace

}  // namespace vormi
