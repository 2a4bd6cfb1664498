// The safety fixture with what the replacement tests look at: the contents a
// target had before, and the names left in the folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ZkFileSafetyFixture.h"

namespace vormi {

class ZkReplaceTest : public ZkFileSafetyTest {
protected:
    const Bytes Earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};

    // The names in the test's folder, sorted.
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace vormi
