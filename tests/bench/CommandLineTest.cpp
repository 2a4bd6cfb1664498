#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OemText.h"
#include "bench/ConsoleText.h"
#include "bench/FCmdLine.h"
#include "platform/FileMeta.h"
#include "platform/Process.h"

namespace {

using FCmdLine::PrefixWorkFolder;

std::string Prefixed(std::string name, const std::string& folder) {
    PrefixWorkFolder(name, folder);
    return name;
}

TEST(PrefixWorkFolder, OnlyNamesWithoutAFolderGetOne) {
    EXPECT_EQ(Prefixed("x.bin", "/tmp/work/"), "/tmp/work/x.bin");
    EXPECT_EQ(Prefixed("x.bin", "/tmp/work"), "/tmp/work/x.bin");
    EXPECT_EQ(Prefixed("x.bin", ""), "/x.bin");
    EXPECT_EQ(Prefixed("", "/tmp/work/"), "/tmp/work/");
    EXPECT_EQ(Prefixed("data/x.bin", "/tmp/work/"), "data/x.bin");
    EXPECT_EQ(Prefixed("/abs/x.bin", "/tmp/work/"), "/abs/x.bin");
    // Only '/' separates folders here.
    EXPECT_EQ(Prefixed("c:x.bin", "/w"), "/w/c:x.bin");
    EXPECT_EQ(Prefixed("sub\\x.bin", "/w"), "/w/sub\\x.bin");
}

struct Parsed {
    BenchOptions Options;
    std::string Output;
};

Parsed Parse(std::vector<std::string> parameters) {
    Parsed parsed;
    console::Capture capture;
    FCmdLine::ParseCommandLine(parsed.Options, parameters);
    parsed.Output = capture.Text();
    return parsed;
}

TEST(ParseCommandLine, DefaultsAndNoParameters) {
    const Parsed parsed = Parse({});
    EXPECT_EQ(parsed.Output, "");
    EXPECT_EQ(parsed.Options.Command, cmdNone);
    EXPECT_EQ(parsed.Options.File0, "test.txt");  // not prefixed without parameters
    EXPECT_EQ(parsed.Options.BufferSize, 65535);
    EXPECT_EQ(parsed.Options.RepeatCount, 1);
    EXPECT_EQ(parsed.Options.HalvingPeriod, 0);
    EXPECT_EQ(parsed.Options.WorkFolder, std::string(platform::FolderOf(platform::ExecutablePath())));
    EXPECT_TRUE(parsed.Options.WorkFolder.ends_with('/'));

    const Parsed cd = Parse({"cd"});
    EXPECT_EQ(cd.Options.Command, cmdPackUnpackCompare);
    EXPECT_EQ(cd.Options.File1, cd.Options.WorkFolder + "test._tx");
    EXPECT_EQ(cd.Output, Oem(" Разбор командной строки...\r\n Завершен разбор командной строки.\r\n"));
}

TEST(ParseCommandLine, NamesFolderAndTheirOrder) {
    const Parsed parsed = Parse({"c", "/1:out/k._tx", "/0:", "/2:r.!tx", "/f:/w"});
    EXPECT_EQ(parsed.Options.Command, cmdPack);
    EXPECT_EQ(parsed.Options.File0, "/w/");
    EXPECT_EQ(parsed.Options.File1, "out/k._tx");
    EXPECT_EQ(parsed.Options.File2, "/w/r.!tx");
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
