#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OemText.h"
#include "ParseHelpers.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/platform/Process.h"

namespace vormi {

namespace {

TEST(ParseCommandLine, DefaultsAndNoParameters) {
    const Parsed parsed = Parse({});
    EXPECT_EQ(parsed.Output, "");
    EXPECT_EQ(parsed.Options.Command, cmdNone);
    EXPECT_EQ(parsed.Options.File0, "test.txt");  // not prefixed without parameters
    EXPECT_EQ(parsed.Options.BufferSize, 65535);
    EXPECT_EQ(parsed.Options.RepeatCount, 1);
    EXPECT_EQ(parsed.Options.HalvingPeriod, 0);
    EXPECT_EQ(parsed.Options.WorkFolder, std::string(platform::FolderOf(platform::ExecutablePath())));
    EXPECT_TRUE(parsed.Options.WorkFolder.ends_with(platform::FolderSeparator()));

    const Parsed cd = Parse({"cd"});
    EXPECT_EQ(cd.Options.Command, cmdPackUnpackCompare);
    EXPECT_EQ(cd.Options.File1, cd.Options.WorkFolder + "test._tx");
    EXPECT_EQ(cd.Output, Oem(" Разбор командной строки...\r\n Завершен разбор командной строки.\r\n"));
}

TEST(ParseCommandLine, FaultsCancelTheCommandButParsingGoesOn) {
    const Parsed repeated = Parse({"d", "/0:a", "/0:b", "/b:2000"});
    EXPECT_EQ(repeated.Options.Command, cmdNone);
    EXPECT_EQ(repeated.Options.File0, repeated.Options.WorkFolder + "a");
    EXPECT_EQ(repeated.Options.BufferSize, 2000);

    const Parsed optionFirst = Parse({"/0:x", "/r:7"});
    EXPECT_EQ(optionFirst.Options.Command, cmdNone);
    EXPECT_EQ(optionFirst.Options.File0, optionFirst.Options.WorkFolder + "test.txt");
    EXPECT_EQ(optionFirst.Options.RepeatCount, 7);

    EXPECT_EQ(Parse({"c", "stray"}).Options.Command, cmdNone);
    EXPECT_EQ(Parse({"c", "/h:2000", "/h:3000"}).Options.HalvingPeriod, 2000);
    EXPECT_EQ(Parse({"c", "/h:2000", "/h:3000"}).Options.Command, cmdNone);
    EXPECT_EQ(Parse({"c", "/b:4096k"}).Options.BufferSize, 65535);
}

TEST(ParseCommandLine, NumbersOutOfRangeAreNotFaults) {
    const Parsed parsed = Parse({"c", "/b:$FFFFFFFF", "/r:101", "/h:1000"});
    EXPECT_EQ(parsed.Options.Command, cmdPack);
    EXPECT_EQ(parsed.Options.BufferSize, 1000);
    EXPECT_EQ(parsed.Options.RepeatCount, 1);
    EXPECT_EQ(parsed.Options.HalvingPeriod, 0);

    const Parsed large = Parse({"c", "/b:2147483647", "/h:   $7FFFFBFF"});
    EXPECT_EQ(large.Options.BufferSize, 2147482623);
    EXPECT_EQ(large.Options.HalvingPeriod, 2147482623);
    EXPECT_NE(large.Output.find(Oem("\a    буфер слишком велик: 2147483647, использую максимальный: 2147482623\r\n")),
              std::string::npos);

    const Parsed zero = Parse({"cd", "/r:0", "/h:0"});
    EXPECT_EQ(zero.Options.RepeatCount, 0);
    EXPECT_EQ(zero.Options.HalvingPeriod, 0);
    EXPECT_EQ(zero.Options.Command, cmdPackUnpackCompare);
}

}  // namespace

}  // namespace vormi
