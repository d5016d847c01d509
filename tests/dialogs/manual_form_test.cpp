#include "ui/manual_form.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/decode.h"

#include "events.h"

namespace fs = std::filesystem;
using mk::ui::TManualForm;

namespace {

// A folder of its own with a Config.ini naming its pages/ and twelve page
// files there, each a solid colour whose red channel is its page number.
class ManualForm : public ::testing::Test {
 protected:
  ManualForm() {
    std::string pattern = (fs::temp_directory_path() / "mk-manual-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    fs::create_directories(dir_ / "pages");
    std::ofstream(config()) << "[Manual]\nManualDir=" << dir_.string() << "/pages/\n";
    for (int n = 1; n <= 12; ++n) writePage(n, QColor(n, 0, 0));
  }
  ~ManualForm() override { fs::remove_all(dir_); }

  fs::path config() const { return dir_ / "Config.ini"; }
  fs::path page(int n) const { return dir_ / "pages" / (std::to_string(n) + ".bmp"); }
  void writePage(int n, QColor colour) const {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(page(n).string()), "bmp");
  }
  // What the viewer reports about page n: the decoder's message, the file first.
  std::string messageAbout(int n) const {
    return page(n).generic_string() + ": " + mk::skin::decodePictureFile(page(n)).error;
  }

  fs::path dir_;
};

int shownPageNumber(const TManualForm& form) { return qRed(form.shownPage().pixel(0, 0)); }

QPoint centreOf(QWidget* w) { return w->geometry().center(); }

}  // namespace

TEST_F(ManualForm, FirstShowingIsPageOneCentredWithoutPreviousButton) {
  TManualForm form(config(), nullptr);
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
TEST_F(ManualForm, KeysTurnOnePagePerReleaseWithinTheBounds) {
  TManualForm form(config(), nullptr);
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

TEST_F(ManualForm, MouseTurnsOnReleaseAndTheReleaseGoesToThePressedButton) {
  TManualForm form(config(), nullptr);
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
TEST_F(ManualForm, EscapeAndCloseButtonHideAndKeepThePage) {
  TManualForm form(config(), nullptr);
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
TEST_F(ManualForm, SizeAndButtonPlacesComeFromTheConfiguration) {
  std::ofstream(config()) << "[Manual]\nManualWidth=800\nManualHeight=500\nManualDir=" << dir_.string()
                          << "/none/\n";
  {
    TManualForm form(config(), nullptr);
    form.show();
    EXPECT_EQ(form.size(), QSize(800, 500));
    EXPECT_EQ(form.btn_right_up->pos(), QPoint(780, 482));
    EXPECT_EQ(form.btn_close_up->pos(), QPoint(780, 4));
    EXPECT_EQ(form.btn_left_up->pos(), QPoint(4, 482));
    EXPECT_EQ(form.shownPage().size(), QSize(10, 10));  // the placeholder
  }
  {
    TManualForm form(dir_ / "Missing.ini", nullptr);
    EXPECT_EQ(form.size(), QSize(630, 380));
  }
}

// Hidden, the viewer shows no page and holds none; shown again, it decodes
// the page last viewed from its file.
TEST_F(ManualForm, HiddenItHoldsNoPageAndShowsTheLastOneAgain) {
  TManualForm form(config(), nullptr);
  form.show();
  mk::test::tapKey(&form, Qt::Key_Right);
  mk::test::tapKey(&form, Qt::Key_Right);
  mk::test::tapKey(&form, Qt::Key_Escape);
  ASSERT_FALSE(form.isVisible());
  EXPECT_TRUE(form.shownPage().isNull());
  writePage(3, QColor(33, 0, 0));
  form.show();
  EXPECT_EQ(form.CurrentPage, 3);
  EXPECT_EQ(shownPageNumber(form), 33);
}

// A page's file spoiled after the window was created: turned to, the page
// shows the placeholder on white, and the decoder's message comes once the
// turning key's handler has returned, and only the first time.
TEST_F(ManualForm, APageSpoiledAfterCreationShowsThePlaceholderAndItsMessageOnce) {
  std::vector<std::string> messages;
  TManualForm form(config(), [&](std::string_view text) { messages.emplace_back(text); });
  form.show();
  std::ofstream(page(2), std::ios::binary) << "BM spoiled";
  mk::test::tapKey(&form, Qt::Key_Right);
  EXPECT_EQ(form.shownPage().size(), QSize(10, 10));
  const QImage onScreen = form.grab().toImage();
  EXPECT_EQ(onScreen.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(onScreen.pixelColor(100, 60), QColor(Qt::white));
  EXPECT_TRUE(messages.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(messages, std::vector<std::string>{messageAbout(2)});

  mk::test::tapKey(&form, Qt::Key_Right);
  EXPECT_EQ(shownPageNumber(form), 3);
  mk::test::tapKey(&form, Qt::Key_Left);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.shownPage().size(), QSize(10, 10));
  EXPECT_EQ(messages.size(), 1u);
}
