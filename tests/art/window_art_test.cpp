// The windows' own artwork: the pictures whose exact pixels the program's
// layout relies on (the in-game menu strip, the manual viewer's bevelled
// buttons, the splash bands) and the resource file that embeds them.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <set>

#include "tests/art/art_files.h"

using namespace mk::art::testing;

namespace {

QImage art(const QString& name) { return decode(artDir() + "/" + name).convertToFormat(QImage::Format_ARGB32); }

TEST(GameMenuPicture, hasAnOpaqueTitleStripOverATranslucentPanel) {
  const QImage menu = art("game_menu.png");
  ASSERT_EQ(menu.size(), QSize(256, 512));
  int whiteInButton = 0, whiteInTitle = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 256; ++x) {
      const QRgb c = menu.pixel(x, y);
      ASSERT_EQ(qAlpha(c), 255) << "title strip not opaque at " << x << "," << y;
      if (qGray(c) > 200) ++(x < 36 ? whiteInButton : whiteInTitle);
    }
  EXPECT_GT(whiteInButton, 120) << "the three-bar symbol belongs within the first 36 pixels";
  EXPECT_GT(whiteInTitle, 100) << "the title is written beside the symbol";
  for (int y = 32; y < 512; ++y)
    for (int x = 0; x < 256; ++x) ASSERT_EQ(menu.pixel(x, y), qRgba(0, 0, 0, 204)) << "at " << x << "," << y;
}

class ManualButton : public ::testing::TestWithParam<const char*> {};

TEST_P(ManualButton, hasTheBevelOfItsState) {
  const QRgb lightOuter = qRgb(192, 192, 255), lightInner = qRgb(128, 128, 255);
  const QRgb darkInner = qRgb(0, 0, 192), darkOuter = qRgb(0, 0, 0), face = qRgb(0, 0, 255);
  for (bool pressed : {false, true}) {
    const QImage b = art(QString("manual_%1_%2.png").arg(GetParam(), pressed ? "down" : "up"));
    ASSERT_EQ(b.size(), QSize(16, 14));
    const QRgb topOuter = pressed ? darkOuter : lightOuter, topInner = pressed ? darkInner : lightInner;
    const QRgb bottomOuter = pressed ? lightOuter : darkOuter, bottomInner = pressed ? lightInner : darkInner;
    for (int x = 0; x < 15; ++x) EXPECT_EQ(b.pixel(x, 0), topOuter) << "top edge, x " << x;
    for (int y = 0; y < 13; ++y) EXPECT_EQ(b.pixel(0, y), topOuter) << "left edge, y " << y;
    for (int x = 1; x < 16; ++x) EXPECT_EQ(b.pixel(x, 13), bottomOuter) << "bottom edge, x " << x;
    for (int y = 0; y < 14; ++y) EXPECT_EQ(b.pixel(15, y), bottomOuter) << "right edge, y " << y;
    for (int x = 1; x < 14; ++x) EXPECT_EQ(b.pixel(x, 1), topInner) << "inner top, x " << x;
    for (int y = 1; y < 12; ++y) EXPECT_EQ(b.pixel(1, y), topInner) << "inner left, y " << y;
    for (int x = 2; x < 15; ++x) EXPECT_EQ(b.pixel(x, 12), bottomInner) << "inner bottom, x " << x;
    for (int y = 2; y < 13; ++y) EXPECT_EQ(b.pixel(14, y), bottomInner) << "inner right, y " << y;
    for (int y = 2; y < 12; ++y)
      for (int x = 2; x < 14; ++x) {
        const QRgb c = b.pixel(x, y);
        EXPECT_TRUE(c == face || c == qRgb(255, 255, 255)) << "face pixel " << x << "," << y;
      }
  }
}

TEST_P(ManualButton, pressedSymbolSitsOnePixelRightAndDown) {
  const QImage up = art(QString("manual_%1_up.png").arg(GetParam()));
  const QImage down = art(QString("manual_%1_down.png").arg(GetParam()));
  int symbol = 0;
  for (int y = 2; y < 11; ++y)
    for (int x = 2; x < 13; ++x) {
      const bool white = up.pixel(x, y) == qRgb(255, 255, 255);
      symbol += white;
      EXPECT_EQ(white, down.pixel(x + 1, y + 1) == qRgb(255, 255, 255)) << x << "," << y;
    }
  EXPECT_GE(symbol, 16) << "the symbol is drawn two pixels wide";
}

INSTANTIATE_TEST_SUITE_P(EachButton, ManualButton, ::testing::Values("next", "previous", "close"));

TEST(ManualButtons, previousIsTheMirrorOfNext) {
  const QImage next = art("manual_next_up.png"), previous = art("manual_previous_up.png");
  for (int y = 2; y < 12; ++y)
    for (int x = 2; x < 14; ++x) EXPECT_EQ(next.pixel(x, y), previous.pixel(15 - x, y)) << x << "," << y;
}

TEST(SplashArtwork, backdropHasItsFourBandsInSixteenColours) {
  const QByteArray bytes = readAll(artDir() + "/splash_backdrop.bmp");
  ASSERT_GT(bytes.size(), 54);
  EXPECT_EQ(int(quint8(bytes[28])), 4) << "a 16-colour bitmap";
  const QImage bg = art("splash_backdrop.bmp");
  ASSERT_EQ(bg.size(), QSize(460, 420));
  std::set<QRgb> colours;
  for (int y = 0; y < 420; ++y)
    for (int x = 0; x < 460; ++x) colours.insert(bg.pixel(x, y));
  EXPECT_LE(colours.size(), 16u);
  const QRgb darkBlue = qRgb(8, 41, 82);
  EXPECT_EQ(bg.pixel(230, 20), darkBlue);
  EXPECT_EQ(bg.pixel(230, 410), darkBlue);
  EXPECT_EQ(bg.pixel(230, 300), qRgb(255, 255, 255));
  const QRgb band = bg.pixel(230, 130);
  EXPECT_GT(qBlue(band), qBlue(darkBlue)) << "the middle band is a lighter blue";
  EXPECT_GT(qBlue(band), qRed(band));
}

TEST(SplashArtwork, picturesHaveTheirBoxesSizes) {
  EXPECT_EQ(art("splash_box.jpg").size(), QSize(220, 116));
  for (const char* b : {"splash_play.png", "splash_play_disabled.png", "splash_readme.png"})
    EXPECT_EQ(art(b).size(), QSize(107, 30)) << b;
  const QImage play = art("splash_play.png"), grey = art("splash_play_disabled.png");
  const QRgb blue = play.pixel(53, 24), dull = grey.pixel(53, 24);
  EXPECT_GT(qBlue(blue), qRed(blue) + 60) << "Play is blue";
  EXPECT_LT(std::abs(qRed(dull) - qBlue(dull)), 8) << "disabled Play is grey";
  EXPECT_EQ(qAlpha(play.pixel(0, 0)), 0) << "pill-shaped: the corners are clear";
}

TEST(AboutArtwork, emblemFillsThePictureBox) {
  const QImage emblem = art("about_emblem.png");
  EXPECT_EQ(emblem.size(), QSize(116, 160));
  EXPECT_EQ(qAlpha(emblem.pixel(0, 0)), 255);
}

TEST(ApplicationIcon, comesInTheUsualSizes) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QImage icon = art(QString("icons/marsh-keeper-%1.png").arg(size));
    EXPECT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(icon.hasAlphaChannel());
  }
}

TEST(ResourceFile, embedsEveryPictureOfTheFolder) {
  const QString qrc = QString::fromUtf8(readAll(artDir() + "/art.qrc"));
  EXPECT_TRUE(qrc.contains("prefix=\"/art\""));
  std::set<QString> listed;
  const QRegularExpression file("<file>([^<]+)</file>");
  for (auto it = file.globalMatch(qrc); it.hasNext();) listed.insert(it.next().captured(1));
  std::set<QString> present;
  QDirIterator dir(artDir(), {"*.png", "*.jpg", "*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
  while (dir.hasNext()) present.insert(QDir(artDir()).relativeFilePath(dir.next()));
  EXPECT_EQ(listed, present);
}

TEST(ResourceFile, everyNamedPathIsEmbedded) {
  // The windows reach their pictures through the names in art_paths.h.
  const QString qrc = QString::fromUtf8(readAll(artDir() + "/art.qrc"));
  const QString names = QString::fromUtf8(readAll(artDir() + "/art_paths.h"));
  int count = 0;
  const QRegularExpression path("\":/art/([^\"]+)\"");
  for (auto it = path.globalMatch(names); it.hasNext();) {
    QString file = it.next().captured(1);
    file.replace("%1", "16");
    EXPECT_TRUE(qrc.contains("<file>" + file + "</file>")) << file.toStdString();
    ++count;
  }
  EXPECT_EQ(count, 14);
}

}  // namespace
