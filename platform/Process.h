// What the process knows about itself.
#pragma once

#include <string>

namespace platform {

// Full path of the running executable.
std::string ExecutablePath();

}  // namespace platform
