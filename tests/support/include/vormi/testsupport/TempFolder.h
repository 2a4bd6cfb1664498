// A fresh private folder under the system's temporary folder, removed with all
// its contents (read-only files included) when it goes out of scope.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vormi::testsupport {

class TempFolder {
public:
    // label starts the folder's name; under is where it is made (the system's
    // temporary folder when empty). A folder that cannot be made ends the
    // process with a message: no test, fuzz run or benchmark can go on without it.
    explicit TempFolder(std::string_view label = "vormi-test", const std::filesystem::path& under = {});
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return Path_; }
    // Joined with the platform's own separator, so that names split as the
    // platform's rules say.
    std::string Path(const std::string& name) const;
    std::string operator/(const std::string& name) const { return Path(name); }

private:
    std::string Path_;
};

}  // namespace vormi::testsupport
