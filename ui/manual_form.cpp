#include "ui/manual_form.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "input/key_table.h"
#include "skin/compositor.h"
#include "skin/decode.h"
#include "ui/art/art_paths.h"
#include "ui/art_pictures.h"
#include "ui/dialog_window.h"

namespace mk::ui {

namespace {

namespace vk = input::vk;

// Paints the current page unscaled from the top-left corner.
class PageView final : public QWidget {
 public:
  PageView(QWidget* parent, const QImage& page) : QWidget(parent), page_(page) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!page_.isNull()) painter.drawImage(0, 0, page_);
  }

 private:
  const QImage& page_;
};

// See-through, with a one-pixel black outline: the window's thin frame.
class DragSurface final : public QWidget {
 public:
  explicit DragSurface(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
  }
};

enum class Symbol { Next, Previous, Close };

// A 16 x 14 button: blue face, two pixels of bevel, a white symbol two
// pixels wide. Pressed, the bevel's shades swap and the symbol moves one
// pixel right and down.
QImage drawButton(Symbol symbol, bool pressed) {
  const int w = TManualForm::kButtonWidth;
  const int h = TManualForm::kButtonHeight;
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(0, 0, 255));
  const QColor lightOuter(192, 192, 255), lightInner(128, 128, 255);
  const QColor darkInner(0, 0, 192), darkOuter(0, 0, 0);
  const QColor& topLeftOuter = pressed ? darkOuter : lightOuter;
  const QColor& topLeftInner = pressed ? darkInner : lightInner;
  const QColor& bottomRightInner = pressed ? lightInner : darkInner;
  const QColor& bottomRightOuter = pressed ? lightOuter : darkOuter;
  for (int ring = 1; ring >= 0; --ring) {  // inner ring first, the outer one over its corners
    const QColor& topLeft = ring == 0 ? topLeftOuter : topLeftInner;
    const QColor& bottomRight = ring == 0 ? bottomRightOuter : bottomRightInner;
    for (int x = ring; x < w - ring; ++x) image.setPixelColor(x, ring, topLeft);
    for (int y = ring; y < h - ring; ++y) image.setPixelColor(ring, y, topLeft);
    for (int x = ring; x < w - ring; ++x) image.setPixelColor(x, h - 1 - ring, bottomRight);
    for (int y = ring; y < h - ring; ++y) image.setPixelColor(w - 1 - ring, y, bottomRight);
  }
  const int shift = pressed ? 1 : 0;
  auto plot = [&](int x, int y) {
    for (int dx = 0; dx < 2; ++dx) image.setPixelColor(x + dx + shift, y + shift, Qt::white);
  };
  // Eight rows from y = 3 to 10; the chevrons point at rows 6 and 7.
  for (int r = 0; r < 8; ++r) {
    const int bend = r < 4 ? r : 7 - r;
    switch (symbol) {
      case Symbol::Next: plot(5 + bend, 3 + r); break;
      case Symbol::Previous: plot(9 - bend, 3 + r); break;
      case Symbol::Close:
        plot(3 + r, 3 + r);
        plot(10 - r, 3 + r);
        break;
    }
  }
  return image;
}

// The artwork's picture when the program carries it, else the same drawn here.
QPixmap buttonPicture(Symbol symbol, bool pressed) {
  struct Pictures {
    const char* up;
    const char* down;
  };
  constexpr Pictures kPictures[] = {{art::kManualNextUp, art::kManualNextDown},
                                    {art::kManualPreviousUp, art::kManualPreviousDown},
                                    {art::kManualCloseUp, art::kManualCloseDown}};
  const Pictures& pictures = kPictures[static_cast<int>(symbol)];
  if (QPixmap art = artPixmap(pressed ? pictures.down : pictures.up); !art.isNull()) return art;
  return QPixmap::fromImage(drawButton(symbol, pressed));
}

QLabel* buttonLabel(QWidget* parent, const char* name, Symbol symbol, bool pressed) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setPixmap(buttonPicture(symbol, pressed));
  label->resize(TManualForm::kButtonWidth, TManualForm::kButtonHeight);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

TManualForm::TManualForm(const std::filesystem::path& configPath, ErrorReporter showError, QWidget* parent)
    : TManualForm(skin::Gfx_Init_Manual(configPath), std::move(showError), parent) {}

TManualForm::TManualForm(skin::ManualPages pages, ErrorReporter showError, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      showError_(std::move(showError)) {
  setObjectName(QStringLiteral("ManualForm"));
  setWindowTitle(QStringLiteral("Manual"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setFocusPolicy(Qt::StrongFocus);

  im_page_top = new PageView(this, shownPage_);
  im_page_top->setObjectName(QStringLiteral("im_page_top"));
  sh_page_top = new DragSurface(this);
  sh_page_top->setObjectName(QStringLiteral("sh_page_top"));
  // Each pressed picture lies under its released one.
  btn_right_down = buttonLabel(this, "btn_right_down", Symbol::Next, true);
  btn_right_up = buttonLabel(this, "btn_right_up", Symbol::Next, false);
  btn_left_down = buttonLabel(this, "btn_left_down", Symbol::Previous, true);
  btn_left_up = buttonLabel(this, "btn_left_up", Symbol::Previous, false);
  btn_close_down = buttonLabel(this, "btn_close_down", Symbol::Close, true);
  btn_close_up = buttonLabel(this, "btn_close_up", Symbol::Close, false);
  btn_left_down->hide();
  btn_left_up->hide();

  FormCreate(std::move(pages));
}

void TManualForm::FormCreate(skin::ManualPages pages) {
  // A hand-edited size must still give a window that exists on screen.
  const int width = std::clamp(pages.clientSize.width, 1, skin::kMaxPictureSide);
  const int height = std::clamp(pages.clientSize.height, 1, skin::kMaxPictureSide);
  setFixedSize(width, height);
  ManualPages_ = std::move(pages);
  if (!ManualPages_.error.empty() && showError_) showError_(ManualPages_.error);
}

void TManualForm::resizeEvent(QResizeEvent* event) {
  im_page_top->setGeometry(rect());
  sh_page_top->setGeometry(rect());
  placeButtons();
  QWidget::resizeEvent(event);
}

void TManualForm::placeButtons() {
  const int right = width() - kButtonMargin - kButtonWidth;
  const int bottom = height() - kButtonMargin - kButtonHeight;
  btn_right_down->move(right, bottom);
  btn_right_up->move(right, bottom);
  btn_left_down->move(kButtonMargin, bottom);
  btn_left_up->move(kButtonMargin, bottom);
  btn_close_down->move(right, kButtonMargin);
  btn_close_up->move(right, kButtonMargin);
}

void TManualForm::Vid_Show_Page() {
  CurrentPage = std::clamp(CurrentPage, 1, kPageCount);
  letGoOfThePage();  // before the next is decoded, so two are never held
  skin::ShownManualPage page = ManualPages_.pageToShow(CurrentPage);
  shownPicture_ = std::move(page.picture);
  shownPage_ = skin::imageView(shownPicture_, /*transparent=*/false);
  im_page_top->update();
  if (!page.error.empty()) reportLater(std::move(page.error));
  if (CurrentPage == 1) {
    btn_left_down->hide();
    btn_left_up->hide();
  } else if (CurrentPage == kPageCount) {
    btn_right_down->hide();
    btn_right_up->hide();
  } else {
    for (QLabel* arrow : {btn_left_down, btn_left_up, btn_right_down, btn_right_up}) arrow->show();
  }
}

void TManualForm::letGoOfThePage() {
  shownPage_ = QImage();
  shownPicture_ = lcd::Picture();
}

// A modal message box opened from here would run its own event loop inside
// the key, mouse or show handler that turned the page, before the page is
// on screen: the message waits until that handler has returned.
void TManualForm::reportLater(std::string text) {
  if (!showError_) return;
  QMetaObject::invokeMethod(
      this, [this, message = std::move(text)] { showError_(message); }, Qt::QueuedConnection);
}

void TManualForm::Inp_left_down() { btn_left_up->hide(); }

void TManualForm::Inp_left_up() {
  CurrentPage -= 1;
  Vid_Show_Page();
}

void TManualForm::Inp_right_down() { btn_right_up->hide(); }

void TManualForm::Inp_right_up() {
  CurrentPage += 1;
  Vid_Show_Page();
}

void TManualForm::Inp_esc_down() { btn_close_up->hide(); }

void TManualForm::Inp_esc_up() {
  btn_close_up->show();
  hide();
}

void TManualForm::FormKeyDown(std::uint16_t key) {
  if (key == vk::kEscape) Inp_esc_down();
  else if (key == vk::kLeft && CurrentPage > 1) Inp_left_down();
  else if (key == vk::kRight && CurrentPage < kPageCount) Inp_right_down();
}

void TManualForm::FormKeyUp(std::uint16_t key) {
  if (key == vk::kEscape) Inp_esc_up();
  else if (key == vk::kLeft && CurrentPage > 1) Inp_left_up();
  else if (key == vk::kRight && CurrentPage < kPageCount) Inp_right_up();
}

void TManualForm::keyPressEvent(QKeyEvent* event) {
  const auto [code, pass] = keys_.filter(*event);
  if (pass == input::KeyRepeatFilter::Pass::Press || pass == input::KeyRepeatFilter::Pass::RepeatPress)
    FormKeyDown(code);
}

void TManualForm::keyReleaseEvent(QKeyEvent* event) {
  const auto [code, pass] = keys_.filter(*event);
  if (pass == input::KeyRepeatFilter::Pass::Release) FormKeyUp(code);
}

void TManualForm::btn_left_upMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_left_down();
}
void TManualForm::btn_left_upMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_left_up();
}
void TManualForm::btn_right_upMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_right_down();
}
void TManualForm::btn_right_upMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_right_up();
}
void TManualForm::btn_close_upMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_esc_down();
}
void TManualForm::btn_close_upMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) Inp_esc_up();
}

// The window takes every press itself, so the release always reaches the
// button the press began on, even after the press hid that button's
// released picture or the pointer left it.
void TManualForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || pressed_ != Pressed::None) return;
  const QPoint at = event->position().toPoint();
  auto hit = [&](QLabel* released) { return released->isVisible() && released->geometry().contains(at); };
  if (hit(btn_close_up)) {
    pressed_ = Pressed::Close;
    btn_close_upMouseDown(event->button());
  } else if (hit(btn_right_up)) {
    pressed_ = Pressed::Right;
    btn_right_upMouseDown(event->button());
  } else if (hit(btn_left_up)) {
    pressed_ = Pressed::Left;
    btn_left_upMouseDown(event->button());
  } else {
    dragging_ = true;
    dragOrigin_ = event->globalPosition().toPoint() - pos();
  }
}

void TManualForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOrigin_);
}

void TManualForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  const Pressed released = std::exchange(pressed_, Pressed::None);
  switch (released) {
    case Pressed::Left: btn_left_upMouseUp(event->button()); break;
    case Pressed::Right: btn_right_upMouseUp(event->button()); break;
    case Pressed::Close: btn_close_upMouseUp(event->button()); break;
    case Pressed::None: break;
  }
}

void TManualForm::setOwner(QWidget& mainWindow) {
  owner_ = &mainWindow;
  keepAbove(*this, mainWindow);
}

void TManualForm::FormShow() { Vid_Show_Page(); }

void TManualForm::showEvent(QShowEvent* event) {
  if (!shownBefore_) {
    shownBefore_ = true;
    centreOnScreen(*this, owner_);
  }
  FormShow();
  QWidget::showEvent(event);
  activateWindow();
  setFocus(Qt::ActiveWindowFocusReason);
}

// A key or button held while the window loses the keyboard or hides never
// sends its release here: show the released pictures again, turn no page.
void TManualForm::forgetHeldKeys() {
  keys_.releaseAll();
  pressed_ = Pressed::None;
  dragging_ = false;
  btn_close_up->show();
  if (CurrentPage > 1) btn_left_up->setVisible(btn_left_down->isVisible());
  if (CurrentPage < kPageCount) btn_right_up->setVisible(btn_right_down->isVisible());
}

// Hidden, the window shows no page, so it holds none; showing it again
// decodes the page last viewed.
void TManualForm::hideEvent(QHideEvent* event) {
  forgetHeldKeys();
  letGoOfThePage();
  QWidget::hideEvent(event);
}

void TManualForm::focusOutEvent(QFocusEvent* event) {
  forgetHeldKeys();
  QWidget::focusOutEvent(event);
}

}  // namespace mk::ui
