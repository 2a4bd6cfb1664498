// The one-call functions of <vormi/vormi.h>, as a user of the installed
// library calls them: the same stream and files as the program, exact bounds.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestFiles.h"
#include "vormi/vormi.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

const uint32_t kLimits[] = {1280, 65536};

// The coded stream inside a compressed file: after the header and the
// information block, before the end marker.
Bytes StreamInside(const Bytes& packed) {
    const size_t start = ZkHeaderSize + ZkBlockLengthSize + LoadLe16(packed.data() + ZkHeaderSize);
    return Bytes(packed.begin() + static_cast<std::ptrdiff_t>(start), packed.end() - ZkEndMarkerSize);
}

TEST(PublicApiTest, EncodeBufferGivesTheStreamOfTheCompressedFile) {
    TempFolder folder;
    for (const uint32_t limit : kLimits) {
        for (const uint32_t size : {0u, 1u, 2u, 1000u, 200000u, 3000000u}) {
            SCOPED_TRACE(testing::Message() << size << " bytes, limit " << limit);
            const Bytes data = MakeData(size, size + 7);
            const Bytes packed = PackBytes(folder, "data.bin", data, 65535, limit);
            EXPECT_EQ(EncodeBuffer(data, limit), StreamInside(packed));
        }
    }
}

TEST(PublicApiTest, PackedFileSizeIsTheSizeOfTheFilePackFileWrites) {
    TempFolder folder;
    const Bytes data = MakeData(5000);
    // A long name that still fits a Windows path (260 characters in all) inside the temporary folder.
    for (const std::string& name : {std::string("a.txt"), std::string(120, 'n')}) {
        const Bytes packed = PackBytes(folder, name, data, 65535, 1280);
        EXPECT_EQ(PackedFileSize(folder / name, EncodeBuffer(data).size()), packed.size()) << name;
    }
    // Longer names than a folder entry allows here are cut to 255 bytes all the same.
    EXPECT_EQ(PackedFileSize("folder/" + std::string(300, 'n'), 0), 74u + 255);
}

TEST(PublicApiTest, DecodeBufferRestoresExactlyWhatWasAskedFor) {
    for (const uint32_t limit : kLimits) {
        const Bytes data = MakeData(300000, limit);
        const Bytes stream = EncodeBuffer(data, limit);
        // Exact-size heap blocks: a read or write past either end is a sanitizer finding.
        const auto input = std::make_unique<uint8_t[]>(stream.size());
        std::copy(stream.begin(), stream.end(), input.get());
        Bytes restored(data.size());
        ASSERT_TRUE(DecodeBuffer({input.get(), stream.size()}, restored, limit));
        EXPECT_EQ(restored, data);

        // A prefix needs only a prefix of the stream; more stream is ignored.
        Bytes first(1000);
        ASSERT_TRUE(DecodeBuffer(stream, first, limit));
        EXPECT_TRUE(std::equal(first.begin(), first.end(), data.begin()));
        Bytes none;
        EXPECT_TRUE(DecodeBuffer(stream, none, limit));
    }
}

TEST(PublicApiTest, DecodeBufferReportsAStreamThatEndsTooSoon) {
    const Bytes data = MakeData(5000);
    const Bytes stream = EncodeBuffer(data);
    Bytes restored(data.size());
    EXPECT_FALSE(DecodeBuffer({stream.data(), stream.size() / 2}, restored));
    EXPECT_FALSE(DecodeBuffer({}, restored));
    // Decoded with the wrong limit the bytes differ, but the call stays in bounds.
    Bytes other(data.size() * 4);
    DecodeBuffer(stream, other, 65536);
}

TEST(PublicApiTest, PackFileAndUnpackFileReplaceTargetsAsTheProgramDoes) {
    TempFolder folder;
    const Bytes data = MakeData(70000);
    const std::string source = folder.Path("source.bin");
    const std::string packed = folder.Path("source.zk");
    const std::string restored = folder.Path("restored.bin");
    WriteFile(source, data);
    WriteFile(packed, Bytes{1, 2, 3});
    WriteFile(restored, Bytes(100, 9));

    EXPECT_EQ(PackFile(source, packed, 4096), zkeNone);
    EXPECT_EQ(StreamInside(ReadFile(packed)), EncodeBuffer(data, 4096));
    EXPECT_EQ(UnpackFile(packed, restored, 4096), zkeNone);
    EXPECT_EQ(ReadFile(restored), data);

    EXPECT_EQ(UnpackFile(packed, restored), zkeBadHalveLimit);
    EXPECT_EQ(PackFile(folder.Path("missing.bin"), packed), zkeSourceOpen);
}

TEST(PublicApiTest, VersionMacrosAgree) {
    EXPECT_EQ(std::to_string(VORMI_VERSION_MAJOR) + "." + std::to_string(VORMI_VERSION_MINOR) + "." +
                  std::to_string(VORMI_VERSION_PATCH),
              VORMI_VERSION_STRING);
}

}  // namespace

}  // namespace vormi
