#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <vector>

#include "skin/decode.h"
#include "skin/picture_file.h"

// Qt's BMP reader decodes; this file adds what a skin needs on top of it: a
// refusal of files cut short (Qt fills the missing rows and reports success),
// the size limits, and full-range colour channels in 16- and 32-bit files
// (Qt widens a 5-bit 31 to 248, so a white 16-bit skin would not be white,
// nor a magenta one match the window's key colour). Its refusals that need
// no pixel decoded can also be had on their own, from the headers alone: the
// manual checks its pages that way when its window is created.

namespace mk::skin {
namespace {

// Compression codes of the Windows headers. OS/2 2.x headers give 3 and 4
// other meanings (Huffman, RLE24).
enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

struct BmpHeader {
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kRgb;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue; zero when not bit fields
};

std::uint32_t readLittle(std::span<const std::uint8_t> b, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

bool isWindowsHeader(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// The fields this file needs, or nullopt when the header is not even complete
// (Qt then gives its own refusal).
std::optional<BmpHeader> readHeader(std::span<const std::uint8_t> b) {
  if (b.size() < 18 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  BmpHeader h;
  h.pixelOffset = readLittle(b, 10, 4);
  h.headerSize = readLittle(b, 14, 4);
  if (h.headerSize == 12) {
    if (b.size() < 26) return std::nullopt;
    h.width = readLittle(b, 18, 2);
    h.height = readLittle(b, 20, 2);
    h.bitCount = readLittle(b, 24, 2);
    return h;
  }
  if (h.headerSize < 16 || b.size() < 14 + std::size_t{std::min<std::uint32_t>(h.headerSize, 40)}) return std::nullopt;
  h.width = static_cast<std::int32_t>(readLittle(b, 18, 4));
  h.height = static_cast<std::int32_t>(readLittle(b, 22, 4));
  h.bitCount = readLittle(b, 28, 2);
  if (h.headerSize >= 20) h.compression = readLittle(b, 30, 4);
  if (!isWindowsHeader(h.headerSize)) return h;

  if (h.compression == kRgb && h.bitCount == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F};
  } else if ((h.compression == kBitfields || h.compression == kAlphaBitfields) &&
             (h.bitCount == 16 || h.bitCount == 32) && b.size() >= 66) {
    // Right after the 40-byte fields, inside a longer header or after a short one.
    h.masks = {readLittle(b, 54, 4), readLittle(b, 58, 4), readLittle(b, 62, 4)};
  }
  return h;
}

// True when an RLE stream ends before its end-of-bitmap code and before it
// has reached the last row.
bool rleStreamCutShort(std::span<const std::uint8_t> data, const BmpHeader& h) {
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::size_t at = 0;
  const auto complete = [&] { return y >= rows || (y == rows - 1 && x >= h.width); };
  while (at + 2 <= data.size()) {
    const std::uint8_t count = data[at];
    const std::uint8_t code = data[at + 1];
    at += 2;
    if (count > 0) {
      x += count;
    } else if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 1) {
      return false;
    } else if (code == 2) {
      if (at + 2 > data.size()) break;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {
      const std::size_t bytes = h.compression == kRle8 ? code : (code + 1u) / 2;
      at += (bytes + 1) & ~std::size_t{1};
      x += code;
    }
    if (y >= rows) return false;
  }
  return !complete();
}

// Whether a truncation check must walk the pixel data, which then has to be
// at hand; for any other bitmap the file's length tells.
bool pixelDataIsRle(const BmpHeader& h) {
  return isWindowsHeader(h.headerSize) && (h.compression == kRle8 || h.compression == kRle4);
}

// b holds the file's first bytes, all of them when pixelDataIsRle; fileSize is
// the whole file's length.
std::optional<std::string> truncationError(std::span<const std::uint8_t> b, std::uint64_t fileSize,
                                           const BmpHeader& h) {
  static const std::string kMessage = "Bitmap file is truncated: it ends before its pixel data does";
  if (h.pixelOffset > fileSize) return kMessage;
  const bool windows = isWindowsHeader(h.headerSize);
  const std::uint64_t width = h.width > 0 ? static_cast<std::uint64_t>(h.width) : 0;
  const std::uint64_t rows = static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height);
  if (width == 0 || rows == 0) return std::nullopt;

  const bool uncompressed =
      h.compression == kRgb || (windows && (h.compression == kBitfields || h.compression == kAlphaBitfields));
  if (uncompressed && h.bitCount >= 1 && h.bitCount <= 64) {
    const std::uint64_t rowBits = width * h.bitCount;
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    // The last row's padding is not needed to show the picture.
    const std::uint64_t needed = h.pixelOffset + stride * (rows - 1) + (rowBits + 7) / 8;
    if (needed > fileSize) return kMessage;
  } else if (pixelDataIsRle(h)) {
    if (rleStreamCutShort(b.subspan(h.pixelOffset), h)) return kMessage;
  }
  return std::nullopt;
}

// A colour channel of a 16- or 32-bit bitmap that Qt widens to 8 bits by
// shifting (narrow ones) or loses (wide ones): such channels are taken from
// the stored pixels again and scaled to the full 0..255 range.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;
  bool repair = false;
};

Channel channelOf(std::uint32_t mask) {
  Channel c;
  if (mask == 0) return c;
  c.mask = mask;
  c.shift = std::countr_zero(mask);
  c.max = mask >> c.shift;
  c.repair = c.max != 0xFF;
  return c;
}

std::uint32_t scaled(const Channel& c, std::uint32_t raw) {
  const std::uint64_t v = (raw & c.mask) >> c.shift;
  return static_cast<std::uint32_t>((v * 255 + c.max / 2) / c.max);
}

// Rewrites the channels that need it, reading the stored pixel words.
// Only called for uncompressed 16- and 32-bit data that is all present.
void repairChannels(std::vector<std::uint32_t>& pixels, int width, int height, std::span<const std::uint8_t> b,
                    const BmpHeader& h, const std::array<Channel, 3>& channels) {
  const std::size_t bytesPerPixel = h.bitCount / 8;
  const std::size_t stride = (std::size_t{static_cast<std::uint32_t>(width)} * h.bitCount + 31) / 32 * 4;
  const bool bottomUp = h.height > 0;
  for (int y = 0; y < height; ++y) {
    const std::size_t storedRow = static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
    const std::size_t rowStart = h.pixelOffset + storedRow * stride;
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t raw =
          readLittle(b, rowStart + static_cast<std::size_t>(x) * bytesPerPixel, static_cast<int>(bytesPerPixel));
      std::uint32_t p = out[x];
      for (std::size_t c = 0; c < 3; ++c) {
        if (!channels[c].repair) continue;
        const int at = 16 - 8 * static_cast<int>(c);  // red, green, blue in 0xAARRGGBB
        p = (p & ~(0xFFu << at)) | scaled(channels[c], raw) << at;
      }
      out[x] = p;
    }
  }
}

// Qt's reader over bytes that stay the caller's.
class QtBmpReader {
 public:
  QtBmpReader(std::span<const std::uint8_t> bytes, const DecodeLimits& limits)
      : data_(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<qsizetype>(bytes.size()))) {
    buffer_.setBuffer(&data_);
    buffer_.open(QIODevice::ReadOnly);
    reader_.setDevice(&buffer_);
    reader_.setFormat("bmp");
    reader_.setAutoDetectImageFormat(false);  // a PNG named .bmp is not a bitmap
    QImageReader::setAllocationLimit(static_cast<int>((limits.maxBytes + (1u << 20) - 1) >> 20));
  }
  QtBmpReader(const QtBmpReader&) = delete;
  QtBmpReader& operator=(const QtBmpReader&) = delete;

  QImageReader& reader() { return reader_; }

 private:
  QByteArray data_;
  QBuffer buffer_;
  QImageReader reader_;
};

std::string notValid(const QImageReader& reader) {
  return "Bitmap image is not valid (" + reader.errorString().toStdString() + ")";
}

// What decodeBmp refuses before it asks Qt for the pixels: a size beyond the
// limits, a file cut short. head and fileSize as for truncationError; reader
// reads head.
std::optional<std::string> refusalBeforeReading(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                                QImageReader& reader, const DecodeLimits& limits) {
  if (const std::optional<BmpHeader> header = readHeader(head)) {
    // A negative width is Qt's to refuse; it is no size to report.
    const std::int64_t rows = header->height < 0 ? -header->height : header->height;
    if (header->width >= 0) {
      if (auto refusal = checkPictureSize(header->width, rows, limits)) return refusal;
    }
    if (auto truncated = truncationError(head, fileSize, *header)) return truncated;
  }
  if (const QSize size = reader.size(); size.isValid()) {
    if (auto refusal = checkPictureSize(size.width(), size.height(), limits)) return refusal;
  }
  return std::nullopt;
}

// Everything decodeBmp would refuse a file for that its headers and length
// show, with decodeBmp's message, without decoding a pixel.
std::optional<std::string> refusalOfHead(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                         const DecodeLimits& limits) {
  QtBmpReader qt(head, limits);
  QImageReader& reader = qt.reader();
  if (auto refusal = refusalBeforeReading(head, fileSize, reader, limits)) return refusal;
  // Qt names no format for headers it refuses; asked for the pixels then, it
  // stops at the headers with the message decodeBmp gives.
  if (reader.imageFormat() == QImage::Format_Invalid) {
    QImage image;
    if (!reader.read(&image)) return notValid(reader);
  }
  return std::nullopt;
}

// The file and information headers, the largest of which is 14 + 124 bytes
// with three bit-field masks after it, fit well inside this.
constexpr std::uint64_t kHeadBytes = 1024;

}  // namespace

DecodeResult decodeBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
  QtBmpReader qt(bytes, limits);
  QImageReader& reader = qt.reader();
  if (auto refusal = refusalBeforeReading(bytes, bytes.size(), reader, limits)) return {{}, *std::move(refusal)};
  QImage image;
  if (!reader.read(&image)) return {{}, notValid(reader)};
  if (auto refusal = checkPictureSize(image.width(), image.height(), limits)) return {{}, *std::move(refusal)};

  image = image.convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return {{}, "Out of memory while decoding the bitmap"};
  const int width = image.width();
  const int height = image.height();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));

  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::transform(line, line + width, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width,
                   [](QRgb p) { return p | 0xFF000000u; });
  }
  const std::optional<BmpHeader> header = readHeader(bytes);
  if (header && header->width == width && std::abs(header->height) == height) {
    const std::array<Channel, 3> channels{channelOf(header->masks[0]), channelOf(header->masks[1]),
                                          channelOf(header->masks[2])};
    if (channels[0].repair || channels[1].repair || channels[2].repair) {
      repairChannels(pixels, width, height, bytes, *header, channels);
    }
  }
  return {lcd::Picture::fromPixels(width, height, std::move(pixels), lcd::PictureKind::Bitmap), {}};
}

std::optional<std::string> checkBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
  return refusalOfHead(bytes, bytes.size(), limits);
}

std::optional<std::string> checkBmpFile(const std::filesystem::path& path, const DecodeLimits& limits) {
  PictureFileBytes file = readPictureFile(path, limits, kHeadBytes);
  if (!file.ok()) return file.error;
  const std::optional<BmpHeader> header = readHeader(file.bytes);
  if (header && pixelDataIsRle(*header) && file.bytes.size() < file.size) {
    file = readPictureFile(path, limits);
    if (!file.ok()) return file.error;
  }
  return refusalOfHead(file.bytes, file.size, limits);
}

}  // namespace mk::skin
