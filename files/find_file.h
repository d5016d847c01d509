#pragma once

#include <filesystem>
#include <optional>

namespace mk::files {

// Skins are written on a file system that ignores letter case, so a name in
// Config.ini may differ in case from the file on disk. Returns the path of
// the regular file named by `path`, taken as it is when it exists, otherwise
// with every folder and the file name matched without regard to case (the
// first match in byte order when several differ only in case). Names are
// UTF-8: letters of every script compare by their Unicode case, and a byte
// that is no UTF-8 matches only itself. nullopt when there is no such file.
// Relative paths stay relative to the current directory.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& path);

}  // namespace mk::files
