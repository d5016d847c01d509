// The settings file's text and its replacement: a value changes only its own
// line, and a file is replaced whole or not at all.
#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mk::settings {
namespace {

namespace fs = std::filesystem;

TEST(SettingsText, ReadsTheGeneralSectionAndKeepsEverythingElseWhenAValueChanges) {
  const std::string text =
      "; written by hand\n"
      "[General]\n"
      "Key1=2\n"
      "  HiScore1 = \"57\"  \n"
      "Key1=9\n"
      "Other=1,2\n"
      "\n"
      "[Elsewhere]\n"
      "Key2=5\n";
  SettingsText file = SettingsText::parse(text);
  EXPECT_EQ(file.value("Key1"), "2") << "the first line of a name counts";
  EXPECT_EQ(file.value("HiScore1"), "57") << "blanks and one pair of quotes go";
  EXPECT_EQ(file.value("Other"), "1,2");
  EXPECT_EQ(file.value("Key2"), std::nullopt) << "other sections are not the program's";
  EXPECT_EQ(file.text(), text) << "read and written back unchanged";

  file.set("Key1", "11");
  file.set("SoundMode", "2");
  EXPECT_EQ(file.text(),
            "; written by hand\n"
            "[General]\n"
            "Key1=11\n"
            "  HiScore1 = \"57\"  \n"
            "Key1=9\n"
            "Other=1,2\n"
            "SoundMode=2\n"
            "\n"
            "[Elsewhere]\n"
            "Key2=5\n");
  EXPECT_EQ(SettingsText::parse(file.text()).value("SoundMode"), "2");
}

// Whatever a hand-edited file holds, what is read is what is written back:
// an unchanged line keeps the CR it ends with (a file with CR CR LF ends),
// and a value read with blanks, quotes or a CR of its own, set again after a
// failed save, is quoted so that it reads back the same.
TEST(SettingsText, EveryValueReadsBackAsItWasSetAndUntouchedLinesKeepTheirBytes) {
  const std::string text = "[General]\r\r\nKey1=2\r\r\nOther=\" a \"\n";
  SettingsText file = SettingsText::parse(text);
  EXPECT_EQ(file.text(), text);
  file.set("Key2", "6");
  EXPECT_EQ(SettingsText::parse(file.text()).value("Key1"), file.value("Key1"));
  EXPECT_EQ(SettingsText::parse(file.text()).value("Other"), " a ");

  for (const std::string value : {" a ", "\"q\"", "x\r", "\"", "57", ""}) {
    SettingsText edited = SettingsText::parse("[General]\nOther=1\n");
    edited.set("Other", value);
    EXPECT_EQ(SettingsText::parse(edited.text()).value("Other"), value) << value;
  }
  SettingsText plain = SettingsText::parse("");
  plain.set("HiScore1", "57");
  EXPECT_EQ(plain.text(), "[General]\nHiScore1=57\n") << "numbers are written as they have always been";
}

TEST(SettingsText, StartsAGeneralSectionWhereThereIsNone) {
  SettingsText empty = SettingsText::parse("");
  empty.set("Key1", "2");
  empty.set("Key2", "6");
  EXPECT_EQ(empty.text(), "[General]\nKey1=2\nKey2=6\n");

  SettingsText other = SettingsText::parse("[Elsewhere]\nA=1\r\n");
  other.set("Key1", "2");
  EXPECT_EQ(other.text(), "[General]\nKey1=2\n[Elsewhere]\nA=1\n");

  // Lines before any section belong to it, as the old store read them.
  SettingsText bare = SettingsText::parse("Key1=3\n[Elsewhere]\nA=1\n");
  EXPECT_EQ(bare.value("Key1"), "3");
  bare.set("Key2", "4");
  EXPECT_EQ(bare.text(), "Key1=3\nKey2=4\n[Elsewhere]\nA=1\n");
}

class ReplaceFile : public ::testing::Test {
 protected:
  ReplaceFile() {
    std::string pattern = (fs::temp_directory_path() / "mk-replace-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  ~ReplaceFile() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  std::string path() const { return (dir_ / "MarshKpr50.conf").string(); }
  std::string read() const {
    std::ifstream in(path());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  int filesInFolder() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
    return n;
  }
  fs::path dir_;
};

TEST_F(ReplaceFile, WritesTheWholeFileAndLeavesNothingBehind) {
  EXPECT_EQ(replaceFile(path(), "[General]\nKey1=2\n"), std::nullopt);
  EXPECT_EQ(read(), "[General]\nKey1=2\n");
  ::chmod(path().c_str(), 0640);
  EXPECT_EQ(replaceFile(path(), "[General]\nKey1=3\n"), std::nullopt);
  EXPECT_EQ(read(), "[General]\nKey1=3\n");
  struct stat st {};
  ASSERT_EQ(::stat(path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the new file keeps the old one's permissions";
  EXPECT_EQ(filesInFolder(), 1) << "no temporary file stays";
}

// Run as root, a folder's permissions bind nobody; the child drops to an
// ordinary account for that.
TEST_F(ReplaceFile, AFolderThatCannotBeWrittenKeepsTheOldFileAndSaysWhy) {
  ASSERT_EQ(replaceFile(path(), "old\n"), std::nullopt);
  ::chmod(dir_.c_str(), 0755);
  ::chmod(path().c_str(), 0644);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    const auto error = replaceFile(path(), "new\n");
    _exit(error && error->find("ermission") != std::string::npos ? 0 : 11);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
  EXPECT_EQ(read(), "old\n");
  EXPECT_EQ(filesInFolder(), 1);
}

TEST(TemporaryFiles, AreTheFileNameADotAndSixLettersOrDigits) {
  EXPECT_TRUE(isTemporaryOf("MarshKpr50.conf.Ab12Cd", "MarshKpr50.conf"));
  EXPECT_FALSE(isTemporaryOf("MarshKpr50.conf.lock", "MarshKpr50.conf"));
  EXPECT_FALSE(isTemporaryOf("MarshKpr50.conf.too-large", "MarshKpr50.conf"));
  EXPECT_FALSE(isTemporaryOf("MarshKpr50.conf.Ab12C!", "MarshKpr50.conf"));
  EXPECT_FALSE(isTemporaryOf("Other.conf.Ab12Cd", "MarshKpr50.conf"));
  EXPECT_FALSE(isTemporaryOf("MarshKpr50.conf", "MarshKpr50.conf"));
}

}  // namespace
}  // namespace mk::settings
