// A packed source and helpers for the attribute the safety tests watch, and
// pack and unpack run step by step, with something done while the file they
// write is open.
#pragma once

#include <string>

#include "TestFiles.h"
#include "vormi/platform/FileMeta.h"

namespace vormi {

class ZkFileSafetyTest : public PackedSourceTest {
protected:
    void MakeReadOnly(const std::string& name) {
        ASSERT_TRUE(platform::SetFileAttributesOf(name, platform::kAttrArchive | platform::kAttrReadOnly));
    }
    static bool IsReadOnly(const std::string& name) {
        return (platform::FileAttributesOf(name) & platform::kAttrReadOnly) != 0;
    }

    // Pack's steps, with during() run once the compressed file is created and
    // holds its header. Returns the error.
    template <typename During>
    static uint8_t PackWhileWriting(ZkFile& file, const std::string& source, const std::string& packed, During during) {
        file.SetError(zkeNone);
        file.OpenSource(source);
        if (file.HasError()) return file.GetError();
        file.CreatePacked(packed);
        if (file.NoError()) {
            during();
            file.SetName(source);
            file.WriteInfo();
            if (file.NoError()) file.PackStream();
            if (file.NoError()) file.WriteEndMarker();
        }
        file.CloseAll();
        return file.GetError();
    }

    // Unpack's steps, with during() run once the restored file is created and
    // still empty. Returns the error.
    template <typename During>
    static uint8_t UnpackWhileWriting(ZkFile& file, const std::string& packed, const std::string& restored,
                                      During during) {
        file.SetError(zkeNone);
        file.NameRestored(restored);
        if (file.HasError()) return file.GetError();
        file.OpenPacked(packed);
        if (file.NoError()) file.ReadInfo();
        if (file.NoError()) file.CreatePlain(packed);
        if (file.NoError()) {
            during();
            file.UnpackStream();
        }
        if (file.NoError()) file.CheckEndMarker();
        file.CloseAll();
        return file.GetError();
    }
};

}  // namespace vormi
