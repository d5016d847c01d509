// Skins come from file systems that ignore letter case: every name of a path
// is matched without regard to case where the exact one is missing, letters
// of every script included, and only a file answers for a file.
#include "files/find_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace mk::files {
namespace {

namespace fs = std::filesystem;

class FindFile : public ::testing::Test {
 protected:
  FindFile() {
    std::random_device seed;
    root_ = fs::temp_directory_path() / ("mk-files-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    fs::create_directories(root_);
  }
  ~FindFile() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path file(const std::string& relative) const {
    const fs::path p = root_ / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << relative;
    return p;
  }
  fs::path folder(const std::string& relative) const {
    fs::create_directories(root_ / relative);
    return root_ / relative;
  }
  std::optional<fs::path> find(const std::string& relative) const { return findFileIgnoringCase(root_ / relative); }

  fs::path root_;
};

TEST_F(FindFile, TakesTheExactNameAndMatchesEveryPartOfThePathWithoutRegardToCase) {
  const fs::path face = file("Graphics/Skin/face.bmp");
  EXPECT_EQ(find("Graphics/Skin/face.bmp"), face);
  EXPECT_EQ(find("GRAPHICS/skin/FACE.Bmp"), face);
  EXPECT_EQ(find("graphics/./SKIN/../Skin/Face.bmp"), root_ / "Graphics/./Skin/../Skin/face.bmp");
  EXPECT_EQ(find("Graphics/Skin/face.png"), std::nullopt);
  EXPECT_EQ(find("Graphics/Other/face.bmp"), std::nullopt);
  EXPECT_EQ(find("Graphics/Skin/"), std::nullopt) << "a folder is no file";
  EXPECT_EQ(findFileIgnoringCase(""), std::nullopt);
}

// Only a file answers for a file and only a folder for a folder, also when
// the other kind comes first.
TEST_F(FindFile, AFolderNeverAnswersForAFile) {
  folder("Skin/FACE.bmp");
  EXPECT_EQ(find("Skin/Face.bmp"), std::nullopt);
  const fs::path face = file("Skin/face.BMP");
  EXPECT_EQ(find("Skin/Face.bmp"), face);
  file("pictures");
  const fs::path inFolder = file("Pictures/a.bmp");
  EXPECT_EQ(find("PICTURES/a.bmp"), inFolder);
}

// Where several names differ only in case, the first in byte order wins, on
// every machine the same.
TEST_F(FindFile, OfSeveralNamesDifferingOnlyInCaseTheFirstInByteOrderWins) {
  file("Skin/a.bmp");
  file("Skin/A.bmp");
  const fs::path first = file("Skin/A.BMP");
  EXPECT_EQ(find("Skin/a.Bmp"), first);
  EXPECT_EQ(find("Skin/a.bmp"), root_ / "Skin/a.bmp") << "the exact name first";
}

// Letters beyond ASCII compare by their Unicode case; a byte that is no
// UTF-8 (a Latin-1 name from an old archive) matches only the same byte.
TEST_F(FindFile, LettersOfEveryScriptFoldAndStrayBytesMatchOnlyThemselves) {
  const fs::path screen = file("\xc3\xa9""cran-\xc3\xa4.bmp");  // écran-ä.bmp
  EXPECT_EQ(find("\xc3\x89""CRAN-\xc3\x84.BMP"), screen);       // ÉCRAN-Ä.BMP
  const fs::path sigma = file("\xcf\x83\xce\xba.bmp");          // σκ.bmp
  EXPECT_EQ(find("\xce\xa3\xce\x9a.bmp"), sigma);               // ΣΚ.bmp

  const fs::path latin1 = file("caf\xe9.bmp");
  EXPECT_EQ(find("CAF\xe9.BMP"), latin1);
  EXPECT_EQ(find("caf\xc3\xa9.bmp"), std::nullopt) << "the UTF-8 é is not the Latin-1 byte";
  EXPECT_EQ(find("caf\xc9.bmp"), std::nullopt) << "stray bytes do not fold";
}

}  // namespace
}  // namespace mk::files
