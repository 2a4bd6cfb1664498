// Whole files read and written in one call, and the attribute changes the
// tests prepare files with. Each reports failure by its result.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vormi::testsupport {

bool WriteWholeFile(const std::string& name, std::string_view bytes);
bool WriteWholeFile(const std::string& name, std::span<const uint8_t> bytes);
// Empty when the file cannot be read.
std::string ReadWholeFile(const std::string& name);
std::vector<uint8_t> ReadWholeBytes(const std::string& name);
// Anything by that name, folders included.
bool Exists(const std::string& name);
// No write permission for anyone (on Windows: the read-only attribute).
bool MakeReadOnly(const std::string& name);

}  // namespace vormi::testsupport
