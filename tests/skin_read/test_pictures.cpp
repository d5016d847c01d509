#include "tests/skin_read/test_pictures.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mk::skin::testing {

void putLittle(Bytes& out, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putBig(Bytes& out, std::uint64_t value, int size) {
  for (int i = size - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes pngChunk(const std::string& type, const Bytes& data) {
  Bytes out;
  putBig(out, data.size(), 4);
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + 4, static_cast<uInt>(out.size() - 4));
  putBig(out, crc, 4);
  return out;
}

Bytes makePng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType, const Bytes& scanlines,
              const std::vector<PngChunk>& before, int interlace) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  putBig(ihdr, width, 4);
  putBig(ihdr, height, 4);
  ihdr.push_back(static_cast<std::uint8_t>(bitDepth));
  ihdr.push_back(static_cast<std::uint8_t>(colourType));
  ihdr.push_back(0);
  ihdr.push_back(0);
  ihdr.push_back(static_cast<std::uint8_t>(interlace));
  const auto append = [&out](const Bytes& chunk) { out.insert(out.end(), chunk.begin(), chunk.end()); };
  append(pngChunk("IHDR", ihdr));
  for (const PngChunk& c : before) append(pngChunk(c.type, c.data));
  uLongf packedSize = compressBound(static_cast<uLong>(scanlines.size()));
  Bytes packed(packedSize);
  if (compress(packed.data(), &packedSize, scanlines.data(), static_cast<uLong>(scanlines.size())) != Z_OK) {
    throw std::runtime_error("zlib compress failed");
  }
  packed.resize(packedSize);
  append(pngChunk("IDAT", packed));
  append(pngChunk("IEND", {}));
  return out;
}

Bytes makeBmp(const BmpSpec& spec) {
  const std::uint32_t tableBytes = static_cast<std::uint32_t>(spec.palette.size() + spec.masks.size()) * 4;
  const std::uint32_t offset = 14 + 40 + tableBytes;
  Bytes out = {'B', 'M'};
  putLittle(out, offset + spec.pixelData.size(), 4);
  putLittle(out, 0, 4);
  putLittle(out, offset, 4);
  putLittle(out, 40, 4);
  putLittle(out, static_cast<std::uint32_t>(spec.width), 4);
  putLittle(out, static_cast<std::uint32_t>(spec.height), 4);
  putLittle(out, 1, 2);
  putLittle(out, spec.bitCount, 2);
  putLittle(out, spec.compression, 4);
  putLittle(out, spec.pixelData.size(), 4);
  putLittle(out, 2835, 4);
  putLittle(out, 2835, 4);
  putLittle(out, spec.palette.size(), 4);
  putLittle(out, 0, 4);
  for (std::uint32_t m : spec.masks) putLittle(out, m, 4);
  for (std::uint32_t c : spec.palette) putLittle(out, c, 4);
  out.insert(out.end(), spec.pixelData.begin(), spec.pixelData.end());
  return out;
}

Bytes makeJpeg(int width, int height, JpegColour colour, std::uint32_t value, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  Bytes sample;
  switch (colour) {
    case JpegColour::Rgb:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_RGB;
      sample = {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
      break;
    case JpegColour::Grey:
      cinfo.input_components = 1;
      cinfo.in_color_space = JCS_GRAYSCALE;
      sample = {static_cast<std::uint8_t>(value >> 16)};
      break;
    case JpegColour::CmykAdobe:
    case JpegColour::CmykPlain:
      cinfo.input_components = 4;
      cinfo.in_color_space = JCS_CMYK;
      sample = {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
      break;
  }
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  if (colour == JpegColour::CmykPlain) cinfo.write_Adobe_marker = FALSE;
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  Bytes row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), sample.begin(), sample.end());
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

Rgba rgbaAt(const lcd::Picture& picture, int x, int y) {
  const std::uint32_t p = picture.pixel(x, y);
  return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF),
          static_cast<int>(p >> 24)};
}

std::optional<int> maxDifference(const lcd::Picture& a, const lcd::Picture& b) {
  if (a.width() != b.width() || a.height() != b.height()) return std::nullopt;
  int worst = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const std::uint32_t p = a.pixel(x, y);
      const std::uint32_t q = b.pixel(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)));
      }
    }
  }
  return worst;
}

Bytes readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::optional<std::filesystem::path> corpusDir() {
  // The build's own idea of the place serves when the variable is not passed on.
  const char* fromEnvironment = std::getenv("MK_CORPUS_DIR");
  const std::filesystem::path dir = fromEnvironment && *fromEnvironment ? fromEnvironment : MK_DEFAULT_CORPUS_DIR;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return std::nullopt;
  return dir;
}

}  // namespace mk::skin::testing
