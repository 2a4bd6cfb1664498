#include "PrgFuncs.h"

#include <memory>
#include <new>

#include "BenchTexts.h"
#include "ConsoleText.h"
#include "bxStrings.h"
#include "vormi/platform/Files.h"

namespace vormi::PrgFuncs {
namespace {

using console::WriteMessage;

void WritePair(const uint8_t* first, const uint8_t* second, uint32_t offset) {
    console::WriteUnsigned(first[offset]);
    console::Write(txt::kPairSeparator);
    console::WriteUnsigned(second[offset]);
}

// The offset of the difference over the whole file, then the differing pair
// with its neighbours from the same block. The line stays open.
void ReportMismatch(const uint8_t* first, const uint8_t* second, uint64_t position, uint32_t offset, uint32_t count) {
    console::EndLine();
    WriteMessage(txt::kMismatchAt);
    console::WriteUnsigned(position + offset);
    console::EndLine();
    if (offset > 0) {
        WritePair(first, second, offset - 1);
        console::Write(txt::kPairGap);
        console::Flush();
    }
    WritePair(first, second, offset);
    console::Flush();
    if (offset + 1 < count) {
        console::Write(txt::kPairGap);
        WritePair(first, second, offset + 1);
        console::Flush();
    }
}

bool OpenForCompare(platform::File& file, const std::string& name) {
    file.Assign(name);
    if (file.OpenRead(platform::ReadSharing::DenyNone) == 0) return true;
    console::EndLine();
    WriteMessage(txt::kCompareCannotOpen);
    console::Write(name);
    console::EndLine();
    return false;
}

std::unique_ptr<uint8_t[]> AllocateBlock(int32_t size) {
    if (size <= 0) return nullptr;
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[static_cast<uint32_t>(size)]);
}

bool CompareOpenFiles(platform::File& first, platform::File& second, uint8_t* firstBlock, uint8_t* secondBlock,
                      uint32_t blockSize) {
    uint64_t position = 0;
    for (;;) {
        const uint32_t firstCount = first.Read(firstBlock, blockSize);
        const uint32_t secondCount = second.Read(secondBlock, blockSize);
        // Different lengths; the block is not scanned.
        if (firstCount != secondCount) return false;
        if (firstCount == 0) return true;
        const uint32_t mismatch = bxStrings::FirstMismatch(firstBlock, secondBlock, firstCount);
        if (mismatch != 0) {
            ReportMismatch(firstBlock, secondBlock, position, mismatch - 1, firstCount);
            return false;
        }
        position += firstCount;
    }
}

}  // namespace

bool CompareFiles(const std::string& firstName, const std::string& secondName, int32_t bufferSize) {
    WriteMessage(txt::kCompareHeader);
    console::Write(firstName);
    WriteMessage(txt::kCompareAnd);
    console::Write(secondName);
    console::Write(txt::kCompareHeaderClose);
    console::Flush();

    bool equal = false;
    std::unique_ptr<uint8_t[]> firstBlock = AllocateBlock(bufferSize);
    std::unique_ptr<uint8_t[]> secondBlock = firstBlock ? AllocateBlock(bufferSize) : nullptr;
    if (!firstBlock || !secondBlock) {
        console::EndLine();
        WriteMessage(txt::kCompareNoMemory);
        console::EndLine();
    } else {
        platform::File first;
        platform::File second;
        const bool firstOpen = OpenForCompare(first, firstName);
        const bool secondOpen = OpenForCompare(second, secondName);
        if (firstOpen && secondOpen)
            equal =
                CompareOpenFiles(first, second, firstBlock.get(), secondBlock.get(), static_cast<uint32_t>(bufferSize));
        // Closing a file that did not open is harmless, and the result of a
        // close does not change the verdict.
        first.Close();
        second.Close();
    }

    WriteMessage(txt::kDone);
    console::EndLine();
    return equal;
}

}  // namespace vormi::PrgFuncs
