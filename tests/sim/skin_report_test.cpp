#include "tools/sim/skin_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "tests/skin_load/skin_fixture.h"

namespace mk::sim {
namespace {

using skin::testing::TempSkinFolder;

struct Report {
  int status = 0;
  std::vector<std::string> lines;
  std::string err;
};

Report report(const TempSkinFolder& skin, std::vector<std::string_view> args) {
  std::ostringstream out, err;
  Report r;
  r.status = runSkinReport(args, skin.configPath(), out, err);
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) r.lines.push_back(line);
  r.err = err.str();
  return r;
}

TEST(SkinReport, PrintsEveryThingThePassSetOneLineEach) {
  TempSkinFolder skin;
  skin.writePicture("Graphics/Skin/face.png", 611, 322, Qt::gray, "png");
  skin.writeConfig(
      "[VideoMode]\nTranspColor=$0000ff00\n"
      "[Image1]\nFilename=face.png\nWidth=611\nHeight=322\n"
      "[Image7]\nFilename=alarm.bmp\nLeft=3\nTop=4\nWidth=5\nHeight=6\n");
  const Report r = report(skin, {"--skin-report"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.lines.size(), 6u + 78u);
  EXPECT_EQ(r.lines[0], "client 611 322");
  EXPECT_EQ(r.lines[1], "background 00ff00");
  EXPECT_EQ(r.lines[2], "colorkey on 00ff00");
  EXPECT_EQ(r.lines[3], "backdrop hidden centre none");
  EXPECT_EQ(r.lines[4], "logo hidden 0 0 none");
  EXPECT_EQ(r.lines[5], "gamemenu hidden 36 32");
  EXPECT_EQ(r.lines[6], "slot 1 im_background 0 0 611 322 611x322");
  EXPECT_EQ(r.lines[12], "slot 7 btn_alarm_top 3 4 5 6 placeholder");
  EXPECT_EQ(r.lines[83], "slot 78 im_item_got_3 0 0 0 0 none");
}

TEST(SkinReport, FullscreenOnAGivenScreen) {
  TempSkinFolder skin;
  skin.writePicture("Graphics/Backdrops/back.bmp", 80, 60, Qt::gray, "bmp");
  skin.writePicture("Graphics/Backdrops/logo.bmp", 100, 40, Qt::gray, "bmp");
  skin.writeConfig("[Fullscreen]\nBackdropFile=back.bmp\nLogoFile=logo.bmp\nLogoPosition=3\n");
  const Report r = report(skin, {"--skin-report", "--fullscreen", "--screen", "1280x720"});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.lines.size(), 84u);
  EXPECT_EQ(r.lines[0], "client 1280 720");
  EXPECT_EQ(r.lines[1], "background 000000");
  EXPECT_EQ(r.lines[2], "colorkey off ffffff");
  EXPECT_EQ(r.lines[3], "backdrop shown centre 80x60");
  EXPECT_EQ(r.lines[4], "logo shown 1180 680 100x40");
  EXPECT_EQ(r.lines[5], "gamemenu shown 36 32");
  EXPECT_EQ(r.lines[6], "slot 1 im_background 334 199 0 0 none");
}

// The initial window state is what remains when the pass cannot run.
TEST(SkinReport, MessagesAndTerminationGoToStandardErrorAndTheStatusStaysZero) {
  TempSkinFolder skin;
  const Report missing = report(skin, {"--skin-report", "--fullscreen"});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.err,
            "message: Configuration file (Config.ini) not found. Please reinstall the game.\nterminate\n");
  ASSERT_EQ(missing.lines.size(), 84u);
  EXPECT_EQ(missing.lines[0], "client 611 322");
  EXPECT_EQ(missing.lines[1], "background ffffff");
  EXPECT_EQ(missing.lines[2], "colorkey on ffffff");
  EXPECT_EQ(missing.lines[3], "backdrop shown centre none");
  EXPECT_EQ(missing.lines[4], "logo shown 0 0 none");
  EXPECT_EQ(missing.lines[5], "gamemenu shown 36 32");

  skin.writeConfig("[VideoMode]\nTranspColor=pink\n");
  const Report abandoned = report(skin, {"--skin-report"});
  EXPECT_EQ(abandoned.status, 0);
  EXPECT_EQ(abandoned.err, "message: Config.ini: 'pink' is not a valid integer value\n");
  EXPECT_EQ(abandoned.lines[5], "gamemenu hidden 0 0");

  // Picture messages name the file; a side no window can have is reported
  // and the report shows the default the window uses.
  skin.writeFile("Graphics/Skin/face.gif", "GIF89a");
  skin.writeConfig("[Common]\nGameWidth=0\n[Image1]\nFilename=face.gif\n");
  const Report named = report(skin, {"--skin-report"});
  EXPECT_EQ(named.status, 0);
  EXPECT_EQ(named.err,
            "message: Config.ini: [Common] GameWidth=0 is not a window width from 1 to 8192 pixels; 611 is used instead.\n"
            "message: Graphics/Skin/face.gif: Unknown picture file extension (.gif)\n");
  EXPECT_EQ(named.lines[0], "client 611 322");
}

TEST(SkinReport, RejectsOptionsItDoesNotKnowWithStatusTwo) {
  TempSkinFolder skin;
  skin.writeConfig("");
  for (const auto& args : std::vector<std::vector<std::string_view>>{
           {"--skin-report", "--screen"},
           {"--skin-report", "--screen", "1920"},
           {"--skin-report", "--screen", "0x1080"},
           {"--skin-report", "--screen", "-5x7"},
           {"--skin-report", "--screen", "10x10x10"},
           {"--skin-report", "--windowed"}}) {
    const Report r = report(skin, args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_TRUE(r.lines.empty());
    EXPECT_NE(r.err, "");
  }
}

}  // namespace
}  // namespace mk::sim
