#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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

// The bounds a decode works within. Tests and fuzzers may narrow them.
struct DecodeLimits {
  int maxSide = kMaxPictureSide;
  std::uint64_t maxBytes = kMaxPictureBytes;  // of decoded 32-bit pixels
};

// Chooses the decoder by the file's extension, without regard to case:
// "png", "jpg"/"jpeg", "bmp"; any other gives
// "Unknown picture file extension (.<ext>)".
DecodeResult decodePictureFile(const std::filesystem::path& path, const DecodeLimits& limits = {});

// PNG keeps its own transparency (PictureKind::Png); JPEG (PictureKind::Jpeg)
// and BMP (PictureKind::Bitmap) decode opaque.
DecodeResult decodePng(std::span<const std::uint8_t> bytes, const DecodeLimits& limits = {});
DecodeResult decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeLimits& limits = {});
DecodeResult decodeBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits = {});

// What decodeBmp refuses these bytes for that their headers and length show
// (a size beyond the limits, headers Qt does not take, a file cut short),
// with decodeBmp's very message; nullopt when only decoding the pixels could
// tell. Decodes no pixel, so it costs next to nothing.
std::optional<std::string> checkBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits = {});
// checkBmp on a file, of which it reads the headers only (all of a run-length
// coded one: where such a file is cut short shows only by walking its codes).
// A file that cannot be read gives decodePictureFile's message.
std::optional<std::string> checkBmpFile(const std::filesystem::path& path, const DecodeLimits& limits = {});

// The refusal for a picture of these dimensions, or nullopt when it may be decoded.
std::optional<std::string> checkPictureSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits);

}  // namespace mk::skin
