#pragma once

#include <filesystem>
#include <string_view>

namespace mk::fuzz {

// A folder of this process's own for the files a target has to write: in
// memory where the system has /dev/shm, so a file per input costs no disk.
// Made on first use, which is in the first input (a libFuzzer process that
// only starts workers never makes one), and removed at exit; the folder of
// a process that crashed is removed by the next one of the same target.
std::filesystem::path scratchFolder(std::string_view target);

}  // namespace mk::fuzz
