// A file in a fresh temporary folder, opened or created through the platform.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "vormi/platform/Files.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

using platform::File;
using platform::ReadSharing;
using testsupport::MakeReadOnly;
using testsupport::ReadWholeFile;
using testsupport::TempFolder;
using testsupport::WriteWholeFile;

class FilesTest : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Name = Folder / "data.bin";

    void Open(File& file, ReadSharing sharing) {
        file.Assign(Name);
        ASSERT_EQ(file.OpenRead(sharing), 0);
    }
    int Create(File& file) {
        file.Assign(Name);
        return file.Create();
    }
};

}  // namespace vormi
