#pragma once

#include <filesystem>
#include <optional>

namespace mk::skin {

// Skins are written on a file system that ignores letter case, so a name in
// Config.ini may differ in case from the file on disk. Returns the path of
// the regular file named by `path`, taken as it is when it exists, otherwise
// with every folder and the file name matched without regard to case (the
// first match in name order when several differ only in case). nullopt when
// there is no such file. Relative paths stay relative to the current directory.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& path);

}  // namespace mk::skin
