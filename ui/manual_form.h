#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "input/qt_keys.h"
#include "skin/gfxinit.h"

class QLabel;

namespace mk::ui {

// The manual viewer: the twelve page pictures, one at a time, with
// previous-page, next-page and close buttons, the arrow keys and Escape.
// Borderless, above other windows, dragged by its page; modeless, so the
// game goes on while it is open. Closing only hides it, and the page last
// viewed is shown again next time. A page turns when its button or key is
// released, never on the press.
class TManualForm : public QWidget {
 public:
  using ErrorReporter = std::function<void(std::string_view text)>;

  // FormCreate: finds and checks the pages through Gfx_Init_Manual from the
  // Config.ini at configPath. A page that is no valid bitmap is reported
  // through showError (the decoder's text); the pages after it stay empty.
  // Each page is decoded when it is shown; one whose file fails then shows
  // the placeholder, and the decoder's text is reported once the handler that
  // turned to it has returned.
  TManualForm(const std::filesystem::path& configPath, ErrorReporter showError, QWidget* parent = nullptr);
  // The same with pages already found.
  TManualForm(skin::ManualPages pages, ErrorReporter showError, QWidget* parent = nullptr);

  // The main window it belongs to: it stays above it and is centred on its screen.
  void setOwner(QWidget& mainWindow);

  static constexpr int kPageCount = 12;
  static constexpr int kButtonWidth = 16;
  static constexpr int kButtonHeight = 14;
  static constexpr int kButtonMargin = 4;

  int CurrentPage = 1;

  void Vid_Show_Page();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();
  void Inp_esc_down();
  void Inp_esc_up();
  // Windows key codes; modifiers are not looked at, other keys do nothing.
  void FormKeyDown(std::uint16_t key);
  void FormKeyUp(std::uint16_t key);

  void btn_left_upMouseDown(Qt::MouseButton button);
  void btn_left_upMouseUp(Qt::MouseButton button);
  void btn_right_upMouseDown(Qt::MouseButton button);
  void btn_right_upMouseUp(Qt::MouseButton button);
  void btn_close_upMouseDown(Qt::MouseButton button);
  void btn_close_upMouseUp(Qt::MouseButton button);

  // The picture shown by the page view (null for an empty page, and while
  // the window is hidden).
  const QImage& shownPage() const { return shownPage_; }

  QWidget* im_page_top = nullptr;  // the page view
  QWidget* sh_page_top = nullptr;  // the drag surface with the black frame
  QLabel* btn_right_down = nullptr;
  QLabel* btn_right_up = nullptr;
  QLabel* btn_left_down = nullptr;
  QLabel* btn_left_up = nullptr;
  QLabel* btn_close_down = nullptr;
  QLabel* btn_close_up = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  enum class Pressed { None, Left, Right, Close };

  void FormCreate(skin::ManualPages pages);
  void letGoOfThePage();
  void reportLater(std::string text);
  void FormShow();
  void placeButtons();
  void forgetHeldKeys();

  ErrorReporter showError_;
  QWidget* owner_ = nullptr;
  // The page holders: where each page's picture comes from. Only the page on
  // screen is held decoded, with the page view's view over its pixels.
  skin::ManualPages ManualPages_;
  lcd::Picture shownPicture_;
  QImage shownPage_;
  bool shownBefore_ = false;
  Pressed pressed_ = Pressed::None;
  bool dragging_ = false;
  QPoint dragOrigin_;  // pointer position in the window when the drag began
  input::KeyRepeatFilter keys_{[this](std::uint16_t code) { FormKeyUp(code); }};
};

}  // namespace mk::ui
