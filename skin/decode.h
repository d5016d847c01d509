#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "lcd/picture.h"

namespace mk::skin {

// A decoded picture, or the message that explains why there is none
// (the decoder's own error text, or the program's for an unknown extension
// or a picture too large to decode safely).
struct DecodeResult {
  lcd::Picture picture;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Pictures larger than this are refused before any large allocation.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::uint64_t kMaxPictureBytes = 256ull << 20;

// Chooses the decoder by the file's extension, without regard to case:
// "png", "jpg"/"jpeg", "bmp"; any other gives
// "Unknown picture file extension (.<ext>)".
DecodeResult decodePictureFile(const std::filesystem::path& path);

DecodeResult decodePng(std::span<const std::uint8_t> bytes);
DecodeResult decodeJpeg(std::span<const std::uint8_t> bytes);
DecodeResult decodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace mk::skin
