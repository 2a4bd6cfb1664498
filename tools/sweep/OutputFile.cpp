#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace sweep {

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

}  // namespace

bool CanWrite(const std::string& path, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        error = "cannot write '" + path + "': it is a folder";
        return false;
    }
    if (fs::exists(status) && access(path.c_str(), W_OK) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    const std::string folder = FolderOf(path);
    if (!fs::is_directory(folder, ec)) {
        error = "cannot write '" + path + "': the folder '" + folder + "' does not exist";
        return false;
    }
    if (access(folder.c_str(), W_OK) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteWhole(const std::string& path, const std::string& text, std::string& error) {
    std::string temporary = FolderOf(path) + "/." + fs::path(path).filename().string() + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        ok = wrote > 0;
        if (ok) done += static_cast<size_t>(wrote);
    }
    if (!ok) error = "cannot write '" + path + "': " + std::strerror(errno);
    // A new file as an ordinary one would be: readable by all unless the umask says otherwise.
    const mode_t mask = umask(0);
    umask(mask);
    if (ok && fchmod(fd, 0666 & ~mask) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        ok = false;
    }
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

}  // namespace sweep
