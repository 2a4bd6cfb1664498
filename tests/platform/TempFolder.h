// A fresh folder under the system's temporary folder, removed with all its
// contents when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vormi {

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        std::mt19937_64 random(seed());
        std::error_code error;
        for (int attempt = 0; attempt < 100 && Path_.empty(); ++attempt) {
            const auto path = std::filesystem::temp_directory_path() / ("platform-test-" + std::to_string(random()));
            // create_directory is false for a folder that is already there.
            if (std::filesystem::create_directory(path, error)) Path_ = path.string();
        }
        EXPECT_FALSE(Path_.empty()) << "cannot create a temporary folder";
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return Path_; }
    // Joined with the platform's own separator, so that names split as the
    // platform's rules say.
    std::string operator/(const std::string& name) const { return (std::filesystem::path(Path_) / name).string(); }

private:
    std::string Path_;
};

inline void WriteWholeFile(const std::string& name, const std::string& content) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << content;
}

inline std::string ReadWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// No write permission for anyone (on Windows: the read-only attribute).
inline void MakeReadOnly(const std::string& name) {
    using std::filesystem::perms;
    std::error_code error;
    std::filesystem::permissions(name, perms::owner_read | perms::group_read | perms::others_read, error);
    ASSERT_FALSE(error) << error.message();
}

}  // namespace vormi
