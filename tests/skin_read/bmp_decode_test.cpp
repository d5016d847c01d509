#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "skin/decode.h"
#include "tests/skin_read/test_pictures.h"

namespace mk::skin {
namespace {

using testing::BmpSpec;
using testing::Bytes;
using testing::makeBmp;
using testing::putLittle;

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kBitfields = 3;

// 2 x 2, 24 bits: top row red, green; bottom row blue, white.
// Rows are stored bottom-up, each padded to 4 bytes.
BmpSpec rgb24Square() {
  BmpSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.pixelData = {255, 0, 0, 255, 255, 255, 0, 0,   // bottom: blue, white (B, G, R)
                    0, 0, 255, 0, 255, 0, 0, 0};      // top: red, green
  return spec;
}

TEST(BmpDecoding, TwentyFourBitPixelsComeBackExactlyAndOpaque) {
  const DecodeResult r = decodeBmp(makeBmp(rgb24Square()));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.kind(), lcd::PictureKind::Bitmap);
  ASSERT_EQ(r.picture.width(), 2);
  ASSERT_EQ(r.picture.height(), 2);
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(r.picture.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(r.picture.pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(r.picture.pixel(1, 1), 0xFFFFFFFFu);

  BmpSpec topDown = rgb24Square();
  topDown.height = -2;
  const DecodeResult flipped = decodeBmp(makeBmp(topDown));
  ASSERT_TRUE(flipped.ok()) << flipped.error;
  EXPECT_EQ(flipped.picture.pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(flipped.picture.pixel(1, 1), 0xFF00FF00u);
}

TEST(BmpDecoding, PalettedAndThirtyTwoBitFilesDecodeOpaque) {
  BmpSpec mono;
  mono.width = 8;
  mono.height = 1;
  mono.bitCount = 1;
  mono.palette = {0x000000, 0xFFFFFF};
  mono.pixelData = {0b1000'0001, 0, 0, 0};
  const DecodeResult m = decodeBmp(makeBmp(mono));
  ASSERT_TRUE(m.ok()) << m.error;
  EXPECT_EQ(m.picture.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(m.picture.pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(m.picture.pixel(7, 0), 0xFFFFFFFFu);

  // The fourth byte of a plain 32-bit bitmap is unused, not alpha.
  BmpSpec rgb32;
  rgb32.width = 2;
  rgb32.height = 1;
  rgb32.bitCount = 32;
  rgb32.pixelData = {0x30, 0x20, 0x10, 0x00, 0x60, 0x50, 0x40, 0x7F};
  const DecodeResult r = decodeBmp(makeBmp(rgb32));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(r.picture.pixel(1, 0), 0xFF405060u);
}

// A 16-bit skin drawn in pure white or in the magenta key colour must come
// out as exactly that colour, or the window's see-through key would miss it.
TEST(BmpDecoding, SixteenBitChannelsReachFullIntensity) {
  BmpSpec rgb555;
  rgb555.width = 4;
  rgb555.height = 1;
  rgb555.bitCount = 16;
  for (std::uint32_t v : {0x7FFFu, 0x7C1Fu, 0x0000u, 0x4210u}) putLittle(rgb555.pixelData, v, 2);
  const DecodeResult r = decodeBmp(makeBmp(rgb555));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(r.picture.pixel(1, 0), 0xFFFF00FFu);
  EXPECT_EQ(r.picture.pixel(2, 0), 0xFF000000u);
  EXPECT_EQ(r.picture.pixel(3, 0), 0xFF848484u);  // 16 of 31 is 131.6 of 255

  BmpSpec rgb565;
  rgb565.width = 3;
  rgb565.height = 1;
  rgb565.bitCount = 16;
  rgb565.compression = kBitfields;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  for (std::uint32_t v : {0xFFFFu, 0x07E0u, 0xF81Fu}) putLittle(rgb565.pixelData, v, 2);
  putLittle(rgb565.pixelData, 0, 2);  // row padding
  const DecodeResult f = decodeBmp(makeBmp(rgb565));
  ASSERT_TRUE(f.ok()) << f.error;
  EXPECT_EQ(f.picture.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(f.picture.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(f.picture.pixel(2, 0), 0xFFFF00FFu);
}

// Qt's reader fills what is missing and reports success; a skin picture cut
// short must be refused instead.
TEST(BmpDecoding, FilesShorterThanTheirPixelDataAreRefused) {
  const Bytes whole = makeBmp(rgb24Square());
  const std::string message = "Bitmap file is truncated: it ends before its pixel data does";
  EXPECT_EQ(decodeBmp(std::span(whole).first(whole.size() - 3)).error, message);
  EXPECT_EQ(decodeBmp(std::span(whole).first(54)).error, message);
  // Only the last row's padding missing: every pixel is there.
  EXPECT_TRUE(decodeBmp(std::span(whole).first(whole.size() - 2)).ok());
  for (std::size_t length = 0; length < whole.size() - 2; ++length) {
    EXPECT_FALSE(decodeBmp(std::span(whole).first(length)).ok()) << "cut at " << length;
  }
}

TEST(BmpDecoding, RunLengthStreamsMustReachTheirEnd) {
  BmpSpec rle;
  rle.width = 4;
  rle.height = 2;
  rle.bitCount = 8;
  rle.compression = kRle8;
  rle.palette = {0x000000, 0xFF0000, 0x00FF00};
  // Bottom row: four of colour 1; top row: two of 2, two of 0; end of bitmap.
  rle.pixelData = {4, 1, 0, 0, 2, 2, 2, 0, 0, 1};
  const DecodeResult r = decodeBmp(makeBmp(rle));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.pixel(0, 1), 0xFFFF0000u);
  EXPECT_EQ(r.picture.pixel(3, 1), 0xFFFF0000u);
  EXPECT_EQ(r.picture.pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(r.picture.pixel(3, 0), 0xFF000000u);

  BmpSpec noEnd = rle;
  noEnd.pixelData = {4, 1, 0, 0, 2, 2, 2, 0};  // every row there, no end code
  EXPECT_TRUE(decodeBmp(makeBmp(noEnd)).ok());

  BmpSpec cut = rle;
  cut.pixelData = {4, 1, 0, 0};  // the top row is missing
  EXPECT_EQ(decodeBmp(makeBmp(cut)).error, "Bitmap file is truncated: it ends before its pixel data does");
}

TEST(BmpDecoding, OversizedPicturesAreRefusedFromTheHeader) {
  BmpSpec huge;
  huge.width = 3000000;
  huge.height = 2000000;
  const DecodeResult r = decodeBmp(makeBmp(huge));
  EXPECT_EQ(r.error.rfind("Picture too large (3000000 x 2000000 pixels)", 0), 0u) << r.error;

  BmpSpec tall;
  tall.width = 16384;
  tall.height = -4097;
  EXPECT_EQ(decodeBmp(makeBmp(tall)).error.rfind("Picture too large (16384 x 4097 pixels)", 0), 0u);
}

TEST(BmpDecoding, MalformedFilesAreRefused) {
  EXPECT_FALSE(decodeBmp({}).ok());
  EXPECT_FALSE(decodeBmp(Bytes{'B', 'M', 1, 2, 3}).ok());
  EXPECT_FALSE(decodeBmp(Bytes(100, 0xAB)).ok());

  BmpSpec negative = rgb24Square();
  negative.width = -2;
  const DecodeResult r = decodeBmp(makeBmp(negative));
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error.find("too large"), std::string::npos) << r.error;

  BmpSpec badBits = rgb24Square();
  badBits.bitCount = 30000;
  EXPECT_FALSE(decodeBmp(makeBmp(badBits)).ok());
}

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::path(::testing::TempDir()) / "picture_file_test";
    std::filesystem::create_directories(folder);
  }
  std::filesystem::path write(const std::string& name, const Bytes& bytes) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::filesystem::path folder;
};

TEST_F(PictureFileTest, ExtensionChoosesTheDecoderWithoutRegardToCase) {
  const Bytes png = testing::makePng(1, 1, 8, 2, {0, 1, 2, 3});
  const Bytes jpeg = testing::makeJpeg(8, 8, testing::JpegColour::Grey, 0);
  const Bytes bmp = makeBmp(rgb24Square());
  EXPECT_EQ(decodePictureFile(write("a.PNG", png)).picture.kind(), lcd::PictureKind::Png);
  EXPECT_EQ(decodePictureFile(write("b.Jpeg", jpeg)).picture.kind(), lcd::PictureKind::Jpeg);
  EXPECT_EQ(decodePictureFile(write("c.jpg", jpeg)).picture.kind(), lcd::PictureKind::Jpeg);
  EXPECT_EQ(decodePictureFile(write("d.BmP", bmp)).picture.kind(), lcd::PictureKind::Bitmap);
  EXPECT_TRUE(decodePictureFile(write("archive.tar.png", png)).ok());

  // The extension decides, not the content: a PNG named .bmp is no bitmap.
  EXPECT_FALSE(decodePictureFile(write("e.bmp", png)).ok());
}

TEST_F(PictureFileTest, UnknownExtensionsAreNamedInTheMessage) {
  EXPECT_EQ(decodePictureFile(write("a.gif", {1})).error, "Unknown picture file extension (.gif)");
  EXPECT_EQ(decodePictureFile(write("b.Ico", {1})).error, "Unknown picture file extension (.Ico)");
  EXPECT_EQ(decodePictureFile(write("noextension", {1})).error, "Unknown picture file extension (.)");
  EXPECT_EQ(decodePictureFile(folder / "absent.wmf").error, "Unknown picture file extension (.wmf)");
}

// Reading part of a file must not pass for all of it: a bitmap is checked
// from its headers and the file's length, except a run-length coded one,
// whose cut shows only where its codes end.
TEST_F(PictureFileTest, TheFileCheckReadsWhatItsVerdictNeeds) {
  const std::string truncated = "Bitmap file is truncated: it ends before its pixel data does";
  BmpSpec wide;
  wide.width = 200;
  wide.height = 10;
  wide.pixelData = Bytes(600 * 10, 0x40);
  const Bytes whole = makeBmp(wide);
  EXPECT_EQ(checkBmpFile(write("whole.bmp", whole)), std::nullopt);
  EXPECT_EQ(checkBmpFile(write("cut.bmp", Bytes(whole.begin(), whole.end() - 600))), truncated);

  // 300 rows of one run each, then the end code: the codes run well past the headers.
  BmpSpec rle;
  rle.width = 4;
  rle.height = 300;
  rle.bitCount = 8;
  rle.compression = kRle8;
  rle.palette = {0x000000, 0xFF0000};
  for (int row = 0; row < 300; ++row) rle.pixelData.insert(rle.pixelData.end(), {4, 1, 0, 0});
  rle.pixelData.insert(rle.pixelData.end(), {0, 1});
  const Bytes coded = makeBmp(rle);
  EXPECT_EQ(checkBmpFile(write("rle.bmp", coded)), std::nullopt);
  EXPECT_EQ(checkBmpFile(write("rle-cut.bmp", Bytes(coded.begin(), coded.end() - 162))), truncated);

  EXPECT_EQ(checkBmpFile(folder / "absent.bmp"), decodePictureFile(folder / "absent.bmp").error);
}

TEST_F(PictureFileTest, UnreadableFilesAreRefusedWithTheirPath) {
  const DecodeResult missing = decodePictureFile(folder / "absent.png");
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.error.find("absent.png"), std::string::npos) << missing.error;

  std::filesystem::create_directories(folder / "folder.bmp");
  EXPECT_FALSE(decodePictureFile(folder / "folder.bmp").ok());
  EXPECT_FALSE(decodePictureFile(write("empty.png", {})).ok());
}

}  // namespace
}  // namespace mk::skin
