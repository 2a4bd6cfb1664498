#include "vormi/testsupport/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace vormi::testsupport {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view label, const fs::path& under) {
    std::error_code error;
    const fs::path root = under.empty() ? fs::temp_directory_path(error) : under;
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && Path_.empty() && !error; ++attempt) {
        const fs::path path = root / (std::string(label) + "-" + std::to_string(random()));
        // create_directory is false for a folder that is already there: another name is tried.
        if (fs::create_directory(path, error)) {
            fs::permissions(path, fs::perms::owner_all, error);
            Path_ = path.string();
        }
    }
    if (Path_.empty()) {
        std::fprintf(stderr, "cannot create a temporary folder under %s: %s\n", root.string().c_str(),
                     error ? error.message().c_str() : "every name tried is taken");
        std::abort();
    }
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(Path_, error);
    if (!error) return;
    // A read-only file cannot be deleted on Windows: give every entry its
    // write permission back and try once more.
    for (auto it = fs::recursive_directory_iterator(Path_, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        std::error_code ignored;
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(Path_, error);
}

std::string TempFolder::Path(const std::string& name) const { return (fs::path(Path_) / name).string(); }

}  // namespace vormi::testsupport
