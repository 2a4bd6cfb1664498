#include "vormi/testsupport/WholeFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vormi::testsupport {

bool WriteWholeFile(const std::string& name, std::string_view bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool WriteWholeFile(const std::string& name, std::span<const uint8_t> bytes) {
    return WriteWholeFile(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string ReadWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> ReadWholeBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
}

bool MakeReadOnly(const std::string& name) {
    using std::filesystem::perms;
    std::error_code error;
    std::filesystem::permissions(name, perms::owner_read | perms::group_read | perms::others_read, error);
    return !error;
}

}  // namespace vormi::testsupport
