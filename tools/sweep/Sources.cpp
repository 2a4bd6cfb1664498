#include "Sources.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

namespace sweep {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kLargestSource = UINT32_MAX;  // 4 GiB - 1

const char* KindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::fifo:
            return "a pipe";
        case fs::file_type::socket:
            return "a socket";
        case fs::file_type::block:
            return "a block device";
        case fs::file_type::character:
            return "a character device";
        case fs::file_type::symlink:
            return "a symbolic link (links are not followed)";
        default:
            return "not a regular file";
    }
}

// A regular file that opens and fits the format, or the reason it cannot be measured.
bool CheckFile(const std::string& path, Source& source, std::string& problem) {
    std::error_code ec;
    const uint64_t size = fs::file_size(path, ec);
    if (ec) {
        problem = "cannot read '" + path + "': " + ec.message();
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        problem = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::fclose(file);
    if (size > kLargestSource) {
        problem = "'" + path + "' is " + std::to_string(size) +
                  " bytes: the compressed format records sizes in 32 bits, so a source must be under 4 GiB";
        return false;
    }
    source = {path, size};
    return true;
}

void AddFile(const std::string& path, Gathered& out) {
    Source source;
    std::string problem;
    if (CheckFile(path, source, problem))
        out.Sources.push_back(source);
    else
        out.Problems.push_back(problem);
}

void GatherFolder(const std::string& folder, Gathered& out) {
    std::vector<std::string> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::file_type type = it->symlink_status(ec).type();
        if (ec) break;
        if (type == fs::file_type::regular)
            files.push_back(it->path().string());
        else if (type != fs::file_type::directory)
            out.Notes.push_back("skipping '" + it->path().string() + "': " + KindOf(type));
    }
    if (ec) out.Problems.push_back("cannot read all of the folder '" + folder + "': " + ec.message());
    if (files.empty()) {
        out.Problems.push_back("the folder '" + folder + "' holds no regular file");
        return;
    }
    std::sort(files.begin(), files.end());
    for (const std::string& path : files) AddFile(path, out);
}

}  // namespace

Gathered GatherSources(const std::vector<std::string>& paths) {
    Gathered out;
    for (const std::string& path : paths) {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (ec || !fs::exists(status)) {
            out.Problems.push_back("cannot read '" + path +
                                   "': " + (ec ? ec.message() : std::string("No such file or directory")));
        } else if (fs::is_directory(status)) {
            GatherFolder(path, out);
        } else if (!fs::is_regular_file(status)) {
            out.Problems.push_back("'" + path + "' is " + KindOf(status.type()) + ", not a regular file");
        } else {
            AddFile(path, out);
        }
    }
    // A file named twice (or within two folders named) is measured once.
    std::set<std::string> seen;
    std::erase_if(out.Sources, [&](const Source& s) { return !seen.insert(s.Path).second; });
    return out;
}

}  // namespace sweep
