// The files a sweep measures: those named, and the regular files under the
// folders named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

struct Source {
    std::string Path;  // as named, or the folder named joined with the path below it
    uint64_t Size;
};

struct Gathered {
    std::vector<Source> Sources;
    std::vector<std::string> Problems;  // a path named that cannot be measured, and why
    std::vector<std::string> Notes;     // entries of folders left out: links, pipes, devices, sockets
};

// Each path in order; a folder's regular files recursively, sorted by path.
// Symbolic links met inside a folder are not followed; a path named on the
// command line is taken as the system resolves it. Every file must open for
// reading and be smaller than 4 GiB (the compressed format's sizes are 32-bit).
Gathered GatherSources(const std::vector<std::string>& paths);

}  // namespace sweep
