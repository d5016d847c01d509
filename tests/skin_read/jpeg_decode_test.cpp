#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/decode.h"
#include "tests/skin_read/test_pictures.h"

namespace mk::skin {
namespace {

using testing::Bytes;
using testing::JpegColour;
using testing::makeJpeg;
using testing::rgbaAt;

// JPEG is lossy; a flat colour at the highest quality comes back within a
// step or two.
void expectEveryPixelNear(const lcd::Picture& picture, int r, int g, int b, int tolerance = 2) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const testing::Rgba p = rgbaAt(picture, x, y);
      ASSERT_EQ(p.a, 255);
      ASSERT_LE(std::abs(p.r - r), tolerance) << x << "," << y;
      ASSERT_LE(std::abs(p.g - g), tolerance) << x << "," << y;
      ASSERT_LE(std::abs(p.b - b), tolerance) << x << "," << y;
    }
  }
}

TEST(JpegDecoding, ColourGreyAndProgressiveFilesDecodeOpaque) {
  const DecodeResult rgb = decodeJpeg(makeJpeg(17, 9, JpegColour::Rgb, 0xC83214));
  ASSERT_TRUE(rgb.ok()) << rgb.error;
  EXPECT_EQ(rgb.picture.kind(), lcd::PictureKind::Jpeg);
  EXPECT_EQ(rgb.picture.width(), 17);
  EXPECT_EQ(rgb.picture.height(), 9);
  expectEveryPixelNear(rgb.picture, 0xC8, 0x32, 0x14);

  const DecodeResult grey = decodeJpeg(makeJpeg(8, 8, JpegColour::Grey, 0x5A0000));
  ASSERT_TRUE(grey.ok()) << grey.error;
  expectEveryPixelNear(grey.picture, 0x5A, 0x5A, 0x5A, 0);

  const DecodeResult progressive = decodeJpeg(makeJpeg(20, 20, JpegColour::Rgb, 0x10E080, true));
  ASSERT_TRUE(progressive.ok()) << progressive.error;
  expectEveryPixelNear(progressive.picture, 0x10, 0xE0, 0x80);
}

// libjpeg hands CMYK over as four channels and leaves the conversion to us.
// Files with an Adobe marker store the values inverted (Photoshop's habit).
TEST(JpegDecoding, CmykIsConvertedWithAdobeInversion) {
  // Stored C=255 M=0 Y=255 K=255, read as inverted: magenta.
  const DecodeResult adobe = decodeJpeg(makeJpeg(8, 8, JpegColour::CmykAdobe, 0xFF00FFFF));
  ASSERT_TRUE(adobe.ok()) << adobe.error;
  expectEveryPixelNear(adobe.picture, 255, 0, 255);

  // Stored K=128 with C=M=Y=255 inverted: a grey of 128.
  const DecodeResult halfK = decodeJpeg(makeJpeg(8, 8, JpegColour::CmykAdobe, 0xFFFFFF80));
  ASSERT_TRUE(halfK.ok()) << halfK.error;
  expectEveryPixelNear(halfK.picture, 128, 128, 128);

  // Without the marker the values are plain: C=0 M=255 Y=0 K=0 is magenta too.
  const DecodeResult plain = decodeJpeg(makeJpeg(8, 8, JpegColour::CmykPlain, 0x00FF0000));
  ASSERT_TRUE(plain.ok()) << plain.error;
  expectEveryPixelNear(plain.picture, 255, 0, 255);
}

// libjpeg only warns when the data runs out and paints the rest grey; a skin
// picture cut short is refused instead of shown half grey.
TEST(JpegDecoding, TruncatedFilesAreRefused) {
  const Bytes whole = makeJpeg(32, 32, JpegColour::Rgb, 0x336699);
  ASSERT_TRUE(decodeJpeg(whole).ok());
  EXPECT_EQ(decodeJpeg({}).error, "Empty input file");
  for (std::size_t length = 1; length < whole.size(); ++length) {
    const DecodeResult cut = decodeJpeg(std::span(whole).first(length));
    EXPECT_FALSE(cut.ok()) << "cut at " << length;
    EXPECT_FALSE(cut.error.empty());
  }
  EXPECT_EQ(decodeJpeg(std::span(whole).first(whole.size() - 10)).error, "Premature end of JPEG file");
}

TEST(JpegDecoding, GarbageIsRefusedWithLibjpegsMessage) {
  EXPECT_EQ(decodeJpeg(Bytes{0x89, 'P', 'N', 'G', 0, 0, 0, 0}).error, "Not a JPEG file: starts with 0x89 0x50");
  EXPECT_FALSE(decodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xD9}).ok());
}

// Each scan of a progressive file is a pass over the whole picture, so a small
// file repeating one scan thousands of times would keep the decoder busy.
TEST(JpegDecoding, ProgressiveFileWithEndlessScansIsRefused) {
  const Bytes file = makeJpeg(8, 8, JpegColour::Grey, 0x800000, true);
  std::size_t lastScan = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA) lastScan = i;
  }
  ASSERT_NE(lastScan, 0u);
  const Bytes scan(file.begin() + static_cast<std::ptrdiff_t>(lastScan), file.end() - 2);  // up to EOI
  Bytes many(file.begin(), file.end() - 2);
  for (int i = 0; i < 600; ++i) many.insert(many.end(), scan.begin(), scan.end());
  many.insert(many.end(), {0xFF, 0xD9});
  EXPECT_EQ(decodeJpeg(many).error, "JPEG picture has more than 500 scans");

  // Exactly 500 scans are still a picture; one more is not.
  int scans = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) scans += file[i] == 0xFF && file[i + 1] == 0xDA;
  ASSERT_LT(scans, 500);
  const auto withScans = [&](int total) {
    Bytes b(file.begin(), file.end() - 2);
    for (int i = scans; i < total; ++i) b.insert(b.end(), scan.begin(), scan.end());
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
  };
  EXPECT_TRUE(decodeJpeg(withScans(500)).ok()) << decodeJpeg(withScans(500)).error;
  EXPECT_EQ(decodeJpeg(withScans(501)).error, "JPEG picture has more than 500 scans");
}

// The dimensions of the frame header are checked before libjpeg allocates
// anything of the picture's size.
TEST(JpegDecoding, OversizedPicturesAreRefusedFromTheHeader) {
  Bytes file = makeJpeg(8, 8, JpegColour::Grey, 0);
  std::size_t sof = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  }
  ASSERT_NE(sof, 0u);
  const auto setSize = [&](int width, int height) {
    file[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    file[sof + 6] = static_cast<std::uint8_t>(height);
    file[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    file[sof + 8] = static_cast<std::uint8_t>(width);
  };
  setSize(20000, 8);
  EXPECT_EQ(decodeJpeg(file).error.rfind("Picture too large (20000 x 8 pixels)", 0), 0u) << decodeJpeg(file).error;
  setSize(16384, 4097);
  EXPECT_EQ(decodeJpeg(file).error.rfind("Picture too large (16384 x 4097 pixels)", 0), 0u);
}

}  // namespace
}  // namespace mk::skin
