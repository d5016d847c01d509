// The decoders against the third-party test suites (PngSuite, BMP Suite and
// the IJG / Mozilla JPEG files). Each folder's INDEX.md says what every file
// holds and which result is right.

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "skin/decode.h"
#include "tests/skin_read/test_pictures.h"

namespace mk::skin {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::corpusDir;
using testing::maxDifference;
using testing::readFile;

std::vector<fs::path> filesIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

lcd::Picture fromQImage(QImage image) {
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    pixels.insert(pixels.end(), line, line + image.width());
  }
  return lcd::Picture::fromPixels(image.width(), image.height(), std::move(pixels), lcd::PictureKind::Png);
}

lcd::Picture opaque(const lcd::Picture& picture) {
  std::vector<std::uint32_t> pixels(picture.pixels(), picture.pixels() + picture.width() * picture.height());
  for (auto& p : pixels) p |= 0xFF000000u;
  return lcd::Picture::fromPixels(picture.width(), picture.height(), std::move(pixels), lcd::PictureKind::Png);
}

#define REQUIRE_CORPUS(var, sub)                                                      \
  const auto var##Root = corpusDir();                                                 \
  if (!var##Root || !fs::is_directory(*var##Root / (sub)))                            \
    GTEST_SKIP() << "no picture corpus folder " sub " (the build's MK_CORPUS_DIR)";   \
  const fs::path var = *var##Root / (sub)

// ---------------------------------------------------------------- PngSuite

std::uint32_t bigEndian32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// Every valid file decodes to its header's size, and to the pixels Qt's own
// PNG reader gives (within one step of rounding). Qt gets the transparent
// colour of 16-bit RGB files wrong, so those two are checked on their own.
TEST(PngSuite, EveryValidFileDecodesToItsSizeAndPixels) {
  REQUIRE_CORPUS(suite, "pngsuite");
  int checked = 0;
  for (const fs::path& file : filesIn(suite, ".png")) {
    const std::string name = file.filename().string();
    if (name.starts_with("x")) continue;
    const Bytes bytes = readFile(file);
    const DecodeResult r = decodePng(bytes);
    ASSERT_TRUE(r.ok()) << name << ": " << r.error;
    EXPECT_EQ(r.picture.kind(), lcd::PictureKind::Png) << name;
    EXPECT_EQ(static_cast<std::uint32_t>(r.picture.width()), bigEndian32(bytes, 16)) << name;
    EXPECT_EQ(static_cast<std::uint32_t>(r.picture.height()), bigEndian32(bytes, 20)) << name;
    if (name == "tbbn2c16.png" || name == "tbgn2c16.png") continue;
    const QImage reference = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "PNG");
    EXPECT_LE(maxDifference(r.picture, fromQImage(reference)).value_or(999), 1) << name;
    ++checked;
  }
  EXPECT_EQ(checked, 159);
}

TEST(PngSuite, TransparencyFilesAreSeeThroughWhereExpected) {
  REQUIRE_CORPUS(suite, "pngsuite");
  for (const fs::path& file : filesIn(suite, ".png")) {
    const std::string name = file.filename().string();
    if (!name.starts_with("t")) continue;
    const DecodeResult r = decodePng(readFile(file));
    ASSERT_TRUE(r.ok()) << name;
    int transparent = 0;
    for (int y = 0; y < r.picture.height(); ++y) {
      for (int x = 0; x < r.picture.width(); ++x) transparent += r.picture.pixel(x, y) >> 24 == 0;
    }
    if (name.starts_with("tp0")) {
      EXPECT_EQ(transparent, 0) << name << " has a tRNS chunk that makes nothing transparent";
    } else {
      // The corner lies outside the drawn figure in every one of them.
      EXPECT_EQ(r.picture.pixel(0, 0), 0u) << name;
      EXPECT_GE(transparent, 256) << name;
    }
  }
}

TEST(PngSuite, EveryCorruptFileIsRefusedWithLibpngsMessage) {
  REQUIRE_CORPUS(suite, "pngsuite");
  const std::map<std::string, std::string> expected = {
      {"xs1n0g01.png", "Not a PNG file"},
      {"xs2n0g01.png", "Not a PNG file"},
      {"xs4n0g01.png", "Not a PNG file"},
      {"xs7n0g01.png", "PNG file corrupted by ASCII conversion"},
      {"xcrn0g04.png", "PNG file corrupted by ASCII conversion"},
      {"xlfn0g04.png", "PNG file corrupted by ASCII conversion"},
      {"xhdn0g08.png", "IHDR: CRC error"},
      {"xc1n0g08.png", "Invalid IHDR data"},
      {"xc9n2c08.png", "Invalid IHDR data"},
      {"xd0n2c08.png", "Invalid IHDR data"},
      {"xd3n2c08.png", "Invalid IHDR data"},
      {"xd9n2c08.png", "Invalid IHDR data"},
      {"xdtn0g01.png", "IEND: out of place"},
      {"xcsn0g01.png", "IDAT: CRC error"},
  };
  std::set<std::string> seen;
  for (const fs::path& file : filesIn(suite, ".png")) {
    const std::string name = file.filename().string();
    if (!name.starts_with("x")) continue;
    seen.insert(name);
    const DecodeResult r = decodePng(readFile(file));
    EXPECT_FALSE(r.ok()) << name;
    ASSERT_TRUE(expected.contains(name)) << name;
    EXPECT_EQ(r.error, expected.at(name)) << name;
  }
  EXPECT_EQ(seen.size(), expected.size());
}

// ---------------------------------------------------------------- BMP Suite

struct BmpEntry {
  std::string file;                     // "g/pal1.bmp"
  std::vector<std::string> references;  // in ref/, the main one first
};

// The file table of the suite's INDEX.md: | g/pal1.bmp | bytes | header | size | bpp | compression | refs | ...
std::vector<BmpEntry> bmpIndex(const fs::path& suite) {
  std::ifstream in(suite / "INDEX.md");
  std::vector<BmpEntry> entries;
  const std::regex row(R"(^\| ([gqb]/[^ |]+\.bmp) \|[^|]*\|[^|]*\|[^|]*\|[^|]*\|[^|]*\| ([^|]*) \|)");
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, row)) continue;
    BmpEntry entry{m[1], {}};
    std::stringstream refs(m[2]);
    for (std::string ref; std::getline(refs, ref, ',');) {
      ref.erase(0, ref.find_first_not_of(' '));
      ref.erase(ref.find_last_not_of(' ') + 1);
      if (ref != "-" && !ref.empty()) entry.references.push_back(ref);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

lcd::Picture reference(const fs::path& suite, const std::string& name) {
  const DecodeResult r = decodePictureFile(suite / "ref" / name);
  EXPECT_TRUE(r.ok()) << name << ": " << r.error;
  return r.picture;
}

// Matches one of the listed references (the suite offers alternatives, such
// as the stored 127x32 size of the non-square file beside its stretched view).
int bestDifference(const fs::path& suite, const BmpEntry& entry, const lcd::Picture& picture) {
  int best = 999;
  for (const std::string& ref : entry.references) {
    best = std::min(best, maxDifference(picture, opaque(reference(suite, ref))).value_or(999));
  }
  return best;
}

TEST(BmpSuite, EveryGoodFileMatchesItsReference) {
  REQUIRE_CORPUS(suite, "bmpsuite");
  int checked = 0;
  for (const BmpEntry& entry : bmpIndex(suite)) {
    if (!entry.file.starts_with("g/")) continue;
    const DecodeResult r = decodePictureFile(suite / entry.file);
    ASSERT_TRUE(r.ok()) << entry.file << ": " << r.error;
    EXPECT_EQ(r.picture.kind(), lcd::PictureKind::Bitmap);
    ASSERT_FALSE(entry.references.empty()) << entry.file;
    // 16-bit colour may differ by the rounding of 5 or 6 bits to 8.
    const int tolerance = entry.file.starts_with("g/rgb16") ? 1 : 0;
    EXPECT_LE(bestDifference(suite, entry, r.picture), tolerance) << entry.file;
    ++checked;
  }
  EXPECT_EQ(checked, 27);
}

// Hostile files: refused, or decoded to something harmless of sane size, and
// never a crash, a hang or a huge allocation (the sanitized run watches).
TEST(BmpSuite, BadFilesAreRefusedOrDecodedHarmlessly) {
  REQUIRE_CORPUS(suite, "bmpsuite");
  int count = 0;
  for (const fs::path& file : filesIn(suite / "b", ".bmp")) {
    const DecodeResult r = decodePictureFile(file);
    if (r.ok()) {
      EXPECT_LE(std::uint64_t(r.picture.width()) * r.picture.height() * 4, kMaxPictureBytes) << file;
    } else {
      EXPECT_FALSE(r.error.empty()) << file;
    }
    ++count;
  }
  EXPECT_EQ(count, 20);
  EXPECT_EQ(decodePictureFile(suite / "b/shortfile.bmp").error,
            "Bitmap file is truncated: it ends before its pixel data does");
  EXPECT_EQ(decodePictureFile(suite / "b/reallybig.bmp").error.rfind("Picture too large (3000000 x 2000000", 0), 0u);
}

// The manual checks its pages when its window is created and decodes each
// only when it is shown: over every file of the suite, what the check
// refuses decoding refuses in the same words, what decodes passes it, and the
// check from a file's headers alone gives the verdict all its bytes give.
// Only a colour table that does not fit its file waits for the decoder.
TEST(BmpSuite, TheCheckAgreesWithDecodingOnEveryFile) {
  REQUIRE_CORPUS(suite, "bmpsuite");
  int refusedByTheCheck = 0;
  std::set<std::string> leftToDecoding;
  for (const char* folder : {"g", "q", "b"}) {
    for (const fs::path& file : filesIn(suite / folder, ".bmp")) {
      const Bytes bytes = readFile(file);
      const std::optional<std::string> check = checkBmp(bytes);
      const DecodeResult decoded = decodeBmp(bytes);
      if (decoded.ok()) {
        EXPECT_EQ(check, std::nullopt) << file;
      } else if (check) {
        EXPECT_EQ(*check, decoded.error) << file;
        ++refusedByTheCheck;
      } else {
        leftToDecoding.insert(folder + ("/" + file.filename().string()));
      }
      EXPECT_EQ(checkBmpFile(file), check) << file;
    }
  }
  EXPECT_EQ(refusedByTheCheck, 17);
  EXPECT_EQ(leftToDecoding, (std::set<std::string>{"b/badpalettesize.bmp", "q/pal8oversizepal.bmp"}));
}

TEST(BmpSuite, QuestionableFilesAreHandledAndOpaque) {
  REQUIRE_CORPUS(suite, "bmpsuite");
  int count = 0;
  for (const fs::path& file : filesIn(suite / "q", ".bmp")) {
    const DecodeResult r = decodePictureFile(file);
    if (r.ok()) {
      for (int y = 0; y < r.picture.height(); ++y) {
        for (int x = 0; x < r.picture.width(); ++x) ASSERT_EQ(r.picture.pixel(x, y) >> 24, 255u) << file;
      }
    }
    ++count;
  }
  EXPECT_EQ(count, 43);

  // Those a skin could plausibly use come out right, including channel
  // widths other than 8 bits, which Qt alone widens wrongly.
  const std::map<std::string, int> mustMatch = {
      {"q/pal1p1.bmp", 0},       {"q/pal8offs.bmp", 0},      {"q/pal8os2v2.bmp", 0},
      {"q/pal8os2-hs.bmp", 0},   {"q/rgb16-231.bmp", 0},     {"q/rgb16-3103.bmp", 0},
      {"q/rgb32-111110.bmp", 1}, {"q/rgb32-7187.bmp", 0},    {"q/rgb24largepal.bmp", 0},
      {"q/rgb24prof.bmp", 0},    {"q/rgb32fakealpha.bmp", 0}, {"q/rgb16faketrns.bmp", 0},
      {"q/rgb32-xbgr.bmp", 0},
  };
  for (const BmpEntry& entry : bmpIndex(suite)) {
    const auto wanted = mustMatch.find(entry.file);
    if (wanted == mustMatch.end()) continue;
    const DecodeResult r = decodePictureFile(suite / entry.file);
    ASSERT_TRUE(r.ok()) << entry.file << ": " << r.error;
    EXPECT_LE(maxDifference(r.picture, opaque(reference(suite, entry.references.front()))).value_or(999),
              wanted->second)
        << entry.file;
  }
}

// ---------------------------------------------------------------- JPEG

TEST(JpegCorpus, FilesWithAReferenceDecodeToIt) {
  REQUIRE_CORPUS(jpeg, "jpeg");
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(jpeg)) {
    if (entry.path().extension() != ".jpg") continue;
    fs::path ref = entry.path();
    ref.replace_extension(".png");
    if (!fs::exists(ref)) continue;
    const DecodeResult r = decodeJpeg(readFile(entry.path()));
    ASSERT_TRUE(r.ok()) << entry.path() << ": " << r.error;
    EXPECT_EQ(r.picture.kind(), lcd::PictureKind::Jpeg);
    const int tolerance = entry.path().filename() == "restarts.jpg" ? 2 : 0;
    EXPECT_LE(maxDifference(r.picture, decodePictureFile(ref).picture).value_or(999), tolerance) << entry.path();
    ++checked;
  }
  EXPECT_EQ(checked, 21);
}

TEST(JpegCorpus, IjgCodingProcessesGiveTheSamePixels) {
  REQUIRE_CORPUS(ijg, "jpeg/ijg");
  const DecodeResult baseline = decodePictureFile(ijg / "testimgint.jpg");
  ASSERT_TRUE(baseline.ok()) << baseline.error;
  EXPECT_EQ(maxDifference(decodePictureFile(ijg / "testimgp.jpg").picture, baseline.picture), 0);
  EXPECT_EQ(maxDifference(decodePictureFile(ijg / "testimgari.jpg").picture, baseline.picture), 0);

  const QImage original(QString::fromStdString((ijg / "testorig.ppm").string()));
  ASSERT_FALSE(original.isNull());
  const lcd::Picture orig = opaque(fromQImage(original));
  EXPECT_LE(maxDifference(decodePictureFile(ijg / "testorig.jpg").picture, orig).value_or(999), 3);

  const DecodeResult grey = decodePictureFile(ijg / "testimggray.jpg");
  ASSERT_TRUE(grey.ok()) << grey.error;
  EXPECT_EQ(grey.picture.width(), 227);
  EXPECT_EQ(grey.picture.height(), 149);
}

TEST(JpegCorpus, BrokenFilesAreRefusedWithLibjpegsMessageOrDecode) {
  REQUIRE_CORPUS(jpeg, "jpeg");
  const std::map<std::string, std::string> refused = {
      {"ijg/testorig12.jpg", "Unsupported JPEG data precision 12"},
      {"jpeg-decoder/mozilla/jpg-size-6x6.jpg", "Not a JPEG file: starts with 0x89 0x50"},
      {"jpeg-decoder/crashtest/empty.jpg", "Empty input file"},
      {"jpeg-decoder/crashtest/missing-frame-image-1410.jpg", "JPEG datastream contains no image"},
      {"jpeg-decoder/crashtest/missing-sof.jpg", "JPEG datastream contains no image"},
      {"jpeg-decoder/crashtest/missing-sos.jpg", "Invalid JPEG file structure: missing SOS marker"},
      {"jpeg-decoder/crashtest/derive-huffman-codes-overflow.jpg", "Bogus Huffman table definition"},
      {"jpeg-decoder/crashtest/invalid-dimensions.jpg", "Empty JPEG image (DNL not supported)"},
      {"jpeg-decoder/crashtest/null_height.jpg", "Empty JPEG image (DNL not supported)"},
      {"jpeg-decoder/crashtest/max_size.jpg", "Maximum supported image dimension is 65500 pixels"},
      {"jpeg-decoder/crashtest/invalid-prediction-shift.jpg", "Unsupported JPEG process: SOF type 0xc3"},
  };
  for (const auto& [file, message] : refused) EXPECT_EQ(decodeJpeg(readFile(jpeg / file)).error, message) << file;

  // Damaged inside but complete: libjpeg warns and a viewer shows them.
  for (const char* file : {"jpeg-decoder/crashtest/dc-predictor-overflow.jpg",
                           "jpeg-decoder/crashtest/multiple-0xff-before-eoi.jpg"}) {
    EXPECT_TRUE(decodeJpeg(readFile(jpeg / file)).ok()) << file;
  }
}

}  // namespace
}  // namespace mk::skin
