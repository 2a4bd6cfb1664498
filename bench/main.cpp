// The vormi test bench: packs, unpacks, or packs, unpacks and compares one
// file, timing the runs, as the command line says.
#include <string>
#include <vector>

#include "BenchRuns.h"
#include "BenchTexts.h"
#include "ConsoleText.h"
#include "FCmdLine.h"
#include "PrgFuncs.h"
#include "vormi/platform/CodePage.h"
#include "vormi/platform/Console.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/platform/Interrupts.h"
#include "vormi/platform/Process.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {
namespace {

using console::WriteMessage;

// The one compressed-file object, built when the first command needs it and
// kept until the process ends.
ZkFile& BenchFile(uint32_t bufferSize) {
    static ZkFile file(bufferSize);
    return file;
}

void WriteMessageLine(std::string_view ansiText) {
    WriteMessage(ansiText);
    console::EndLine();
}

void RunCommand(const BenchOptions& options) {
    // Construction failure is not checked here: the first operation retries
    // the buffers and the run reports what remains.
    ZkFile& file = BenchFile(static_cast<uint32_t>(options.BufferSize));
    file.HalvingPeriod = static_cast<uint32_t>(options.HalvingPeriod);
    file.ResetForEncoding();
    WriteMessage(txt::kHalveLimitInUse);
    console::WriteUnsigned(file.GetHalveLimit());
    console::EndLine();

    if (options.Command == cmdPack || options.Command == cmdPackUnpackCompare)
        PackRun(file, options.RepeatCount, options.File0, options.File1);
    if (options.Command == cmdUnpack) UnpackRun(file, options.RepeatCount, options.File0, options.File1);
    if (options.Command == cmdPackUnpackCompare) {
        // The pack run's outcome is not consulted: unpack and compare run regardless. But restoring onto
        // the source itself would destroy it if the unpack went wrong, and the comparison would then check
        // the file against itself; so that unpack is refused with the overwrite error and the verdict is
        // "not correct".
        const bool ontoSource = platform::SameFile(options.File0, options.File2);
        UnpackRun(file, options.RepeatCount, options.File1, options.File2, !ontoSource);
        // A failed unpack leaves whatever an earlier run restored: that file may
        // still equal the source, but this run did not make it.
        const bool unpacked = file.NoError();
        const bool equal = !ontoSource && PrgFuncs::CompareFiles(options.File0, options.File2, options.BufferSize);
        WriteMessageLine(unpacked && equal ? txt::kVerdictEqual : txt::kVerdictDifferent);
    }
}

}  // namespace
}  // namespace vormi

int main(int argc, char** argv) {
    using namespace vormi;
    // A reader that goes away (vormi cd | head) must not stop the runs.
    platform::IgnoreBrokenPipes();
    // Texts in the code page the console shows (on Linux the locale's).
    platform::ChooseConsoleCodePage();
    // Ctrl+C and the like remove the file being written and end the run at once.
    platform::RemoveTemporariesOnInterrupt();
    console::EndLine();
    WriteMessageLine(txt::kStartBanner);
    console::EndLine();

    static BenchOptions options;
    const std::vector<std::string> parameters = platform::ProgramParameters(argc, argv);
    FCmdLine::ParseCommandLine(options, parameters);
    if (options.Command == cmdNone)
        FCmdLine::ShowHelp();
    else
        RunCommand(options);

    console::EndLine();
    WriteMessageLine(txt::kEndBanner);
    console::EndLine();
    WriteMessageLine(txt::kPressEnter);

    platform::ConsoleReadLine();
    return 0;
}
