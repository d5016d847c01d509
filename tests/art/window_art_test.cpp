// The windows' own artwork as a player sees it: the in-game menu strip and
// its see-through panel, the manual viewer's buttons, the splash bands and
// buttons, the icon; and the resource file that embeds every picture.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "tests/art/art_files.h"

using namespace mk::art::testing;

namespace {

QImage art(const QString& name) { return decode(artDir() + "/" + name).convertToFormat(QImage::Format_ARGB32); }

TEST(GameMenuPicture, hasAnOpaqueTitleStripOverADarkSeeThroughPanel) {
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
  // Below the strip the rows' white text must read over any game picture,
  // and the game must still show through: one dark, partly see-through colour.
  std::set<QRgb> panel;
  for (int y = 32; y < 512; ++y)
    for (int x = 0; x < 256; ++x) panel.insert(menu.pixel(x, y));
  ASSERT_EQ(panel.size(), 1u) << "the panel is one even colour";
  const QRgb c = *panel.begin();
  EXPECT_GE(qAlpha(c), 160) << "dark enough for white text over a lit face";
  EXPECT_LE(qAlpha(c), 230) << "the game shows through";
  EXPECT_LT(qGray(c), 40);
}

// What a player sees of the manual viewer's buttons: raised when released
// (lit from the top left), sunk when pressed, a white symbol on blue that
// moves with the press, and arrows pointing their way.
class ManualButton : public ::testing::TestWithParam<const char*> {
 public:
  static QImage picture(const char* name, bool pressed) {
    return art(QString("manual_%1_%2.png").arg(name, pressed ? "down" : "up"));
  }
  // Mean brightness of the two-pixel rim along the top and left edges, and along the bottom and right.
  static std::pair<double, double> rims(const QImage& b) {
    double topLeft = 0, bottomRight = 0;
    int n = 0, m = 0;
    for (int y = 0; y < b.height(); ++y)
      for (int x = 0; x < b.width(); ++x) {
        const int fromTopLeft = std::min(x, y);
        const int fromBottomRight = std::min(b.width() - 1 - x, b.height() - 1 - y);
        if (fromTopLeft < 2 && fromTopLeft < fromBottomRight) topLeft += qGray(b.pixel(x, y)), ++n;
        if (fromBottomRight < 2 && fromBottomRight < fromTopLeft) bottomRight += qGray(b.pixel(x, y)), ++m;
      }
    return {topLeft / n, bottomRight / m};
  }
  static std::vector<QPoint> symbol(const QImage& b) {
    std::vector<QPoint> white;
    for (int y = 2; y < b.height() - 2; ++y)
      for (int x = 2; x < b.width() - 2; ++x)
        if (b.pixel(x, y) == qRgb(255, 255, 255)) white.emplace_back(x, y);
    return white;
  }
};

TEST_P(ManualButton, looksRaisedWhenReleasedAndSunkWhenPressed) {
  const QImage up = picture(GetParam(), false), down = picture(GetParam(), true);
  ASSERT_EQ(up.size(), QSize(16, 14));
  ASSERT_EQ(down.size(), QSize(16, 14));
  const auto [upLit, upShade] = rims(up);
  const auto [downLit, downShade] = rims(down);
  EXPECT_GT(upLit, upShade + 60) << "a released button catches the light on its top and left";
  EXPECT_LT(downLit + 60, downShade) << "a pressed one is shaded there";
  const QRgb face = up.pixel(8, 2);
  EXPECT_GT(qBlue(face), 200);
  EXPECT_LT(qRed(face), 60);
}

TEST_P(ManualButton, hasAWhiteSymbolThatMovesWithThePress) {
  const std::vector<QPoint> up = symbol(picture(GetParam(), false));
  const std::vector<QPoint> down = symbol(picture(GetParam(), true));
  EXPECT_GE(up.size(), 16u) << "the symbol is drawn two pixels wide";
  ASSERT_EQ(up.size(), down.size());
  for (std::size_t i = 0; i < up.size(); ++i) EXPECT_EQ(down[i], up[i] + QPoint(1, 1));
}

INSTANTIATE_TEST_SUITE_P(EachButton, ManualButton, ::testing::Values("next", "previous", "close"));

// An arrow's tip is its middle rows' white, the farthest out in its direction.
double tipOffset(const std::vector<QPoint>& white) {
  int top = 99, bottom = -1;
  for (const QPoint& p : white) top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
  double middle = 0, ends = 0;
  int n = 0, m = 0;
  for (const QPoint& p : white) {
    if (p.y() == top || p.y() == bottom) ends += p.x(), ++m;
    if (std::abs(2 * p.y() - top - bottom) <= 1) middle += p.x(), ++n;
  }
  return middle / n - ends / m;
}

TEST(ManualButtons, nextPointsRightPreviousLeftAndCloseIsACross) {
  EXPECT_GT(tipOffset(ManualButton::symbol(art("manual_next_up.png"))), 1.5);
  EXPECT_LT(tipOffset(ManualButton::symbol(art("manual_previous_up.png"))), -1.5);
  const std::vector<QPoint> cross = ManualButton::symbol(art("manual_close_up.png"));
  std::set<std::pair<int, int>> at;
  int left = 99, right = -1, top = 99, bottom = -1;
  for (const QPoint& p : cross) {
    at.insert({p.x(), p.y()});
    left = std::min(left, p.x()), right = std::max(right, p.x());
    top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
  }
  for (const QPoint& p : cross)
    EXPECT_TRUE(at.count({left + right - p.x(), p.y()})) << "a cross looks the same mirrored, at " << p.x();
  EXPECT_TRUE(at.count({left, top}) && at.count({right, top}) && at.count({left, bottom}) && at.count({right, bottom}))
      << "its strokes reach all four corners";
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
