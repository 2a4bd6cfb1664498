#include "BenchRuns.h"

#include <string_view>

#include "BenchTexts.h"
#include "ConsoleText.h"
#include "luMiscFun.h"
#include "vormi/platform/Clock.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

namespace {

using console::WriteMessage;

// The factor of the speed is the single-precision constant 1000.
constexpr float kMillisecondsPerSecond = 1000.0f;

void WriteRunHeader(std::string_view title, const std::string& from, const std::string& to, uint16_t repeatCount) {
    WriteMessage(title);
    console::Write(from);
    console::Write(txt::kArrow);
    console::Write(to);
    WriteMessage(txt::kRepeatCount);
    console::WriteUnsigned(repeatCount);
    console::Write(txt::kHeaderClose);
    console::Flush();
}

// Completes the header line; true when the last repetition succeeded,
// otherwise prints its error line.
bool FinishRun(const ZkFile& file) {
    WriteMessage(txt::kDone);
    console::EndLine();
    if (file.NoError()) return true;
    WriteMessage(txt::kRunError);
    console::WriteUnsigned(file.GetError());
    WriteMessage(std::string(" ").append(file.ErrorText()));
    console::EndLine();
    return false;
}

// The time part of the first report line; the line stays open.
void WriteTime(std::string_view title, uint32_t elapsed, uint32_t repeats) {
    WriteMessage(title);
    console::WriteFixed(TimePerOperation(elapsed, repeats), 2, 2);
    console::Write(";");
    console::Flush();
}

// The speed part that completes the first report line.
void WriteSpeed(uint32_t size, uint32_t elapsed, uint32_t repeats) {
    WriteMessage(txt::kSpeed);
    console::WriteFixed(BytesPerSecond(size, elapsed, repeats), 2, 0);
    console::Write(".");
    console::EndLine();
}

// Sizes enter the report as unsigned numbers, so a file that cannot be opened counts as 4294967295 bytes.
uint32_t ReportedSize(const std::string& name) { return static_cast<uint32_t>(luMiscFun::FileSizeByName(name)); }

template <typename Operation>
uint32_t TimeRepeats(uint32_t repeats, Operation operation) {
    const uint32_t start = luMiscFun::WaitNextTick();
    for (uint32_t i = 0; i < repeats; ++i) operation();
    return platform::MillisecondClock() - start;
}

}  // namespace

std::optional<long double> TimePerOperation(uint32_t elapsed, uint32_t repeats) {
    if (repeats == 0) return std::nullopt;
    return static_cast<long double>(elapsed) / repeats;
}

std::optional<long double> BytesPerSecond(uint32_t size, uint32_t elapsed, uint32_t repeats) {
    if (elapsed == 0) return std::nullopt;
    return static_cast<long double>(size) / elapsed * repeats * kMillisecondsPerSecond;
}

std::optional<long double> SizeRatio(uint32_t packedSize, uint32_t sourceSize) {
    if (sourceSize == 0) return std::nullopt;
    return static_cast<long double>(packedSize) / sourceSize;
}

void PackRun(ZkFile& file, uint16_t repeatCount, const std::string& sourceName, const std::string& packedName) {
    WriteRunHeader(txt::kPackHeader, sourceName, packedName, repeatCount);
    file.SetFlag(PermitOverwritePacked);
    const uint32_t repeats = repeatCount == 0 ? 1 : repeatCount;
    const uint32_t elapsed = TimeRepeats(repeats, [&] { file.Pack(sourceName, packedName); });
    if (!FinishRun(file)) return;

    WriteTime(txt::kPackTime, elapsed, repeats);
    const uint32_t packedSize = ReportedSize(packedName);
    const uint32_t sourceSize = ReportedSize(sourceName);
    WriteSpeed(sourceSize, elapsed, repeats);
    WriteMessage(txt::kSizeRatio);
    console::WriteFixed(SizeRatio(packedSize, sourceSize), 2, 4);
    console::EndLine();
    WriteMessage(txt::kCodingRatio);
    console::WriteFixed(static_cast<long double>(file.GetCodingRatio()), 2, 4);
    console::EndLine();
    WriteMessage(txt::kHalvings);
    console::WriteInt(file.GetHalvings());
    console::EndLine();
}

void UnpackRun(ZkFile& file, uint16_t repeatCount, const std::string& packedName, const std::string& outputName,
               bool permitOverwrite) {
    WriteRunHeader(txt::kUnpackHeader, packedName, outputName, repeatCount);
    if (permitOverwrite)
        file.SetFlag(PermitOverwriteRestored);
    else
        file.ClearFlag(PermitOverwriteRestored);
    const uint32_t repeats = repeatCount == 0 ? 1 : repeatCount;
    const uint32_t elapsed = TimeRepeats(repeats, [&] { file.Unpack(packedName, outputName); });
    if (!FinishRun(file)) return;
    WriteTime(txt::kUnpackTime, elapsed, repeats);
    WriteSpeed(ReportedSize(outputName), elapsed, repeats);
}

}  // namespace vormi
