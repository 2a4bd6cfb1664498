// The compressed-file object: the codec plus an input and an output buffer,
// the two files of an operation, the source's information and one error code.
// Pack turns a source into a compressed file, Unpack turns it back; both report
// only through the error code, of which the first one recorded is kept.
// The object owns its two buffers and its two open files; one object serves
// one thread at a time. For a single pack or unpack with the program's
// settings, PackFile and UnpackFile (FileCoding.h) are simpler.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vormi/codec/ZkCodec.h"
#include "vormi/platform/Files.h"
#include "vormi/zkfile/FileBuf.h"
#include "vormi/zkfile/ZkError.h"

namespace vormi {

// Members of ZkFile::Options. The caller sets the first two; the object keeps the others.
enum ZkOption : uint8_t {
    PermitOverwritePacked = 0,    // an existing compressed file may be replaced
    PermitOverwriteRestored = 1,  // an existing restored file may be replaced
    RestoreOnClose = 2,           // the plain file was created by Unpack: closing it restores its metadata
    PackedOpen = 3,               // the compressed file is open
};

struct FileInfo {
    uint32_t Attributes;  // the platform's attribute word; 0 when unknown
    uint32_t Date;        // local MS-DOS stamp, date in the high half; 0 when unknown
    uint32_t Size;        // bytes of the source
    uint32_t Remaining;   // bytes still to be read while packing, to be restored while unpacking
};

inline constexpr uint32_t ZkFallbackBufferSize = 64000;  // used when the buffers are found missing
inline constexpr std::size_t ZkMaxNameLength = 255;

class ZkFile : public ZkCodec {
public:
    uint8_t Options = 0;
    FileBuf ReadBuf{};   // source bytes when packing, compressed bytes when unpacking
    FileBuf WriteBuf{};  // compressed bytes when packing, restored bytes when unpacking
    platform::File PlainFile;
    platform::File PackedFile;
    FileInfo Info{};
    ZkError Error = zkeNone;
    std::string Name;      // the source's name without its folder, at most 255 bytes
    std::string FullName;  // full name of the restored file
    uint16_t Version = 1;  // the header's format version, as written or read; only 1 unpacks
    // The attributes of a read-only restored file that this unpack replaces
    // (its read-only attribute is cleared meanwhile), given back when the
    // unpack fails; 0 when there is none.
    uint32_t ReplacedAttributes = 0;

    // Runs Init(bufferSize); on failure the buffers are missing and the error is 1.
    explicit ZkFile(uint32_t bufferSize);
    virtual ~ZkFile();
    ZkFile(const ZkFile&) = delete;
    ZkFile& operator=(const ZkFile&) = delete;

    // Allocates both buffers of size bytes (at least 1000), empties the options
    // and the information, and re-runs the codec's construction. False (error
    // 1, both buffers released) when a buffer could not be allocated.
    bool Init(uint32_t size);
    bool InitSucceeded() const;
    // Closes both files and releases both buffers.
    virtual void Done();
    // Re-runs Init with 64000 bytes when the buffers are missing, keeping the
    // halving period and the caller's options.
    void EnsureBuffers();
    // False, recording error 2, when the buffers are missing.
    bool BuffersReady();

    bool HasFlag(uint8_t member) const;  // false above 7
    void SetFlag(uint8_t member);        // ignores members above 7
    void ClearFlag(uint8_t member);

    // 0 clears; any other code is stored only when none is recorded.
    void SetError(uint8_t code);
    uint8_t GetError() const { return Error; }
    bool HasError() const { return Error != zkeNone; }
    bool NoError() const { return Error == zkeNone; }
    std::string_view ErrorText() const { return MessageFor(Error); }

    void SetVersion(uint16_t version) { Version = version; }
    uint16_t GetVersion() const { return Version; }

    // Refuses (error 3) a source that is not a regular file or holds 4 GiB or
    // more, and packs exactly the size it has when it is opened.
    void Pack(const std::string& sourceName, const std::string& packedName);
    // Creates the restored file only after the compressed file's header and
    // information block have passed; refuses (error 6) to restore onto the
    // compressed file itself.
    void Unpack(const std::string& packedName, const std::string& restoredName);

    // The steps of Pack and Unpack, in their order of use: public so that tests
    // can drive them one by one; a user calls Pack and Unpack.
    void OpenSource(const std::string& name);
    void CreatePacked(const std::string& name);
    // The restored file's full name, and error 4 when it exists and may not be replaced.
    void NameRestored(const std::string& name);
    void OpenPacked(const std::string& name);
    void CreatePlain(const std::string& packedName);
    void WriteHeader();
    void WriteInfo();
    void ParseHeader();
    void ReadInfo();
    void FlushPacked();
    void FlushPlain();
    uint32_t ReadSource();
    uint32_t ReadPacked();
    uint32_t EncodeBlock();
    uint32_t DecodeBlock();
    void EncodeBuffered();
    void DecodeBuffered();
    void PackStream();
    void UnpackStream();
    void WriteEndMarker();
    void CheckEndMarker();
    int ClosePlain();
    int ClosePacked();
    void CloseAll();
    void SetName(const std::string& sourceName);

    static void GetFileInfo(const std::string& name, FileInfo& info);
    // Sets the date first, then the attributes, so that a read-only file still gets its date.
    static void RestoreFileInfo(const std::string& name, const FileInfo& info);
};

}  // namespace vormi
