#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "skin/decode.h"

namespace mk::skin {

// A picture file's bytes as the decoders are given them, or the message that
// says why it cannot be read (a folder, a file that is missing, unreadable
// or too large for the limits).
struct PictureFileBytes {
  std::vector<std::uint8_t> bytes;  // the first `most` bytes asked for, or all of them
  std::uint64_t size = 0;           // the whole file's length
  std::string error;
  bool ok() const { return error.empty(); }
};

// Reads at most `most` bytes from the start of the file at path.
PictureFileBytes readPictureFile(const std::filesystem::path& path, const DecodeLimits& limits,
                                 std::uint64_t most = std::numeric_limits<std::uint64_t>::max());

}  // namespace mk::skin
