// The files the user names for the reports: checked before the sweep, so a
// long run does not end in an unwritable name, and written whole or not at all.
#pragma once

#include <string>

namespace sweep {

// False, with the reason, when path names a folder or cannot be written.
bool CanWrite(const std::string& path, std::string& error);

// Writes text to a new file beside path and renames it over path, so that a
// reader never sees a partial file and a failure leaves path as it was.
bool WriteWhole(const std::string& path, const std::string& text, std::string& error);

}  // namespace sweep
