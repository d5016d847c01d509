#include <png.h>

#include <bit>
#include <cstring>
#include <vector>

#include "skin/decode.h"

namespace mk::skin {
namespace {

// libpng reports fatal errors by longjmp. Everything that must outlive a jump
// lives here, in the caller's frame, so no destructor is ever skipped and no
// local of the jumping function is read after the jump.
struct PngSession {
  std::span<const std::uint8_t> bytes;
  std::size_t offset = 0;
  char error[256] = {};
  bool overUserLimit = false;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_bytep> rows;

  ~PngSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void onPngError(png_structp png, png_const_charp message) {
  auto* session = static_cast<PngSession*>(png_get_error_ptr(png));
  std::strncpy(session->error, message, sizeof session->error - 1);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp png, png_const_charp message) {
  // The size limit shows as a warning followed by "Invalid IHDR data";
  // remember it so the refusal can say why.
  if (std::strstr(message, "exceeds user limit")) {
    static_cast<PngSession*>(png_get_error_ptr(png))->overUserLimit = true;
  }
  // An oversized chunk is only a "benign" error to libpng, which then
  // allocates and clears a buffer of the claimed length (up to 2 GiB for a
  // file of a hundred bytes). Nothing of a skin needs such a chunk.
  if (std::strstr(message, "chunk data is too large")) png_error(png, message);
}

void readPngBytes(png_structp png, png_bytep out, std::size_t length) {
  auto* session = static_cast<PngSession*>(png_get_io_ptr(png));
  if (length > session->bytes.size() - session->offset) png_error(png, "Read Error: the PNG data ends early");
  std::memcpy(out, session->bytes.data() + session->offset, length);
  session->offset += length;
}

std::uint32_t readBigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
         bytes[at + 3];
}

// Decodes into 8-bit B, G, R, A bytes in memory order (0xAARRGGBB words on a
// little-endian machine). False on failure, with the reason in
// session.error or sizeError.
bool readPng(PngSession& session, std::vector<std::uint32_t>& pixels, png_uint_32& width, png_uint_32& height,
             const DecodeLimits& limits, std::string& sizeError) {
  session.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, onPngError, onPngWarning);
  if (!session.png) {
    std::strcpy(session.error, "Out of memory while starting the PNG decoder");
    return false;
  }
  if (setjmp(png_jmpbuf(session.png))) return false;
  session.info = png_create_info_struct(session.png);
  if (!session.info) png_error(session.png, "Out of memory while starting the PNG decoder");

  png_set_read_fn(session.png, &session, readPngBytes);
  const auto side = static_cast<png_uint_32>(limits.maxSide);
  png_set_user_limits(session.png, side, side);
  png_set_chunk_cache_max(session.png, 1000);
  png_set_chunk_malloc_max(session.png, 8u << 20);

  png_structp png = session.png;
  png_infop info = session.info;
  png_read_info(png, info);
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (auto refusal = checkPictureSize(width, height, limits)) {
    sizeError = *std::move(refusal);
    return false;
  }

  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  const bool hasTransparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (hasTransparentColour) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_scale_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  const bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparentColour;
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  } else {
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    else png_set_swap_alpha(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "Unexpected PNG row layout");

  pixels.resize(std::size_t{width} * height);
  session.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    session.rows[y] = reinterpret_cast<png_bytep>(pixels.data() + std::size_t{y} * width);
  }
  png_read_image(png, session.rows.data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

DecodeResult decodePng(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
  PngSession session;
  session.bytes = bytes;
  std::vector<std::uint32_t> pixels;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::string sizeError;
  if (!readPng(session, pixels, width, height, limits, sizeError)) {
    if (!sizeError.empty()) return {{}, sizeError};
    if (session.overUserLimit && bytes.size() >= 24) {
      // The dimensions of IHDR, which is always the first chunk.
      if (auto refusal = checkPictureSize(readBigEndian32(bytes, 16), readBigEndian32(bytes, 20), limits)) {
        return {{}, *std::move(refusal)};
      }
    }
    return {{}, session.error[0] ? session.error : "Cannot decode the PNG picture"};
  }

  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = p >> 24;
    if (a == 255) continue;
    const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    p = a << 24 | scale((p >> 16) & 0xFF) << 16 | scale((p >> 8) & 0xFF) << 8 | scale(p & 0xFF);
  }
  return {lcd::Picture::fromPixels(static_cast<int>(width), static_cast<int>(height), std::move(pixels),
                                   lcd::PictureKind::Png),
          {}};
}

}  // namespace mk::skin
