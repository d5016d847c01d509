#include <gtest/gtest.h>

#include "skin/decode.h"
#include "tests/skin_read/test_pictures.h"

namespace mk::skin {
namespace {

using testing::Bytes;
using testing::makePng;
using testing::Rgba;
using testing::rgbaAt;

constexpr int kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgbAlpha = 6;

TEST(PngDecoding, RgbPixelsComeBackExactlyAndOpaque) {
  // Two rows of two pixels: red, green / blue, white.
  const Bytes rows = {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
  const DecodeResult r = decodePng(makePng(2, 2, 8, kRgb, rows));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.kind(), lcd::PictureKind::Png);
  ASSERT_EQ(r.picture.width(), 2);
  ASSERT_EQ(r.picture.height(), 2);
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(r.picture.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(r.picture.pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(r.picture.pixel(1, 1), 0xFFFFFFFFu);
}

// The compositor draws premultiplied pixels; straight alpha from the file
// must be converted, or half-transparent edges would glow.
TEST(PngDecoding, AlphaIsPremultiplied) {
  const Bytes rows = {0, 200, 100, 50, 128, 10, 20, 30, 0, 0, 0, 0, 255};
  const DecodeResult r = decodePng(makePng(3, 1, 8, kRgbAlpha, rows));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(rgbaAt(r.picture, 0, 0), (Rgba{100, 50, 25, 128}));
  EXPECT_EQ(rgbaAt(r.picture, 1, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(rgbaAt(r.picture, 2, 0), (Rgba{0, 0, 0, 255}));

  const DecodeResult grey = decodePng(makePng(1, 1, 8, kGreyAlpha, {0, 255, 51}));
  ASSERT_TRUE(grey.ok()) << grey.error;
  EXPECT_EQ(rgbaAt(grey.picture, 0, 0), (Rgba{51, 51, 51, 51}));

  // Each channel times alpha / 255 is rounded to the nearest value, not cut:
  // faint edges would otherwise darken and a barely visible pixel vanish.
  const DecodeResult faint = decodePng(makePng(2, 1, 8, kRgbAlpha, {0, 1, 3, 254, 128, 200, 200, 200, 1}));
  ASSERT_TRUE(faint.ok()) << faint.error;
  EXPECT_EQ(rgbaAt(faint.picture, 0, 0), (Rgba{1, 2, 127, 128}));
  EXPECT_EQ(rgbaAt(faint.picture, 1, 0), (Rgba{1, 1, 1, 1}));
}

TEST(PngDecoding, TransparentColourChunkMakesThosePixelsSeeThrough) {
  // Palette: 0 magenta, 1 yellow, 2 cyan; tRNS: 0 fully transparent, 1 at 50 %.
  const Bytes palette = {255, 0, 255, 255, 255, 0, 0, 255, 255};
  const DecodeResult r = decodePng(makePng(3, 1, 8, kPalette, {0, 0, 1, 2}, {{"PLTE", palette}, {"tRNS", {0, 128}}}));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.pixel(0, 0), 0u);
  EXPECT_EQ(rgbaAt(r.picture, 1, 0), (Rgba{128, 128, 0, 128}));
  EXPECT_EQ(r.picture.pixel(2, 0), 0xFF00FFFFu);

  // An RGB file whose tRNS names one colour: only that colour goes.
  const Bytes rows = {0, 1, 2, 3, 1, 2, 4};
  const DecodeResult rgb = decodePng(makePng(2, 1, 8, kRgb, rows, {{"tRNS", {0, 1, 0, 2, 0, 3}}}));
  ASSERT_TRUE(rgb.ok()) << rgb.error;
  EXPECT_EQ(rgb.picture.pixel(0, 0), 0u);
  EXPECT_EQ(rgb.picture.pixel(1, 0), 0xFF010204u);

  // 16-bit grey with a transparent grey level, reduced to 8 bits afterwards.
  const DecodeResult grey = decodePng(makePng(2, 1, 16, kGrey, {0, 0x12, 0x34, 0x12, 0x35}, {{"tRNS", {0x12, 0x34}}}));
  ASSERT_TRUE(grey.ok()) << grey.error;
  EXPECT_EQ(grey.picture.pixel(0, 0), 0u);
  EXPECT_EQ(grey.picture.pixel(1, 0) >> 24, 255u);
}

TEST(PngDecoding, LowBitDepthsExpandToTheFullRange) {
  // 1-bit grey: 1 0 1 1 0 0 0 0 ...
  const DecodeResult one = decodePng(makePng(4, 1, 1, kGrey, {0, 0b1011'0000}));
  ASSERT_TRUE(one.ok()) << one.error;
  EXPECT_EQ(one.picture.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(one.picture.pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(one.picture.pixel(3, 0), 0xFFFFFFFFu);

  // 2-bit grey: 0, 1, 2, 3 -> 0, 85, 170, 255.
  const DecodeResult two = decodePng(makePng(4, 1, 2, kGrey, {0, 0b00'01'10'11}));
  ASSERT_TRUE(two.ok()) << two.error;
  EXPECT_EQ(two.picture.pixel(1, 0), 0xFF555555u);
  EXPECT_EQ(two.picture.pixel(2, 0), 0xFFAAAAAAu);
  EXPECT_EQ(two.picture.pixel(3, 0), 0xFFFFFFFFu);

  // 4-bit palette indices.
  const DecodeResult pal =
      decodePng(makePng(2, 1, 4, kPalette, {0, 0x10}, {{"PLTE", {1, 2, 3, 4, 5, 6}}}));
  ASSERT_TRUE(pal.ok()) << pal.error;
  EXPECT_EQ(pal.picture.pixel(0, 0), 0xFF040506u);
  EXPECT_EQ(pal.picture.pixel(1, 0), 0xFF010203u);
}

TEST(PngDecoding, SixteenBitChannelsAreScaledNotCut) {
  const Bytes rows = {0, 0xFF, 0xFF, 0x80, 0x80, 0x01, 0x01};
  const DecodeResult r = decodePng(makePng(1, 1, 16, kRgb, rows));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFFFF8001u);
}

TEST(PngDecoding, MalformedFilesAreRefusedWithLibpngsMessage) {
  const Bytes good = makePng(2, 2, 8, kRgb, Bytes(14, 0));
  EXPECT_TRUE(decodePng(good).ok());

  EXPECT_FALSE(decodePng({}).ok());
  EXPECT_EQ(decodePng(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}).error, "Not a PNG file");

  Bytes badCrc = good;
  badCrc[8 + 8 + 13] ^= 0xFF;  // IHDR's CRC
  EXPECT_EQ(decodePng(badCrc).error, "IHDR: CRC error");

  // Too few scanline bytes for the picture.
  const DecodeResult shortData = decodePng(makePng(4, 4, 8, kRgb, Bytes(5, 0)));
  EXPECT_FALSE(shortData.ok());
  EXPECT_FALSE(shortData.error.empty());

  // Every cut of a valid file is refused, never shown half-decoded.
  for (std::size_t length = 0; length < good.size(); ++length) {
    const DecodeResult cut = decodePng(std::span(good).first(length));
    EXPECT_FALSE(cut.ok()) << "cut at " << length;
    EXPECT_FALSE(cut.error.empty());
  }

  // A palette file without its palette.
  EXPECT_FALSE(decodePng(makePng(1, 1, 8, kPalette, {0, 0})).ok());
}

// libpng treats an oversized ancillary chunk as a mere warning and would
// allocate and clear the length the chunk claims: 1.5 GiB for these few bytes.
TEST(PngDecoding, ChunkClaimingAHugeLengthIsRefusedWithoutAllocatingIt) {
  Bytes file = makePng(1, 1, 8, kGrey, {0, 0});
  const std::size_t idat = 8 + 25;
  Bytes text;
  testing::putBig(text, 0x5F000000, 4);
  text.insert(text.end(), {'z', 'T', 'X', 't', 'k', 'e', 'y', 0, 0});
  file.insert(file.begin() + idat, text.begin(), text.end());
  EXPECT_EQ(decodePng(file).error, "zTXt: chunk data is too large");
}

// The header is read before anything of the picture's size is allocated.
TEST(PngDecoding, OversizedPicturesAreRefusedFromTheHeader) {
  const DecodeResult wide = decodePng(makePng(20000, 1, 8, kGrey, {0}));
  EXPECT_EQ(wide.error.rfind("Picture too large (20000 x 1 pixels)", 0), 0u) << wide.error;

  // Within 16384 on each side, but more than 256 MiB of pixels.
  const DecodeResult big = decodePng(makePng(16384, 4097, 8, kGrey, {0}));
  EXPECT_EQ(big.error.rfind("Picture too large (16384 x 4097 pixels)", 0), 0u) << big.error;

  const DecodeLimits small{4, 64};
  EXPECT_TRUE(decodePng(makePng(4, 4, 8, kGrey, Bytes(20, 0)), small).ok());
  EXPECT_FALSE(decodePng(makePng(5, 1, 8, kGrey, Bytes(6, 0)), small).ok());
  EXPECT_FALSE(decodePng(makePng(4, 5, 8, kGrey, Bytes(25, 0)), DecodeLimits{8, 64}).ok());
}

}  // namespace
}  // namespace mk::skin
