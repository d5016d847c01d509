#include "ui/manual_form.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <filesystem>
#include <fstream>

#include "events.h"

namespace fs = std::filesystem;
using mk::skin::ManualPages;
using mk::ui::TManualForm;

namespace {

// Twelve pages, each a solid colour whose red channel is its page number.
ManualPages numberedPages() {
  ManualPages pages;
  for (int n = 1; n <= 12; ++n) {
    const std::uint32_t colour = 0xff000000u | (std::uint32_t(n) << 16);
    pages.pages[std::size_t(n - 1)] =
        mk::lcd::Picture::fromPixels(630, 380, std::vector<std::uint32_t>(630 * 380, colour),
                                     mk::lcd::PictureKind::Bitmap);
  }
  return pages;
}

int shownPageNumber(const TManualForm& form) { return qRed(form.shownPage().pixel(0, 0)); }

QPoint centreOf(QWidget* w) { return w->geometry().center(); }

}  // namespace

TEST(ManualForm, FirstShowingIsPageOneCentredWithoutPreviousButton) {
  TManualForm form(numberedPages(), nullptr);
  form.show();
  EXPECT_EQ(form.CurrentPage, 1);
  EXPECT_EQ(shownPageNumber(form), 1);
  EXPECT_FALSE(form.btn_left_up->isVisible());
  EXPECT_FALSE(form.btn_left_down->isVisible());
  EXPECT_TRUE(form.btn_right_up->isVisible());
  EXPECT_TRUE(form.btn_close_up->isVisible());
  EXPECT_EQ(form.frameGeometry().center(), QGuiApplication::primaryScreen()->geometry().center());
}

// A held Right arrow (X11 sends auto-repeat as release/press pairs) must
// turn exactly one page, when it is let go; the bounds stop the arrows.
TEST(ManualForm, KeysTurnOnePagePerReleaseWithinTheBounds) {
  TManualForm form(numberedPages(), nullptr);
  form.show();
  mk::test::tapKey(&form, Qt::Key_Left);
  EXPECT_EQ(form.CurrentPage, 1);

  mk::test::sendKey(&form, QEvent::KeyPress, Qt::Key_Right);
  EXPECT_FALSE(form.btn_right_up->isVisible());  // the pressed picture shows
  for (int i = 0; i < 6; ++i) {
    mk::test::sendKey(&form, QEvent::KeyRelease, Qt::Key_Right, true);
    mk::test::sendKey(&form, QEvent::KeyPress, Qt::Key_Right, true);
  }
  EXPECT_EQ(form.CurrentPage, 1);
  mk::test::sendKey(&form, QEvent::KeyRelease, Qt::Key_Right);
  EXPECT_EQ(form.CurrentPage, 2);
  EXPECT_EQ(shownPageNumber(form), 2);
  EXPECT_TRUE(form.btn_right_up->isVisible());
  EXPECT_TRUE(form.btn_left_up->isVisible());

  for (int i = 0; i < 15; ++i) mk::test::tapKey(&form, Qt::Key_Right);
  EXPECT_EQ(form.CurrentPage, 12);
  EXPECT_FALSE(form.btn_right_up->isVisible());
  EXPECT_FALSE(form.btn_right_down->isVisible());
  mk::test::tapKey(&form, Qt::Key_Left);
  EXPECT_EQ(form.CurrentPage, 11);
}

TEST(ManualForm, MouseTurnsOnReleaseAndTheReleaseGoesToThePressedButton) {
  TManualForm form(numberedPages(), nullptr);
  form.show();
  form.CurrentPage = 11;
  form.Vid_Show_Page();
  const QPoint next = centreOf(form.btn_right_up);
  mk::test::sendMouse(&form, QEvent::MouseButtonPress, next);
  EXPECT_EQ(form.CurrentPage, 11);
  mk::test::sendMouse(&form, QEvent::MouseButtonRelease, QPoint(300, 200));  // released off the button
  EXPECT_EQ(form.CurrentPage, 12);
  EXPECT_FALSE(form.btn_right_up->isVisible());
  EXPECT_TRUE(form.btn_left_up->isVisible());

  // The hidden arrow at a bound cannot be clicked; the right button does nothing.
  mk::test::click(&form, next);
  EXPECT_EQ(form.CurrentPage, 12);
  mk::test::click(&form, centreOf(form.btn_left_up), Qt::RightButton);
  EXPECT_EQ(form.CurrentPage, 12);
  mk::test::click(&form, centreOf(form.btn_left_up));
  EXPECT_EQ(form.CurrentPage, 11);

  // Anywhere else the page is the drag surface.
  form.move(100, 100);
  mk::test::sendMouse(&form, QEvent::MouseButtonPress, QPoint(50, 60));
  mk::test::sendMouse(&form, QEvent::MouseMove, QPoint(80, 80));
  EXPECT_EQ(form.pos(), QPoint(130, 120));
  mk::test::sendMouse(&form, QEvent::MouseButtonRelease, QPoint(50, 60));
  EXPECT_EQ(form.CurrentPage, 11);
}

// Closing keeps the page: the leaflet opens where the player left it, with
// the close button in its released look.
TEST(ManualForm, EscapeAndCloseButtonHideAndKeepThePage) {
  TManualForm form(numberedPages(), nullptr);
  form.show();
  mk::test::tapKey(&form, Qt::Key_Right);
  mk::test::sendKey(&form, QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.btn_close_up->isVisible());
  mk::test::sendKey(&form, QEvent::KeyRelease, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());

  const QPoint placed(40, 30);
  form.move(placed);
  form.show();
  EXPECT_EQ(form.CurrentPage, 2);
  EXPECT_EQ(shownPageNumber(form), 2);
  EXPECT_TRUE(form.btn_close_up->isVisible());
  EXPECT_EQ(form.pos(), placed);  // centred on the first showing only

  mk::test::click(&form, centreOf(form.btn_close_up));
  EXPECT_FALSE(form.isVisible());
}

// The buttons keep their distances from the edges whatever the configured
// size; a missing Config.ini gives the default size and placeholder pages.
TEST(ManualForm, SizeAndButtonPlacesComeFromTheConfiguration) {
  std::string pattern = (fs::temp_directory_path() / "mk-manual-XXXXXX").string();
  const fs::path dir = mkdtemp(pattern.data());
  std::ofstream(dir / "Config.ini") << "[Manual]\nManualWidth=800\nManualHeight=500\nManualDir=" << dir.string()
                                    << "/none/\n";
  {
    TManualForm form(dir / "Config.ini", nullptr);
    form.show();
    EXPECT_EQ(form.size(), QSize(800, 500));
    EXPECT_EQ(form.btn_right_up->pos(), QPoint(780, 482));
    EXPECT_EQ(form.btn_close_up->pos(), QPoint(780, 4));
    EXPECT_EQ(form.btn_left_up->pos(), QPoint(4, 482));
    EXPECT_EQ(form.shownPage().size(), QSize(10, 10));  // the placeholder
  }
  {
    TManualForm form(dir / "Missing.ini", nullptr);
    EXPECT_EQ(form.size(), QSize(630, 380));
  }
  fs::remove_all(dir);
}
