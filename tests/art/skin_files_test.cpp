// The default skin as the program loads it: Config.ini names a decodable
// picture for every slot that has one, boxes fit their pictures, segments
// stay on the LCD without covering one another, and the face's outline is
// clean against the window's key colour.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStringList>
#include <array>
#include <vector>

#include "lcd/elements.h"
#include "tests/art/art_files.h"

using namespace mk::art::testing;

namespace {

bool isElementName(const QString& name) {
  for (const mk::lcd::ElementInfo& info : mk::lcd::kElementInfo)
    if (QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())) == name) return true;
  return false;
}

// The configuration order of the 78 slots, as the skin loader reads them.
const QStringList kSlotElements = {
    "im_background", "im_background_screen_top", "btn_time_down", "btn_time_top", "btn_acl_down", "btn_acl_top",
    "btn_alarm_top", "btn_left_down", "btn_left_top", "btn_right_down", "btn_right_top", "im_panel_game_a",
    "im_panel_game_b", "im_panel_time_am", "im_panel_time_pm", "im_panel_time_colon", "im_panel_sound",
    "im_panel_miss_1", "im_panel_miss_2", "im_panel_miss_3", "im_panel_digit_pos_1", "im_panel_digit_pos_2",
    "im_panel_digit_pos_3", "im_panel_digit_pos_4", "im_panel_number_0", "im_panel_number_1", "im_panel_number_2",
    "im_panel_number_3", "im_panel_number_4", "im_panel_number_5", "im_panel_number_6", "im_panel_number_7",
    "im_panel_number_8", "im_panel_number_9", "im_enemy_1_1", "im_enemy_2_1", "im_enemy_3_1", "im_enemy_1_2",
    "im_enemy_2_2", "im_enemy_3_2", "im_enemy_1_3", "im_enemy_2_3", "im_enemy_3_3", "im_hero_1_body",
    "im_hero_2_body", "im_hero_3_body", "im_hero_1_leg_1", "im_hero_2_leg_1", "im_hero_3_leg_1", "im_hero_1_leg_2",
    "im_hero_2_leg_2", "im_hero_3_leg_2", "im_hero_1_attack", "im_hero_2_attack", "im_hero_3_attack", "im_weapon_1",
    "im_weapon_2", "im_weapon_3", "im_item_0_0", "im_item_1_1", "im_item_2_1", "im_item_3_1", "im_item_1_1a",
    "im_item_1_1b", "im_item_1_2", "im_item_2_2", "im_item_3_2", "im_item_3_2a", "im_item_3_2b", "im_item_1_3",
    "im_item_2_3", "im_item_3_3", "im_item_2_4", "im_item_3_4", "im_item_3_5", "im_item_got_1", "im_item_got_2",
    "im_item_got_3"};

struct Slot {
  int number = 0;
  QString element;
  QString file;
  QRect box;
  QImage picture;
};

class DefaultSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ini_ = new Ini(readIni(dataDir() + "/Config.ini"));
    slots_ = new std::vector<Slot>;
    for (int n = 1; n <= 78; ++n) {
      const QString section = QString("Image%1").arg(n);
      Slot s;
      s.number = n;
      s.element = ini_->firstComment[section.toLower()].section(':', 0, 0);
      s.file = ini_->value(section, "Filename").value_or("");
      s.box = QRect(ini_->integer(section, "Left"), ini_->integer(section, "Top"), ini_->integer(section, "Width"),
                    ini_->integer(section, "Height"));
      if (!s.file.isEmpty() && s.file != "nil") s.picture = decode(dataDir() + "/Graphics/Skin/" + s.file);
      slots_->push_back(s);
    }
  }
  static void TearDownTestSuite() {
    delete ini_;
    delete slots_;
  }
  static const Slot& slot(int n) { return (*slots_)[n - 1]; }
  static bool isSegment(int n) { return n >= 12; }
  static bool isDigitPosition(int n) { return n >= 21 && n <= 24; }
  static bool isGlyph(int n) { return n >= 25 && n <= 34; }
  static Ini* ini_;
  static std::vector<Slot>* slots_;
};
Ini* DefaultSkin::ini_ = nullptr;
std::vector<Slot>* DefaultSkin::slots_ = nullptr;

TEST_F(DefaultSkin, configurationHasTheWindowAndManualKeys) {
  EXPECT_EQ(ini_->value("Common", "SkinDir"), "Graphics\\Skin\\");
  EXPECT_EQ(ini_->integer("Common", "GameWidth"), 611);
  EXPECT_EQ(ini_->integer("Common", "GameHeight"), 322);
  EXPECT_EQ(ini_->value("VideoMode", "TranspColor"), "$00ff00ff");
  EXPECT_EQ(ini_->value("Fullscreen", "GameOffsetX"), "Center");
  EXPECT_EQ(ini_->value("Fullscreen", "GameOffsetY"), "Center");
  EXPECT_TRUE(ini_->value("Fullscreen", "BgColor").value_or("").startsWith("$00"));
  const int position = ini_->integer("Fullscreen", "LogoPosition");
  EXPECT_TRUE(position >= 0 && position <= 3);
  const int stretch = ini_->integer("Fullscreen", "BackdropStretch");
  EXPECT_TRUE(stretch == 0 || stretch == 1);
  EXPECT_EQ(ini_->value("Manual", "ManualDir"), "Graphics\\Manual\\");
  EXPECT_EQ(ini_->integer("Manual", "ManualWidth"), 630);
  EXPECT_EQ(ini_->integer("Manual", "ManualHeight"), 380);
}

TEST_F(DefaultSkin, everySlotNamesItsElementInOrder) {
  // The comment at the top of each section says which element it configures;
  // the order is the loader's, and every name is one of the window's elements.
  for (int n = 1; n <= 78; ++n) {
    EXPECT_EQ(slot(n).element, kSlotElements[n - 1]) << "slot " << n;
    EXPECT_TRUE(isElementName(slot(n).element)) << slot(n).element.toStdString();
  }
}

TEST_F(DefaultSkin, everyNamedPictureExistsAndDecodes) {
  for (int n = 1; n <= 78; ++n) {
    if (isDigitPosition(n)) {
      EXPECT_TRUE(slot(n).file.isEmpty()) << "digit positions show copies of the glyphs, not a picture of their own";
      continue;
    }
    ASSERT_FALSE(slot(n).file.isEmpty()) << "slot " << n << " has no picture";
    EXPECT_TRUE(QFileInfo::exists(dataDir() + "/Graphics/Skin/" + slot(n).file)) << slot(n).file.toStdString();
    EXPECT_FALSE(slot(n).picture.isNull()) << slot(n).file.toStdString() << " does not decode";
  }
}

TEST_F(DefaultSkin, boxesFitTheirPicturesAndLieOnTheFace) {
  const QRect face(0, 0, 611, 322);
  for (int n = 1; n <= 78; ++n) {
    const Slot& s = slot(n);
    EXPECT_TRUE(face.contains(s.box)) << "slot " << n << " reaches off the face";
    if (s.picture.isNull()) continue;
    EXPECT_EQ(s.box.size(), s.picture.size()) << "slot " << n << " (" << s.file.toStdString() << ")";
  }
}

TEST_F(DefaultSkin, digitGlyphsShareOneSizeWithTheDigitPositions) {
  for (int n = 25; n <= 34; ++n) EXPECT_EQ(slot(n).picture.size(), slot(25).picture.size()) << "glyph " << n - 25;
  for (int n = 21; n <= 24; ++n) EXPECT_EQ(slot(n).box.size(), slot(25).picture.size()) << "digit position " << n - 20;
  // Left to right, side by side, on one line.
  for (int n = 22; n <= 24; ++n) {
    EXPECT_EQ(slot(n).box.top(), slot(21).box.top());
    EXPECT_GE(slot(n).box.left(), slot(n - 1).box.right());
  }
  // The colon sits between the second and the third position, AM above PM left of them.
  EXPECT_GT(slot(16).box.left(), slot(22).box.left());
  EXPECT_LT(slot(16).box.right(), slot(23).box.right());
  EXPECT_LT(slot(14).box.bottom(), slot(15).box.top());
  EXPECT_LT(slot(14).box.right(), slot(21).box.left());
}

TEST_F(DefaultSkin, segmentsLieUnderTheGlass) {
  const QRect lcd = slot(2).box;
  for (int n = 12; n <= 78; ++n) {
    if (isGlyph(n)) continue;
    EXPECT_TRUE(lcd.contains(slot(n).box)) << slot(n).element.toStdString() << " is outside the LCD window";
  }
}

TEST_F(DefaultSkin, segmentsAreDarkShapesOnClearGround) {
  for (int n = 12; n <= 78; ++n) {
    const QImage img = slot(n).picture.convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) continue;
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QRgb c = img.pixel(x, y);
        if (qAlpha(c) >= 200) {
          ++dark;
          EXPECT_LT(qGray(c), 70) << slot(n).element.toStdString() << " has a light inked pixel";
        }
      }
    EXPECT_GT(dark, 10) << slot(n).element.toStdString() << " has almost no ink";
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << slot(n).element.toStdString() << " has no clear margin";
  }
}

TEST_F(DefaultSkin, noTwoSegmentsInkTheSamePixel) {
  // Each segment is its own electrode. The all-segments display lights nearly
  // all of them at once, so none may cover another's ink. (Pictures that are
  // never lit together could share pixels; this skin needs no such exception.)
  // The glyphs are exempt: they are only ever seen copied into the digit positions.
  std::vector<int> owner(611 * 322, 0);
  for (int n = 12; n <= 78; ++n) {
    if (isGlyph(n) || isDigitPosition(n)) continue;
    const QImage img = slot(n).picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        if (qAlpha(img.pixel(x, y)) < 128) continue;
        const int fx = slot(n).box.left() + x, fy = slot(n).box.top() + y;
        int& o = owner[fy * 611 + fx];
        if (o != 0) {
          ADD_FAILURE() << slot(n).element.toStdString() << " covers " << slot(o).element.toStdString() << " at "
                        << fx << "," << fy;
          return;
        }
        o = n;
      }
  }
}

TEST_F(DefaultSkin, faceOutlineIsHardAgainstTheKeyColour) {
  // Half-transparent edge pixels would blend with the magenta key colour
  // into a pink fringe on the desktop.
  const QImage face = slot(1).picture.convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(face.size(), QSize(611, 322));
  for (int y = 0; y < face.height(); ++y)
    for (int x = 0; x < face.width(); ++x) {
      const int a = qAlpha(face.pixel(x, y));
      ASSERT_TRUE(a == 0 || a == 255) << "alpha " << a << " at " << x << "," << y;
    }
  EXPECT_EQ(qAlpha(face.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(face.pixel(610, 321)), 0);
  EXPECT_EQ(qAlpha(face.pixel(305, 0)), 255);
  EXPECT_EQ(qAlpha(face.pixel(0, 160)), 255);
}

TEST_F(DefaultSkin, glassKeepsTheSegmentsVisible) {
  const QImage glass = slot(2).picture.convertToFormat(QImage::Format_ARGB32);
  long sum = 0;
  int worst = 0;
  for (int y = 10; y < glass.height() - 10; ++y)
    for (int x = 10; x < glass.width() - 10; ++x) {
      sum += qAlpha(glass.pixel(x, y));
      worst = std::max(worst, qAlpha(glass.pixel(x, y)));
    }
  EXPECT_LT(sum / double((glass.width() - 20) * (glass.height() - 20)), 20.0);
  EXPECT_LT(worst, 60);
}

TEST_F(DefaultSkin, pressingAButtonVisiblyChangesIt) {
  // The pressed picture lies under its clickable picture and shows only
  // where the clickable one is clear; there it must look different from the
  // face at rest.
  const QImage face = slot(1).picture.convertToFormat(QImage::Format_ARGB32);
  for (auto [down, top] : std::array<std::pair<int, int>, 4>{{{3, 4}, {5, 6}, {8, 9}, {10, 11}}}) {
    const QImage d = slot(down).picture.convertToFormat(QImage::Format_ARGB32);
    const QImage t = slot(top).picture.convertToFormat(QImage::Format_ARGB32);
    int changed = 0;
    for (int y = 0; y < d.height(); ++y)
      for (int x = 0; x < d.width(); ++x) {
        const QPoint at = slot(down).box.topLeft() + QPoint(x, y);
        const QPoint inTop = at - slot(top).box.topLeft();
        const bool covered = t.rect().contains(inTop) && qAlpha(t.pixel(inTop)) > 128;
        if (covered || qAlpha(d.pixel(x, y)) < 128) continue;
        const QRgb a = d.pixel(x, y), b = face.pixel(at);
        if (std::abs(qGray(a) - qGray(b)) > 12 || std::abs(qRed(a) - qRed(b)) > 24) ++changed;
      }
    const int area = d.width() * d.height();
    EXPECT_GT(changed, area / 5) << slot(down).element.toStdString() << " barely shows when pressed";
    EXPECT_TRUE(slot(top).box.contains(slot(down).box)) << slot(down).element.toStdString();
  }
}

TEST_F(DefaultSkin, fullScreenPicturesExist) {
  const QString dir = dataDir() + "/Graphics/Backdrops/";
  const QImage backdrop = decode(dir + ini_->value("Fullscreen", "BackdropFile").value_or(""));
  EXPECT_EQ(backdrop.size(), QSize(1920, 1080));
  const QImage logo = decode(dir + ini_->value("Fullscreen", "LogoFile").value_or(""));
  ASSERT_FALSE(logo.isNull());
  EXPECT_TRUE(logo.hasAlphaChannel());
  EXPECT_LE(logo.width(), 320);
}

TEST_F(DefaultSkin, manualHasTwelveBitmapPagesOfTheWindowsSize) {
  for (int page = 1; page <= 12; ++page) {
    const QString path = dataDir() + QString("/Graphics/Manual/%1.bmp").arg(page);
    const QByteArray bytes = readAll(path);
    ASSERT_GT(bytes.size(), 54) << path.toStdString();
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(int(quint8(bytes[28])), 24) << "page " << page << " is not a 24-bit bitmap";
    const QImage img = decode(path);
    EXPECT_EQ(img.size(), QSize(630, 380)) << "page " << page;
    // The corners where the viewer's buttons sit carry no ink: each is one plain colour.
    for (QPoint corner : {QPoint(4, 362), QPoint(610, 362), QPoint(610, 4)}) {
      const QRgb first = img.pixel(corner);
      int inked = 0;
      for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x)
          if (img.pixel(corner + QPoint(x, y)) != first) ++inked;
      EXPECT_EQ(inked, 0) << "page " << page << " has ink under the button at " << corner.x() << "," << corner.y();
    }
  }
}

}  // namespace
