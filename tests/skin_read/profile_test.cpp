#include "skin/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

namespace mk::skin {
namespace {

std::optional<std::string> read(std::string_view text, std::string_view section, std::string_view key) {
  return ProfileFile::parse(text).readString(section, key);
}

// Skins are written by hand in many editors: names must be found whatever
// their letter case, and the caller's own names lose spaces but nothing else,
// as with the Windows service.
TEST(ProfileNames, MatchWithoutRegardToCaseAndQueriesLoseOnlySpaces) {
  const ProfileFile ini = ProfileFile::parse("[common]\nskindir=Pics\\\n[VIDEOMODE]\nTranspColor=$00ff00ff\n");
  EXPECT_EQ(ini.readString("Common", "SkinDir"), "Pics\\");
  EXPECT_EQ(ini.readString("videomode", "TRANSPCOLOR"), "$00ff00ff");
  EXPECT_EQ(ini.readString("  Common ", " SkinDir  "), "Pics\\");
  EXPECT_EQ(ini.readString("\tCommon", "SkinDir"), std::nullopt);
  EXPECT_EQ(ini.readString("Common", "SkinDir\t"), std::nullopt);
  EXPECT_EQ(ini.readString("Common", "\vSkinDir"), std::nullopt);
}

// Blanks (space, tab, vertical tab) around names and values go; then one outer
// pair of matching quotes goes, keeping what is inside, blanks included.
TEST(ProfileValues, AreTrimmedAndLoseOnePairOfMatchingQuotes) {
  const struct {
    const char* line;
    const char* value;
  } cases[] = {
      {" \tKey\t = \v Value one \t", "Value one"},
      {"Key=\"x\"", "x"},
      {"Key='x'", "x"},
      {"Key=\"x'", "\"x'"},
      {"Key='\"  v  '\"", "'\"  v  '\""},
      {"Key=\"", "\""},
      {"Key=\"\"", ""},
      {"Key=\" x \"", " x "},
      {"Key=\"a\"b\"", "a\"b"},
      {"Key=  \"x\"  ", "x"},
      {"Key=\"'x'\"", "'x'"},
      {"Key=\"\"x\"\"", "\"x\""},
      {"Key=a=b", "a=b"},
      {"Key=value ;note", "value ;note"},
      {"Key=;nocomment", ";nocomment"},
      {"Key=#x", "#x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(std::string("[S]\n") + c.line + "\n", "S", "Key"), c.value) << c.line;
  }
}

TEST(ProfileValues, PresentButEmptyReadsAsEmptyTextNotTheDefault) {
  const ProfileFile ini = ProfileFile::parse("[S]\nText=\nNumber=\nColour=   \nFile=\n");
  EXPECT_EQ(ini.readString("S", "Text"), "");
  EXPECT_EQ(ini.readText("S", "Text", "fallback"), "");
  EXPECT_EQ(ini.readInteger("S", "Number", 611), 611);  // the empty text is no number
  const ColourResult colour = ini.readColour("S", "Colour", "$00000000");
  EXPECT_FALSE(colour.colour);
  EXPECT_EQ(colour.error, "'' is not a valid integer value");
  EXPECT_EQ(ini.readFileName("S", "File", "picture.bmp"), std::nullopt);
}

TEST(ProfileValues, LongerThan2047CharactersAreCut) {
  const std::string longValue(5000, 'v');
  const auto value = read("[S]\nKey=" + longValue + "\n", "S", "Key");
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, std::string(2047, 'v'));
  EXPECT_EQ(read("[S]\nKey=" + std::string(2047, 'w'), "S", "Key"), std::string(2047, 'w'));
  EXPECT_EQ(ProfileFile().readText("S", "Key", longValue), std::string(2047, 'v'));
}

// The default is handed back as given, but for trailing spaces; quotes stay.
TEST(ProfileValues, DefaultLosesTrailingSpacesOnly) {
  EXPECT_EQ(ProfileFile().readText("S", "Key", "  one two  "), "  one two");
  EXPECT_EQ(ProfileFile().readText("S", "Key", "\"quoted\"\t"), "\"quoted\"\t");
}

// Where Wine and Windows part ways, the reader does what Windows does.
TEST(ProfileLines, CommentsAndLinesWithoutEqualsAreNeverKeys) {
  const ProfileFile ini = ProfileFile::parse("[S]\n;key=v\n  \t;other=w\nbare line\nname4=val4\n");
  EXPECT_EQ(ini.readString("S", "key"), std::nullopt);
  EXPECT_EQ(ini.readString("S", ";key"), std::nullopt);
  EXPECT_EQ(ini.readString("S", "other"), std::nullopt);
  EXPECT_EQ(ini.readString("S", "bare line"), std::nullopt);
  EXPECT_EQ(ini.readString("S", "name4"), "val4");
  EXPECT_EQ(read("[S]\nk;ey=v\n#hash=h\n", "S", "k;ey"), "v");
  EXPECT_EQ(read("[S]\n#hash=h\n", "S", "#hash"), "h");
  EXPECT_EQ(read("[S]\n=no key\n", "S", ""), "no key");
}

TEST(ProfileLines, SectionHeaderNameEndsAtTheFirstClosingBracket) {
  EXPECT_EQ(read("[a]b]\nk=1\n", "a", "k"), "1");
  EXPECT_EQ(read("[a]b]\nk=1\n", "a]b", "k"), std::nullopt);
  EXPECT_EQ(read("[Sec   \nk=2\n", "Sec", "k"), "2");  // a missing ']' is tolerated
  EXPECT_EQ(read("Sec]\nk=3\n", "Sec", "k"), std::nullopt);
  EXPECT_EQ(read("[Sec]Key=Value\n", "Sec", "Key"), std::nullopt);
  EXPECT_EQ(read("  [ x ]\nk=4\n", "x", "k"), "4");
  EXPECT_EQ(read("[[sec]\nk=5\n", "[sec", "k"), "5");
  EXPECT_EQ(read("[]\nk=6\n", "", "k"), "6");
  EXPECT_EQ(read("[\"Q\"]\nk=7\n", "Q", "k"), std::nullopt);
  EXPECT_EQ(read("[\"Q\"]\nk=7\n", "\"Q\"", "k"), "7");
}

TEST(ProfileLines, TextBeforeTheFirstSectionCannotBeRead) {
  const ProfileFile ini = ProfileFile::parse("k=early\n[]\nk=late\n");
  EXPECT_EQ(ini.readString("", "k"), "late");
  EXPECT_EQ(ProfileFile::parse("k=early\n").readString("", "k"), std::nullopt);
}

TEST(ProfileLines, EndWithCrLfCrOrLf) {
  const ProfileFile ini = ProfileFile::parse("[S]\r\nA=1\rB=2\nC=3\r\n\r\nD=4");
  EXPECT_EQ(ini.readString("S", "A"), "1");
  EXPECT_EQ(ini.readString("S", "B"), "2");
  EXPECT_EQ(ini.readString("S", "C"), "3");
  EXPECT_EQ(ini.readString("S", "D"), "4");
}

// A file saved by a modern editor starts with a byte-order mark; it must not
// hide the first section (Windows would lose [Common] here).
TEST(ProfileLines, Utf8ByteOrderMarkIsSkipped) {
  EXPECT_EQ(read("\xEF\xBB\xBF[Common]\r\nGameWidth=640\r\n", "Common", "GameWidth"), "640");
}

TEST(ProfileDuplicates, FirstSectionAndFirstKeyWin) {
  const ProfileFile ini = ProfileFile::parse("[S]\nk=first\nk=second\n[s]\nk=third\nonly=later\n[E]\n[E]\nkey=v\n");
  EXPECT_EQ(ini.readString("S", "k"), "first");
  EXPECT_EQ(ini.readString("S", "only"), std::nullopt);
  EXPECT_EQ(ini.readString("E", "key"), std::nullopt);  // even when the first copy is empty
}

// Integers are read as whole numbers (not GetPrivateProfileInt's leading
// digits): anything else gives the caller's default.
TEST(ConfigIntegers, AreWholeSigned32BitNumbersInDecimalOrHex) {
  const struct {
    const char* text;
    std::optional<int> value;
  } cases[] = {
      {"42", 42},
      {"0", 0},
      {"-20", -20},
      {"+1", 1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"0x280", 640},
      {"0X1f", 31},
      {"$FF", 255},
      {"$00ff00ff", 0x00ff00ff},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"0x80000000", -2147483647 - 1},
      {"$00000000000000FF", 255},
      {"2147483648", std::nullopt},
      {"4294967296", std::nullopt},
      {"$100000000", std::nullopt},
      {"42A", std::nullopt},
      {"B42", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"0x1G", std::nullopt},
      {"1.5", std::nullopt},
      {" 1", std::nullopt},
      {"--1", std::nullopt},
      {"Center", std::nullopt},
      {"abcdef", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseConfigInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ConfigIntegers, MissingOrUnreadableKeysGiveTheDefault) {
  const ProfileFile ini = ProfileFile::parse("[Common]\nGameWidth=0x280\nGameHeight=tall\nOffset=-20\n");
  EXPECT_EQ(ini.readInteger("Common", "GameWidth", 611), 640);
  EXPECT_EQ(ini.readInteger("Common", "GameHeight", 322), 322);
  EXPECT_EQ(ini.readInteger("Common", "Offset", 0), -20);
  EXPECT_EQ(ini.readInteger("Common", "Missing", 7), 7);
  EXPECT_EQ(ini.readInteger("Nowhere", "GameWidth", 611), 611);
}

TEST(ConfigFlags, ZeroIsOffAnyOtherNumberOn) {
  const ProfileFile ini = ProfileFile::parse("[F]\nOn=1\nOff=0\nTwo=2\nWord=yes\n");
  EXPECT_TRUE(ini.readFlag("F", "On", false));
  EXPECT_FALSE(ini.readFlag("F", "Off", true));
  EXPECT_TRUE(ini.readFlag("F", "Two", false));
  EXPECT_TRUE(ini.readFlag("F", "Word", true));
  EXPECT_FALSE(ini.readFlag("F", "Word", false));
  EXPECT_FALSE(ini.readFlag("F", "Missing", false));
}

TEST(ConfigColours, LowestByteIsRedThenGreenThenBlue) {
  const ProfileFile ini = ProfileFile::parse(
      "[C]\nMagenta=$00ff00ff\nBlack=$00000000\nRed=255\nBlue=$00FF0000\nGreen=0x0000ff00\nHigh=$12345678\n");
  EXPECT_EQ(ini.readColour("C", "Magenta", "").colour, (Colour{255, 0, 255}));
  EXPECT_EQ(ini.readColour("C", "Black", "").colour, (Colour{0, 0, 0}));
  EXPECT_EQ(ini.readColour("C", "Red", "").colour, (Colour{255, 0, 0}));
  EXPECT_EQ(ini.readColour("C", "Blue", "").colour, (Colour{0, 0, 255}));
  EXPECT_EQ(ini.readColour("C", "Green", "").colour, (Colour{0, 255, 0}));
  EXPECT_EQ(ini.readColour("C", "High", "").colour, (Colour{0x78, 0x56, 0x34}));
  EXPECT_EQ(ini.readColour("C", "Missing", "$00ff00ff").colour, (Colour{255, 0, 255}));
}

TEST(ConfigColours, TextThatIsNoNumberIsAnErrorNamingTheText) {
  const ProfileFile ini = ProfileFile::parse("[C]\nBgColor=clBlack\nQuoted=\"  12 \"\n");
  const ColourResult bad = ini.readColour("C", "BgColor", "$00000000");
  EXPECT_FALSE(bad.colour);
  EXPECT_EQ(bad.error, "'clBlack' is not a valid integer value");
  EXPECT_EQ(ini.readColour("C", "Quoted", "").error, "'  12 ' is not a valid integer value");
  EXPECT_EQ(ProfileFile().readColour("C", "Missing", "nope").error, "'nope' is not a valid integer value");
  EXPECT_TRUE(ini.readColour("C", "Missing", "$00000000").error.empty());
}

TEST(ConfigFolders, UseSlashesAndEndWithOne) {
  const ProfileFile ini =
      ProfileFile::parse("[D]\nWin=Graphics\\Skin\nWinEnd=Graphics\\Skin\\\nUnix=art/skin/\nEmpty=\nRoot=/\n");
  EXPECT_EQ(ini.readFolder("D", "Win", ""), "Graphics/Skin/");
  EXPECT_EQ(ini.readFolder("D", "WinEnd", ""), "Graphics/Skin/");
  EXPECT_EQ(ini.readFolder("D", "Unix", ""), "art/skin/");
  EXPECT_EQ(ini.readFolder("D", "Missing", "Graphics\\Manual\\"), "Graphics/Manual/");
  EXPECT_EQ(ini.readFolder("D", "Root", ""), "/");
  // An empty folder means the current directory, not the file system's root.
  EXPECT_EQ(ini.readFolder("D", "Empty", "Graphics\\Skin\\"), "./");
}

TEST(ConfigFileNames, NilInLowerCaseOrEmptyMeansNoFile) {
  const ProfileFile ini = ProfileFile::parse("[I]\nA=nil\nB=NIL\nC=\nD=parts\\hero.png\nE=\"nil\"\n");
  EXPECT_EQ(ini.readFileName("I", "A", ""), std::nullopt);
  EXPECT_EQ(ini.readFileName("I", "B", ""), "NIL");
  EXPECT_EQ(ini.readFileName("I", "C", "x.bmp"), std::nullopt);
  EXPECT_EQ(ini.readFileName("I", "D", ""), "parts/hero.png");
  EXPECT_EQ(ini.readFileName("I", "E", ""), std::nullopt);
  EXPECT_EQ(ini.readFileName("I", "Missing", "nil"), std::nullopt);
  EXPECT_EQ(ini.readFileName("I", "Missing", ""), std::nullopt);
}

TEST(ProfileFiles, MissingFileReadsAsDefaultsAndARealFileIsRead) {
  const auto folder = std::filesystem::path(::testing::TempDir()) / "profile_test";
  std::filesystem::create_directories(folder);
  const ProfileFile missing = ProfileFile::load(folder / "absent.ini");
  EXPECT_EQ(missing.readInteger("Common", "GameWidth", 611), 611);
  EXPECT_EQ(ProfileFile::load(folder).readString("Common", "GameWidth"), std::nullopt);

  const auto path = folder / "Config.ini";
  std::ofstream(path, std::ios::binary) << "[Common]\r\nGameWidth=700\r\n";
  EXPECT_EQ(ProfileFile::load(path).readInteger("common", "gamewidth", 611), 700);
}

TEST(ProfileValues, EndAtAnEmbeddedNulCharacter) {
  EXPECT_EQ(read(std::string("[S]\nKey=ab\0cd\n", 14), "S", "Key"), "ab");
}

}  // namespace
}  // namespace mk::skin
