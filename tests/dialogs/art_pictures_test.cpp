// The windows' artwork goes through the skin's decoders instead of Qt's
// image readers; what the player sees must not change by it.
#include "ui/art_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "ui/art/art_paths.h"

namespace art = mk::ui::art;

namespace {

// Qt's reader gives the reference: the same size and, pixel for pixel, the
// same premultiplied colour (within the rounding of premultiplication).
void expectAsQtDecodesIt(const char* resource, int width, int height) {
  SCOPED_TRACE(resource);
  const QImage ours = mk::ui::artImage(resource);
  const QImage qt = QImage(QString::fromLatin1(resource)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  ASSERT_FALSE(qt.isNull());
  ASSERT_FALSE(ours.isNull());
  EXPECT_EQ(ours.size(), QSize(width, height));
  ASSERT_EQ(ours.size(), qt.size());
  ASSERT_EQ(ours.format(), QImage::Format_ARGB32_Premultiplied);
  int worst = 0;
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x) {
      const QRgb a = ours.pixel(x, y), b = qt.pixel(x, y);
      for (int shift : {0, 8, 16, 24}) worst = std::max(worst, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
    }
  EXPECT_LE(worst, 1);
}

}  // namespace

TEST(ArtPictures, DecodeAsQtDoesInEveryFormatTheArtworkUses) {
  expectAsQtDecodesIt(art::kSplashBackdrop, 460, 420);  // BMP
  expectAsQtDecodesIt(art::kSplashBox, 220, 116);       // JPEG
  expectAsQtDecodesIt(art::kSplashPlay, 107, 30);       // PNG
  expectAsQtDecodesIt(art::kGameMenu, 256, 512);        // PNG, translucent
  expectAsQtDecodesIt(art::kAboutEmblem, 116, 160);
  expectAsQtDecodesIt(art::kManualCloseDown, 16, 14);
  const mk::lcd::Picture menu = mk::ui::artPicture(art::kGameMenu);
  EXPECT_EQ(menu.width(), 256);
  EXPECT_EQ(menu.kind(), mk::lcd::PictureKind::Png);
}

TEST(ArtPictures, AMissingResourceOrAnUnknownKindIsNull) {
  EXPECT_TRUE(mk::ui::artPicture(":/art/not_there.png").isNull());
  EXPECT_TRUE(mk::ui::artImage(":/art/art.qrc").isNull());
  EXPECT_TRUE(mk::ui::artPixmap(":/art/not_there.bmp").isNull());
}
