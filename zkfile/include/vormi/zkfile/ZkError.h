// Outcome codes of the compressed-file object and their messages. The numbers
// appear in the bench's output, so every value is pinned.
#pragma once

#include <cstdint>
#include <string_view>

namespace vormi {

enum ZkError : uint8_t {
    zkeNone = 0,
    zkeNoBufferMemory = 1,      // Init could not allocate a buffer
    zkeBuffersMissing = 2,      // the buffers are still missing before an operation
    zkeSourceOpen = 3,          // the source cannot be opened for reading
    zkeRestoredExists = 4,      // the restored file exists and may not be replaced
    zkePackedExists = 5,        // the compressed file exists and may not be replaced
    zkeRestoredCreate = 6,      // the restored file cannot be created
    zkePackedCreate = 7,        // the compressed file cannot be created
    zkePackedOpen = 8,          // the compressed file cannot be opened for reading
    zkeNoHeader = 9,            // the compressed file is not at position 0 for its header
    zkePackedWrite = 10,        // a write to the compressed file fell short
    zkePackedRead = 11,         // a read of coded data fell short before the end of the file
    zkeDataBufferSmall = 12,    // never recorded
    zkeHeaderBufferSmall = 13,  // the information block does not fit in the input buffer
    zkeHeaderRead = 14,         // the header or the information block did not all arrive
    zkeBadHeader = 15,          // wrong signature, or a name longer than its block
    zkeHeaderTooLarge = 16,     // the information block does not fit in the output buffer
    zkeSourceRead = 17,         // a read of the source fell short before the end of the file
    zkeBadVersion = 18,         // the header's version is not 1
    zkeRestoredWrite = 19,      // a write to the restored file fell short
    zkeBadHalveLimit = 20,      // the header's halving limit differs from the codec's
    zkeBadDictionarySize = 21,  // never recorded
    zkeDictionaryMemory = 22,   // never recorded
    zkeEndMarkerTooLarge = 23,  // the end marker does not fit in a buffer
    zkeBadEndMarker = 24,       // the four bytes after the coded stream are not the end marker
    zkeEndMarkerRead = 25,      // the end marker did not all arrive
};

inline constexpr uint8_t ZkErrorCount = 26;  // codes 0..25 have their own message

// The message of a code as code page 1251 bytes; one common text for codes above 25.
std::string_view MessageFor(uint8_t code);

// A short English description of a code for users of the library, as plain
// ASCII ("no error", "cannot open the source for reading", ...); "unknown
// error" for codes above 25. The program prints MessageFor's texts, not these.
std::string_view ErrorName(ZkError code);

}  // namespace vormi
