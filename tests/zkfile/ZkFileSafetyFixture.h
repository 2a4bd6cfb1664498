// A packed source and helpers for the attribute the safety tests watch.
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
};

}  // namespace vormi
