#include "skin/gfxinit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <sstream>
#include <utility>

#include "skin/decode.h"
#include "skin_fixture.h"
#include "tools/sim/skin_report.h"

namespace mk::skin {
namespace {

using lcd::ElementId;
using sim::HeadlessSkinHost;
using testing::TempSkinFolder;

class SkinPassTest : public ::testing::Test {
 protected:
  SkinPassTest() { prepareWindowElements(model); }

  SkinPassResult pass(bool fullscreen, Size screen = {1920, 1080}) {
    host = std::make_unique<HeadlessSkinHost>(skin.configPath(), screen, log);
    return Gfx_Init_Skin(model, *host, fullscreen);
  }
  const lcd::Element& slot(int n) const { return model[SkinImages[static_cast<std::size_t>(n)]]; }

  TempSkinFolder skin;
  lcd::ElementModel model;
  std::ostringstream log;
  std::unique_ptr<HeadlessSkinHost> host;
};

TEST(SkinImagesTable, PutsAlarmAfterTheAclPairAndNamesEachElementOnce) {
  EXPECT_EQ(SkinImages[6], ElementId::btn_acl_top);
  EXPECT_EQ(SkinImages[7], ElementId::btn_alarm_top);
  EXPECT_EQ(SkinImages[8], ElementId::btn_left_down);
  std::set<ElementId> distinct;
  for (std::size_t n = 1; n <= SkinImages.size(); ++n) distinct.insert(SkinImages[n]);
  EXPECT_EQ(distinct.size(), 78u);
}

// An empty file gives every key its default: the windowed look with the
// magenta key, and 78 empty boxes at the origin.
TEST_F(SkinPassTest, EmptyConfigWindowedGivesDefaultsAndEmptyBoxes) {
  skin.writeConfig("");
  EXPECT_EQ(pass(false).outcome, SkinPassOutcome::Completed);
  EXPECT_EQ(log.str(), "");
  EXPECT_EQ(host->clientSize(), (Size{611, 322}));
  EXPECT_EQ(host->background(), (Colour{255, 0, 255}));
  EXPECT_EQ(host->keyColour(), (Colour{255, 0, 255}));
  EXPECT_TRUE(host->colourKeyOn());
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop));
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop_logo));
  for (int n = 1; n <= kSkinSlotCount; ++n) {
    EXPECT_TRUE(slot(n).picture.isNull()) << n;
    EXPECT_EQ(slot(n).box, (lcd::Box{0, 0, 0, 0})) << n;
  }
  EXPECT_FALSE(model.isVisible(ElementId::btn_game_menu_background));
  EXPECT_FALSE(model.isVisible(ElementId::btn_game_menu_top));
  EXPECT_EQ(model[ElementId::btn_game_menu_background].box, (lcd::Box{0, 0, 36, 32}));
}

// Full screen on 1920x1080 with defaults: the skin is centred at
// (1920-611)/2, (1080-322)/2, the key is off, the background black.
TEST_F(SkinPassTest, EmptyConfigFullscreenCentresTheSkinOnTheScreen) {
  skin.writeConfig("[Common]\n");
  EXPECT_EQ(pass(true).outcome, SkinPassOutcome::Completed);
  EXPECT_EQ(host->clientSize(), (Size{1920, 1080}));
  EXPECT_EQ(host->background(), (Colour{0, 0, 0}));
  EXPECT_FALSE(host->colourKeyOn());
  EXPECT_EQ(model[ElementId::im_backdrop].box, (lcd::Box{0, 0, 1920, 1080}));
  for (int n = 1; n <= kSkinSlotCount; ++n) EXPECT_EQ(slot(n).box, (lcd::Box{654, 379, 0, 0})) << n;
  EXPECT_TRUE(model.isVisible(ElementId::btn_game_menu_background));
  EXPECT_TRUE(model.isVisible(ElementId::btn_game_menu_top));
  EXPECT_EQ(model[ElementId::btn_game_menu_background].box, (lcd::Box{0, 0, 36, 32}));
}

TEST_F(SkinPassTest, SlotsTakeTheirPicturesAndBoxesButNeverTheirVisibility) {
  skin.writePicture("Graphics/Skin/face.bmp", 611, 322, Qt::gray, "bmp");
  skin.writePicture("Graphics/Skin/hero.png", 30, 20, Qt::black, "png");
  skin.writeConfig(
      "[Common]\nGameWidth=0x280\nGameHeight=400\n"
      "[Image1]\nFilename=face.bmp\nLeft=1\nTop=2\nWidth=611\nHeight=322\n"
      "[Image44]\nFilename=\"hero.png\"\nLeft=100\nTop=50\nWidth=25\nHeight=30\n");
  const bool faceShown = model.isVisible(ElementId::im_background);
  pass(false);
  EXPECT_EQ(host->clientSize(), (Size{640, 400}));
  EXPECT_EQ(model[ElementId::im_backdrop].box, (lcd::Box{0, 0, 640, 400}));
  EXPECT_EQ(slot(1).picture.width(), 611);
  EXPECT_EQ(slot(1).picture.kind(), lcd::PictureKind::Bitmap);
  EXPECT_EQ(slot(1).box, (lcd::Box{1, 2, 611, 322}));
  // A picture larger than its box is not resized, nor the box to the picture.
  EXPECT_EQ(slot(44).picture.width(), 30);
  EXPECT_EQ(slot(44).picture.kind(), lcd::PictureKind::Png);
  EXPECT_EQ(slot(44).box, (lcd::Box{100, 50, 25, 30}));
  EXPECT_EQ(model.isVisible(ElementId::im_background), faceShown);
  EXPECT_FALSE(model.isVisible(ElementId::im_hero_1_body));
}

// "NIL" is not the no-file word, so it names a file that is not there.
TEST_F(SkinPassTest, AMissingFileGetsThePlaceholderAndStillItsBox) {
  skin.writeConfig(
      "[Image12]\nFilename=absent.bmp\nLeft=5\nTop=6\nWidth=20\nHeight=20\n"
      "[Image13]\nFilename=NIL\n"
      "[Image14]\nFilename=nil\n");
  const SkinPassResult result = pass(false);
  EXPECT_EQ(result.outcome, SkinPassOutcome::Completed);
  EXPECT_EQ(log.str(), "");
  EXPECT_TRUE(slot(12).picture.sharesDataWith(result.placeholder));
  EXPECT_EQ(slot(12).picture.width(), 10);
  EXPECT_EQ(slot(12).box, (lcd::Box{5, 6, 20, 20}));
  EXPECT_TRUE(slot(13).picture.sharesDataWith(result.placeholder));
  EXPECT_TRUE(slot(14).picture.isNull());
}

TEST_F(SkinPassTest, ASlotChangedToNilKeepsThePictureOfTheEarlierPass) {
  skin.writePicture("Graphics/Skin/a.bmp", 12, 8, Qt::blue, "bmp");
  skin.writeConfig("[Image20]\nFilename=a.bmp\nWidth=12\nHeight=8\n");
  pass(false);
  const lcd::Picture first = slot(20).picture;
  ASSERT_FALSE(first.isNull());

  skin.writeConfig("[Image20]\nFilename=nil\nLeft=3\nWidth=12\nHeight=8\n");
  pass(true);
  EXPECT_TRUE(slot(20).picture.sharesDataWith(first));
  EXPECT_EQ(slot(20).box.left, 3 + 654);
}

TEST_F(SkinPassTest, NamesAndFoldersDifferingOnlyInLetterCaseAreFound) {
  skin.writePicture("Graphics/Skin/Face.bmp", 4, 4, Qt::green, "bmp");
  skin.writePicture("My Skin/sub/Button.PNG", 6, 4, Qt::green, "png");
  skin.writeConfig(
      "[Image1]\nFilename=FACE.BMP\n"
      "[Common]\nSkinDir=graphics\\skin\n");
  pass(false);
  EXPECT_EQ(slot(1).picture.width(), 4);

  skin.writeConfig("[Common]\nSkinDir=my skin\\\n[Image3]\nFilename=SUB\\button.png\n");
  pass(false);
  EXPECT_EQ(slot(3).picture.width(), 6);
}

TEST_F(SkinPassTest, AnExplicitGameOffsetIsAddedToEverySlot) {
  skin.writeConfig(
      "[Fullscreen]\nGameOffsetX=100\nGameOffsetY=-20\n"
      "[Image5]\nLeft=47\nTop=10\n");
  pass(true);
  EXPECT_EQ(slot(5).box.left, 147);
  EXPECT_EQ(slot(5).box.top, -10);

  // 0, like "Center", centres; so does a text that is no number.
  skin.writeConfig("[Fullscreen]\nGameOffsetX=0\nGameOffsetY=middle\n[Image5]\nLeft=47\n");
  pass(true);
  EXPECT_EQ(slot(5).box.left, 654 + 47);
  EXPECT_EQ(slot(5).box.top, 379);
}

TEST_F(SkinPassTest, AScreenSmallerThanTheSkinGivesANegativeOffsetCutTowardZero) {
  skin.writeConfig("[Common]\nGameWidth=611\nGameHeight=322\n");
  pass(true, {606, 300});
  EXPECT_EQ(slot(1).box.left, -2);   // -5 / 2
  EXPECT_EQ(slot(1).box.top, -11);   // -22 / 2
  EXPECT_EQ(host->clientSize(), (Size{606, 300}));
}

// A skin may write any 32-bit number; moving it by the offset must not overflow.
TEST_F(SkinPassTest, ExtremeCoordinatesAreHeldWithinRange) {
  skin.writeConfig(
      "[Fullscreen]\nGameOffsetX=2147483647\nGameOffsetY=-2147483648\n"
      "[Common]\nGameWidth=-2147483648\n"
      "[Image9]\nLeft=2147483647\nTop=-2147483648\n");
  pass(true);
  EXPECT_EQ(slot(9).box.left, 2147483647);
  EXPECT_EQ(slot(9).box.top, -2147483647 - 1);

  // A game offset at the end of the range moves a box as far as int goes.
  skin.writeConfig("[Fullscreen]\nGameOffsetX=-2147483647\n[Image9]\nLeft=-2\nWidth=2147483647\n");
  pass(true);
  EXPECT_EQ(slot(9).box.left, -2147483647 - 1);
  EXPECT_EQ(slot(9).box.width, 2147483647);
}

// No window can be 0 pixels or 2^31 wide: such a side is named in a message,
// the default is used (the handheld is still shown) and the pass goes on, in
// either presentation.
TEST_F(SkinPassTest, AClientSideNoWindowCanHaveIsNamedAndTheDefaultUsed) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"GameWidth=0", "Config.ini: [Common] GameWidth=0 is not a window width from 1 to 8192 pixels; 611 is used instead."},
      {"GameWidth=-0", "Config.ini: [Common] GameWidth=-0 is not a window width from 1 to 8192 pixels; 611 is used instead."},
      {"GameWidth=8193", "Config.ini: [Common] GameWidth=8193 is not a window width from 1 to 8192 pixels; 611 is used instead."},
      {"gamewidth=-2147483648", "Config.ini: [Common] GameWidth=-2147483648 is not a window width from 1 to 8192 pixels; 611 is used instead."},
      {"GameHeight=-1", "Config.ini: [Common] GameHeight=-1 is not a window height from 1 to 8192 pixels; 322 is used instead."},
      {"GameHeight=$7fffffff", "Config.ini: [Common] GameHeight=$7fffffff is not a window height from 1 to 8192 pixels; 322 is used instead."},
  };
  for (const Case& c : cases) {
    for (const bool fullscreen : {false, true}) {
      SCOPED_TRACE(std::string(c.text) + (fullscreen ? " full screen" : " windowed"));
      log.str("");
      skin.writeConfig(std::string("[Common]\n") + c.text + "\n[Image1]\nWidth=5\n");
      EXPECT_EQ(pass(fullscreen).outcome, SkinPassOutcome::Completed);
      EXPECT_EQ(log.str(), std::string("message: ") + c.message + "\n");
      EXPECT_EQ(host->clientSize(), fullscreen ? (Size{1920, 1080}) : kInitialClientSize);
      EXPECT_EQ(slot(1).box, fullscreen ? (lcd::Box{654, 379, 5, 0}) : (lcd::Box{0, 0, 5, 0}));
    }
  }

  // Both ends of the range are window sides; a side that is no number reads as the default.
  for (const char* text : {"GameWidth=1\nGameHeight=8192", "GameWidth=0x2000\nGameHeight=1", "GameWidth=wide"}) {
    log.str("");
    skin.writeConfig(std::string("[Common]\n") + text + "\n");
    pass(false);
    EXPECT_EQ(log.str(), "") << text;
  }
  EXPECT_EQ(host->clientSize(), kInitialClientSize);

  // The message names the file as found, and reports each bad side.
  log.str("");
  std::filesystem::remove(skin.configPath());
  skin.writeFile("config.INI", "[Common]\nGameWidth=0\nGameHeight=0\n");
  pass(false);
  EXPECT_EQ(log.str(),
            "message: config.INI: [Common] GameHeight=0 is not a window height from 1 to 8192 pixels; 322 is used instead.\n"
            "message: config.INI: [Common] GameWidth=0 is not a window width from 1 to 8192 pixels; 611 is used instead.\n");
}

TEST_F(SkinPassTest, AMissingConfigAsksToQuitAndStillSetsTheMenuButton) {
  for (bool fullscreen : {false, true}) {
    log.str("");
    const SkinPassResult result = pass(fullscreen);
    EXPECT_EQ(result.outcome, SkinPassOutcome::ConfigMissing);
    EXPECT_EQ(log.str(),
              "message: Configuration file (Config.ini) not found. Please reinstall the game.\nterminate\n");
    EXPECT_TRUE(host->terminationRequested());
    EXPECT_EQ(host->clientSize(), kInitialClientSize);
    EXPECT_EQ(model.isVisible(ElementId::btn_game_menu_top), fullscreen);
    EXPECT_EQ(model.isVisible(ElementId::btn_game_menu_background), fullscreen);
    EXPECT_EQ(model[ElementId::btn_game_menu_background].box, (lcd::Box{0, 0, 36, 32}));
  }
}

TEST_F(SkinPassTest, ABadKeyColourAbandonsThePassWithWhatWasSetSoFar) {
  skin.writeConfig("[Image2]\nLeft=9\nWidth=4\n");
  pass(true);
  ASSERT_EQ(slot(2).box, (lcd::Box{9 + 654, 379, 4, 0}));
  ASSERT_TRUE(model.isVisible(ElementId::btn_game_menu_top));

  skin.writeConfig("[Common]\nGameWidth=500\n[VideoMode]\nTranspColor=zz\n[Image2]\nLeft=1\n");
  EXPECT_EQ(pass(false).outcome, SkinPassOutcome::Abandoned);
  EXPECT_EQ(log.str(), "message: Config.ini: 'zz' is not a valid integer value\n");
  EXPECT_EQ(host->clientSize().width, 500);                    // step 4 ran
  EXPECT_EQ(host->background(), kInitialBackground);           // the colour did not
  EXPECT_EQ(slot(2).box, (lcd::Box{9 + 654, 379, 4, 0}));     // slots kept the last pass's boxes
  EXPECT_TRUE(model.isVisible(ElementId::im_backdrop));        // the backdrop was not hidden
  EXPECT_TRUE(model.isVisible(ElementId::btn_game_menu_top));  // nor the menu button
}

// An empty BgColor is no number; the backdrop loaded before it stays.
TEST_F(SkinPassTest, AnEmptyBackgroundColourAbandonsAfterTheBackdrop) {
  skin.writePicture("Graphics/Backdrops/back.jpg", 80, 60, Qt::darkBlue, "jpg");
  skin.writeConfig("[Fullscreen]\nBackdropFile=back.jpg\nBackdropStretch=1\nBgColor=\n");
  EXPECT_EQ(pass(true).outcome, SkinPassOutcome::Abandoned);
  EXPECT_EQ(log.str(), "message: Config.ini: '' is not a valid integer value\n");
  EXPECT_EQ(model[ElementId::im_backdrop].picture.width(), 80);
  EXPECT_TRUE(host->backdropStretch());
  EXPECT_TRUE(host->colourKeyOn());
  EXPECT_EQ(host->clientSize(), kInitialClientSize);
}

TEST_F(SkinPassTest, AnUnknownExtensionAbandonsThePassAtThatSlot) {
  skin.writePicture("Graphics/Skin/ok.bmp", 5, 5, Qt::red, "bmp");
  skin.writeFile("Graphics/Skin/odd.gif", "GIF89a");
  skin.writeConfig(
      "[Image3]\nFilename=ok.bmp\nLeft=3\n"
      "[Image4]\nFilename=odd.gif\nLeft=4\n"
      "[Image5]\nFilename=ok.bmp\nLeft=5\n");
  EXPECT_EQ(pass(false).outcome, SkinPassOutcome::Abandoned);
  EXPECT_EQ(log.str(), "message: Graphics/Skin/odd.gif: Unknown picture file extension (.gif)\n");
  EXPECT_EQ(slot(3).box.left, 3);
  EXPECT_TRUE(slot(4).picture.isNull());
  EXPECT_EQ(slot(4).box.left, 0);
  EXPECT_TRUE(slot(5).picture.isNull());
}

TEST_F(SkinPassTest, ABrokenPictureShowsTheDecodersTextAndAbandons) {
  skin.writeFile("Graphics/Skin/broken.png", "\x89PNG\r\n\x1a\nnot really");
  skin.writeConfig("[Image10]\nFilename=broken.png\n");
  EXPECT_EQ(pass(false).outcome, SkinPassOutcome::Abandoned);
  EXPECT_TRUE(log.str().starts_with("message: Graphics/Skin/broken.png: ")) << log.str();
  EXPECT_GT(log.str().size(), std::string("message: Graphics/Skin/broken.png: \n").size());
  EXPECT_TRUE(slot(10).picture.isNull());
}

// Each message about a picture starts with the file as the skin names it:
// its folder after the backslash rule, and the name as written even where a
// file of other letter case was found.
TEST_F(SkinPassTest, EveryPictureMessageNamesTheFileAsTheSkinWritesIt) {
  skin.writeFile("Pics/Face/Broken.BMP", "BM nothing more");
  skin.writeConfig("[Common]\nSkinDir=Pics\\Face\n[Image1]\nFilename=broken.bmp\n");
  pass(false);
  EXPECT_TRUE(log.str().starts_with("message: Pics/Face/broken.bmp: ")) << log.str();

  log.str("");
  skin.writeFile("Graphics/Backdrops/back.png", "not a png");
  skin.writeConfig("[Fullscreen]\nBackdropFile=back.png\n");
  pass(true);
  EXPECT_TRUE(log.str().starts_with("message: Graphics/Backdrops/back.png: ")) << log.str();

  log.str("");
  skin.writeFile("Art/logo.jpeg", "not a jpeg");
  skin.writeConfig("[Fullscreen]\nBackdropDir=Art\\\nLogoFile=logo.jpeg\n");
  pass(true);
  EXPECT_TRUE(log.str().starts_with("message: Art/logo.jpeg: ")) << log.str();

  log.str("");
  skin.writeFile("Graphics/Skin/face.tif", "II*");
  skin.writeConfig("[Image3]\nFilename=face.tif\n");
  pass(false);
  EXPECT_EQ(log.str(), "message: Graphics/Skin/face.tif: Unknown picture file extension (.tif)\n");
}

TEST_F(SkinPassTest, FullscreenBackdropAndLogoArePlacedOnTheScreen) {
  skin.writePicture("Graphics/Backdrops/back.bmp", 800, 600, Qt::darkGreen, "bmp");
  skin.writePicture("Graphics/Backdrops/logo.png", 100, 40, Qt::white, "png");
  skin.writeConfig(
      "[Fullscreen]\nBackdropFile=back.bmp\nBackdropStretch=1\nLogoFile=logo.png\nLogoPosition=3\n"
      "BgColor=$00102030\n");
  pass(true);
  EXPECT_TRUE(model.isVisible(ElementId::im_backdrop));
  EXPECT_EQ(model[ElementId::im_backdrop].picture.width(), 800);
  EXPECT_EQ(model[ElementId::im_backdrop].box, (lcd::Box{0, 0, 1920, 1080}));
  EXPECT_TRUE(host->backdropStretch());
  EXPECT_EQ(host->background(), (Colour{0x30, 0x20, 0x10}));
  EXPECT_TRUE(model.isVisible(ElementId::im_backdrop_logo));
  EXPECT_EQ(model[ElementId::im_backdrop_logo].box, (lcd::Box{1820, 1040, 100, 40}));

  // Windowed hides both and keeps their pictures for the next switch.
  pass(false);
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop));
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop_logo));
  EXPECT_EQ(model[ElementId::im_backdrop].box, (lcd::Box{0, 0, 611, 322}));
  EXPECT_EQ(model[ElementId::im_backdrop_logo].picture.width(), 100);

  // No loadable files: both stay as the windowed pass left them.
  skin.writeConfig("[Fullscreen]\nBackdropFile=gone.bmp\nLogoFile=\n");
  pass(true);
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop));
  EXPECT_FALSE(model.isVisible(ElementId::im_backdrop_logo));
  EXPECT_EQ(log.str(), "");
}

TEST_F(SkinPassTest, ALogoPositionNamingNoCornerLeavesTheLogoWhereItWas) {
  skin.writePicture("Graphics/Backdrops/logo.bmp", 100, 40, Qt::white, "bmp");
  skin.writeConfig("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=7\n");
  pass(true);
  EXPECT_EQ(model[ElementId::im_backdrop_logo].box, (lcd::Box{0, 0, 100, 40}));

  skin.writeConfig("[Fullscreen]\nLogoFile=logo.bmp\n");  // default: top-right
  pass(true);
  EXPECT_EQ(model[ElementId::im_backdrop_logo].box, (lcd::Box{1820, 0, 100, 40}));

  skin.writeConfig("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=-1\n");
  pass(true, {1024, 768});
  EXPECT_EQ(model[ElementId::im_backdrop_logo].box, (lcd::Box{1820, 0, 100, 40}));
}

class ManualLoaderTest : public ::testing::Test {
 protected:
  // The decoder's message about a file, as the loader gives it.
  static std::string decodersMessage(const std::string& named) {
    return named + ": " + decodePictureFile(named).error;  // the folder is the current directory
  }

  TempSkinFolder folder;
};

TEST_F(ManualLoaderTest, AMissingConfigGivesTheDefaultSizeAndFolder) {
  folder.writePicture("Graphics/Manual/1.bmp", 630, 380, Qt::white, "bmp");
  ManualPages manual = Gfx_Init_Manual(folder.configPath());
  EXPECT_EQ(manual.clientSize, (Size{630, 380}));
  EXPECT_EQ(manual.error, "");
  EXPECT_EQ(manual.pageToShow(1).picture.width(), 630);
  for (int n = 2; n <= 12; ++n) EXPECT_TRUE(manual.pageToShow(n).picture.sharesDataWith(manual.placeholder)) << n;
}

TEST_F(ManualLoaderTest, ReadsItsSectionAndStopsAtAPageThatFailsItsCheck) {
  folder.writeConfig("[Manual]\nManualDir=Pages\nManualWidth=800\nManualHeight=500\n");
  folder.writePicture("Pages/1.bmp", 8, 5, Qt::white, "bmp");
  folder.writePicture("Pages/3.BMP", 8, 5, Qt::white, "bmp");
  folder.writeFile("Pages/4.bmp", "BM this is no bitmap");
  folder.writePicture("Pages/5.bmp", 8, 5, Qt::white, "bmp");
  ManualPages manual = Gfx_Init_Manual(folder.configPath());
  EXPECT_EQ(manual.clientSize, (Size{800, 500}));
  EXPECT_EQ(manual.error, decodersMessage("Pages/4.bmp"));
  EXPECT_EQ(manual.pageToShow(1).picture.width(), 8);
  EXPECT_TRUE(manual.pageToShow(2).picture.sharesDataWith(manual.placeholder));
  EXPECT_EQ(manual.pageToShow(3).picture.width(), 8);
  for (int n = 4; n <= 12; ++n) {
    const ShownManualPage page = manual.pageToShow(n);
    EXPECT_TRUE(page.picture.isNull()) << n;
    EXPECT_EQ(page.error, "") << n;
  }
}

// A page's file removed after the check shows the placeholder and gives the
// decoder's message, once: the page is not read again.
TEST_F(ManualLoaderTest, APageThatNoLongerDecodesShowsThePlaceholderAndItsMessageOnce) {
  folder.writePicture("Graphics/Manual/1.bmp", 8, 5, Qt::white, "bmp");
  ManualPages manual = Gfx_Init_Manual(folder.configPath());
  ASSERT_EQ(manual.error, "");
  std::filesystem::remove(folder.root() / "Graphics/Manual/1.bmp");
  const ShownManualPage first = manual.pageToShow(1);
  EXPECT_TRUE(first.picture.sharesDataWith(manual.placeholder));
  EXPECT_EQ(first.error, decodersMessage("Graphics/Manual/1.bmp"));
  EXPECT_TRUE(first.error.starts_with("Graphics/Manual/1.bmp: Cannot open file")) << first.error;

  folder.writePicture("Graphics/Manual/1.bmp", 8, 5, Qt::white, "bmp");
  const ShownManualPage again = manual.pageToShow(1);
  EXPECT_TRUE(again.picture.sharesDataWith(manual.placeholder));
  EXPECT_EQ(again.error, "");
}

// A colour table that does not fit its file shows only in decoding: such a
// page passes the check and gives the decoder's message when shown.
TEST_F(ManualLoaderTest, AFaultOnlyDecodingFindsShowsWhenThePageIsShown) {
  // 4 x 4 pixels of 8 bits after room for 256 colours, but a colour table
  // said to hold 4096: the file and information headers, field by field.
  std::string bytes = "BM";
  for (const auto& [value, size] : std::initializer_list<std::pair<std::uint32_t, int>>{
           {1094, 4}, {0, 4}, {54 + 1024, 4},
           {40, 4}, {4, 4}, {4, 4}, {1, 2}, {8, 2}, {0, 4}, {16, 4}, {2835, 4}, {2835, 4}, {4096, 4}, {0, 4}}) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
  }
  bytes += std::string(1024 + 16, '\0');
  folder.writeFile("Graphics/Manual/1.bmp", bytes);
  ManualPages manual = Gfx_Init_Manual(folder.configPath());
  EXPECT_EQ(manual.error, "");
  const ShownManualPage page = manual.pageToShow(1);
  EXPECT_TRUE(page.picture.sharesDataWith(manual.placeholder));
  EXPECT_EQ(page.error, decodersMessage("Graphics/Manual/1.bmp"));
  EXPECT_NE(page.error, "Graphics/Manual/1.bmp: ");
}

}  // namespace
}  // namespace mk::skin
