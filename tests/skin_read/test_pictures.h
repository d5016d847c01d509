#pragma once

// Tiny picture files built byte by byte (PNG, BMP) or by the real encoder
// (JPEG), so each decoder test knows every pixel it should get back.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lcd/picture.h"

namespace mk::skin::testing {

using Bytes = std::vector<std::uint8_t>;

struct PngChunk {
  std::string type;
  Bytes data;
};

// A PNG file from its header fields and the uncompressed scanlines (each row
// led by its filter byte), with extra chunks placed before IDAT.
Bytes makePng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType, const Bytes& scanlines,
              const std::vector<PngChunk>& before = {}, int interlace = 0);
Bytes pngChunk(const std::string& type, const Bytes& data);

struct BmpSpec {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries
  std::vector<std::uint32_t> masks;    // written after the 40-byte header
  Bytes pixelData;                     // stored rows, padding included
};
Bytes makeBmp(const BmpSpec& spec);

enum class JpegColour { Rgb, Grey, CmykAdobe, CmykPlain };
// A JPEG of one colour, coded at the highest quality. The colour is 0xRRGGBB
// for Rgb/Grey (Grey uses the red byte) and 0xCCMMYYKK for CMYK.
Bytes makeJpeg(int width, int height, JpegColour colour, std::uint32_t value, bool progressive = false);

void putLittle(Bytes& out, std::uint64_t value, int size);
void putBig(Bytes& out, std::uint64_t value, int size);

// The channels of a pixel as stored (premultiplied), for readable failures.
struct Rgba {
  int r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};
Rgba rgbaAt(const lcd::Picture& picture, int x, int y);

// The largest per-channel difference between two pictures of equal size,
// or nullopt when their sizes differ.
std::optional<int> maxDifference(const lcd::Picture& a, const lcd::Picture& b);

Bytes readFile(const std::filesystem::path& path);

// MK_CORPUS_DIR (or the build's default for it), or nullopt when it is not there.
std::optional<std::filesystem::path> corpusDir();

}  // namespace mk::skin::testing
