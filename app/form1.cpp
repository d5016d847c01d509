#include "app/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <QWindow>

#include <algorithm>
#include <chrono>

#include "app/window_shape.h"
#include "skin/gfxinit.h"
#include "skin/layout.h"
#include "skin/snapshot.h"
#include "sound/error_box.h"
#include "sound/sdl_audio.h"

namespace mk::app {
using lcd::ElementId;

TForm1* Form1 = nullptr;
ui::TAboutForm* AboutForm = nullptr;
input::TKeysForm* KeysForm = nullptr;
skin::TManualForm* ManualForm = nullptr;
ui::TSplashForm* SplashForm = nullptr;
bool SplashPending = true;
bool terminationRequested = false;

namespace {

// A window larger than this would only exhaust memory for its surface; no
// screen shows it.
constexpr int kMaxClientSide = 8192;

QColor toQColor(skin::Colour c) { return QColor(c.red, c.green, c.blue); }

Qt::CursorShape shapeOf(PointerCursor cursor) {
  switch (cursor) {
    case PointerCursor::Hand:
      return Qt::PointingHandCursor;
    case PointerCursor::Help:
      return Qt::WhatsThisCursor;
    case PointerCursor::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

// The window's own artwork (not a skin slot) as an element picture.
lcd::Picture artPicture(const char* resource) {
  const QImage image = QImage(QString::fromLatin1(resource)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    std::copy(row, row + image.width(), pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width());
  }
  return lcd::Picture::fromPixels(image.width(), image.height(), std::move(pixels), lcd::PictureKind::Png);
}

std::uint32_t clockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
  return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace

// Not QCoreApplication::quit: that closes every window first, which would run
// the close handler, and a window refusing to close would cancel it.
void endEventLoop() {
  terminationRequested = true;
  // Queued, so it takes effect once the event loop runs; a request made
  // before the loop starts is seen by main through terminationRequested.
  QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

TForm1::TForm1(Form1Environment environment) : QWidget(nullptr, Qt::FramelessWindowHint), env_(std::move(environment)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  skin::prepareWindowElements(model_);
  model_.setPicture(ElementId::btn_game_menu_background, artPicture(":/art/game_menu.png"));
  resize(skin::kInitialClientSize.width, skin::kInitialClientSize.height);
  canvas_ = new Canvas(model_, this);
  canvas_->setGeometry(rect());
  canvas_->compositor().setBackground(toQColor(skin::kInitialBackground));
  canvas_->setStaleObserver([this](const QRegion& stale) { reshapeStale(stale); });
  keyColour_ = skin::kInitialKeyColour;
  colourKeyOn_ = skin::kInitialColourKeyOn;
  popup_ = std::make_unique<ui::PopupMenu>(this, *this);
  // Play sets it from the splash dialog; until then, as the dialog starts.
  popup_->setChecked(ui::CheckKind::Splash, true);
  gameMenu_ = std::make_unique<ui::GameMenu>(
      this, *this, [this](ui::CheckKind kind) { return popup_->isChecked(kind); },
      [this](int width, int height) {
        model_.setBox(ElementId::btn_game_menu_background, {0, 0, width, height});
      });

  qApp->installEventFilter(this);
  // Keys can reach this window while it is not the active one (no window
  // manager, or focus following the pointer), so it is never deactivated; a
  // window that a key opened then gets that key's release, and the key
  // would stay down here, its next press taken for a repeat.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
    if (focus != windowHandle()) releaseHeldKeys();
  });
  FormCreate();
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  // The canvas watches the element model, which goes before the widget's
  // children would.
  delete canvas_;
  canvas_ = nullptr;
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
  // The taskbar entry is the main window's title. The application's display
  // name stays empty: Qt would append it to every dialog's title.
  setWindowTitle(QString::fromLatin1(kApplicationTitle));

  {
    const skin::Point away = skin::outOfSight(screenSize());
    move(away.x, away.y);
  }

  // The segment tables are compile-time tables of the LCD model.

  SettingsStore_ = env_.openStore ? env_.openStore() : std::make_unique<settings::MemorySettingsStore>();
  audio_ = env_.makeAudio ? env_.makeAudio() : std::make_unique<sound::SdlMixerLayer>();
  sound_ = std::make_unique<sound::SoundOutput>(*audio_, *SettingsStore_,
                                                [this](std::string_view text) { showError(text); });
  engine_ = std::make_unique<engine::Engine>(model_, timers_, *sound_, *SettingsStore_, clock_, 0u);

  FullscreenMode = SettingsStore_->readBool("FullscreenMode", true);
  popup_->setChecked(ui::CheckKind::Fullscreen, FullscreenMode);

  runSkinPass();

  gameMenu_->GameMenuOpen = false;

  KeyBindings_.load(*SettingsStore_);
  rebuildHints();

  // The menu items are the compile-time table ui::MenuItems, and Qt widgets
  // always paint off-screen first: nothing to fill or switch on here.

  engine::GameState& state = engine_->state;
  state.HiScore1 = SettingsStore_->readInt("HiScore1", state.HiScore1);
  state.HiScore2 = SettingsStore_->readInt("HiScore2", state.HiScore2);

  state.PlayLive = false;
  state.MoveLatch = false;

  engine_->seed(clockSeed());
}

void TForm1::FormActivate() {
  if (!SplashPending) return;
  SplashPending = false;
  if (SplashForm) {
    SplashForm->show();
    SplashForm->raise();
    SplashForm->activateWindow();
  }
}

void TForm1::FormClose() {
  sound_->Snd_Shutdown();
  // Every value was written when it changed; nothing is flushed here. The
  // store object itself lives until the window is destroyed, so a tick that
  // is still queued while the program ends never reaches a dead store.
  engine_->Gam_Stop_All_Timers();
}

void TForm1::runSkinPass() {
  skin::Gfx_Init_Skin(model_, *this, FullscreenMode);
  refreshShape();
}

void TForm1::switchPresentation() {
  FullscreenMode = !FullscreenMode;
  popup_->setChecked(ui::CheckKind::Fullscreen, FullscreenMode);
  gameMenu_->close();
  SettingsStore_->writeBool("FullscreenMode", FullscreenMode);
  const skin::Point away = skin::outOfSight(screenSize());
  move(away.x, away.y);
  const skin::SkinPassResult result = skin::Gfx_Init_Skin(model_, *this, FullscreenMode);
  refreshShape();
  // An abandoned pass leaves the window where it is, out of sight; the
  // error has been shown. Bring it back so the player can switch again.
  (void)result;
  centreOnScreen(false);
}

void TForm1::centreOnScreen(bool clampToScreen) {
  skin::Point p = skin::centredOnScreen(screenSize(), clientSize());
  if (clampToScreen) {
    p.x = std::max(p.x, 0);
    p.y = std::max(p.y, 0);
  }
  move(p.x, p.y);
}

void TForm1::switchHandheldOn() {
  engine_->state.GameMode = engine::kModeAllOn;
  engine_->Gam_Set_Mode();
}

void TForm1::clearSplashPending() { SplashPending = false; }

void TForm1::setSplashMenuChecked(bool checked) { popup_->setChecked(ui::CheckKind::Splash, checked); }

bool TForm1::Snd_Init(const QString& entry) { return sound_->Snd_Init(entry.toStdString()); }

std::uint16_t TForm1::keyCodeOf(const QKeyEvent& event) { return input::windowsKeyCode(event); }

void TForm1::openUrl(const QUrl& url) {
  if (env_.openUrl) {
    env_.openUrl(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

// ---- menu commands -----------------------------------------------------------

void TForm1::pm_0_menuPopup() {
  const bool splashDefault = SplashForm ? SplashForm->chb_splashscreen->isChecked() : true;
  popup_->setChecked(ui::CheckKind::Splash, SettingsStore_->readBool("SplashScreen", splashDefault));
  if (FullscreenMode && gameMenu_->GameMenuOpen) gameMenu_->close();
}

void TForm1::pm_1_aboutClick() {
  if (AboutForm) AboutForm->showCentred();
}

// Documents are named relative to the game's folder, the current directory.
void TForm1::openDocument(const char* fileName) {
  openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromLatin1(fileName))));
}

void TForm1::pm_2_readmeClick() { openDocument("Readme.txt"); }
void TForm1::pm_3_whatsnewClick() { openDocument("Whatsnew.txt"); }

void TForm1::pm_4_manualClick() {
  if (!ManualForm) return;
  ManualForm->show();
  ManualForm->raise();
  ManualForm->activateWindow();
}

void TForm1::pm_6_configClick() { openDocument("Config.ini"); }

void TForm1::pm_7_keysClick() {
  if (KeysForm) KeysForm->open();
}

void TForm1::pm_8_hiscoreClick() {
  engine::GameState& state = engine_->state;
  state.HiScore1 = 0;
  SettingsStore_->writeInt("HiScore1", 0);
  state.HiScore2 = 0;
  SettingsStore_->writeInt("HiScore2", 0);
  QApplication::beep();
}

void TForm1::pm_10_fullscreenClick() { switchPresentation(); }

void TForm1::pm_11_splashscreenClick() {
  const bool checked = !popup_->isChecked(ui::CheckKind::Splash);
  popup_->setChecked(ui::CheckKind::Splash, checked);
  SettingsStore_->writeBool("SplashScreen", checked);
}

void TForm1::pm_14_exitClick() { requestTermination(); }

void TForm1::btn_game_menu_topClick() { gameMenu_->btn_game_menu_topClick(); }

// ---- hints and bindings ------------------------------------------------------

void TForm1::rebuildHints() {
  const input::ButtonHints hints = input::buildHints(KeyBindings_);
  hints_ = {QString::fromStdString(hints.time), QString::fromStdString(hints.acl),
            QString::fromStdString(hints.alarm), QString::fromStdString(hints.left),
            QString::fromStdString(hints.right)};
}

QString TForm1::hintOf(ElementId element) const {
  switch (element) {
    case ElementId::btn_time_top:
      return hints_[0];
    case ElementId::btn_acl_top:
      return hints_[1];
    case ElementId::btn_alarm_top:
      return hints_[2];
    case ElementId::btn_left_top:
      return hints_[3];
    case ElementId::btn_right_top:
      return hints_[4];
    default:
      return {};
  }
}

// ---- buttons -----------------------------------------------------------------

void TForm1::btn_time_topMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_time_down();
}
void TForm1::btn_time_topMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_time_up();
}
void TForm1::btn_acl_topMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_acl_down();
}
void TForm1::btn_acl_topMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_acl_up();
}
void TForm1::btn_left_topMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_left_down();
}
void TForm1::btn_left_topMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_left_up();
}
void TForm1::btn_right_topMouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_right_down();
}
void TForm1::btn_right_topMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) engine_->Inp_right_up();
}

void TForm1::buttonDown(HandheldButton button) {
  switch (button) {
    case HandheldButton::Time:
      return engine_->Inp_time_down();
    case HandheldButton::Acl:
      return engine_->Inp_acl_down();
    case HandheldButton::Left:
      return engine_->Inp_left_down();
    case HandheldButton::Right:
      return engine_->Inp_right_down();
  }
}

void TForm1::buttonUp(HandheldButton button) {
  switch (button) {
    case HandheldButton::Time:
      return engine_->Inp_time_up();
    case HandheldButton::Acl:
      return engine_->Inp_acl_up();
    case HandheldButton::Left:
      return engine_->Inp_left_up();
    case HandheldButton::Right:
      return engine_->Inp_right_up();
  }
}

// ---- keys --------------------------------------------------------------------

void TForm1::FormKeyDown(std::uint16_t keyCode) {
  if (const auto button = KeyBindings_.buttonForKey(keyCode)) {
    switch (*button) {
      case input::Button::Time:
        return engine_->Inp_time_down();
      case input::Button::Acl:
        return engine_->Inp_acl_down();
      case input::Button::Left:
        return engine_->Inp_left_down();
      case input::Button::Right:
        return engine_->Inp_right_down();
    }
  }
}

void TForm1::FormKeyUp(std::uint16_t keyCode) {
  if (const auto button = KeyBindings_.buttonForKey(keyCode)) {
    switch (*button) {
      case input::Button::Time:
        return engine_->Inp_time_up();
      case input::Button::Acl:
        return engine_->Inp_acl_up();
      case input::Button::Left:
        return engine_->Inp_left_up();
      case input::Button::Right:
        return engine_->Inp_right_up();
    }
  }
}

void TForm1::handleKey(const QKeyEvent& event) {
  const input::KeyRepeatFilter::Result r = keyFilter_.filter(event);
  switch (r.pass) {
    case input::KeyRepeatFilter::Pass::Press:
      // The menu's shortcuts come before the handheld's keys.
      if (popup_->runShortcut(r.code)) return;
      FormKeyDown(r.code);
      return;
    case input::KeyRepeatFilter::Pass::RepeatPress:
      // A held F12 must not flip the presentation over and over.
      if (ui::menuItemForShortcut(r.code) != 0) return;
      FormKeyDown(r.code);
      return;
    case input::KeyRepeatFilter::Pass::Release:
      FormKeyUp(r.code);
      return;
    case input::KeyRepeatFilter::Pass::Nothing:
      return;
  }
}

// A key held while the window loses the keyboard would otherwise stay down
// for good: its release goes to another window.
void TForm1::releaseHeldKeys() {
  for (const std::uint16_t code : keyFilter_.releaseAll()) FormKeyUp(code);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this && isEnabled()) {
      handleKey(*static_cast<QKeyEvent*>(event));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- mouse -------------------------------------------------------------------

void TForm1::pressAt(QPoint client, QPoint global, Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;  // the popup menu takes the right button
  if (pressed_) return;
  const std::optional<ElementId> element = elementAt(model_, client.x(), client.y());
  if (!element) return;
  pressed_ = pointerTargetOf(*element);
  switch (pressed_->role) {
    case PointerRole::Button:
      buttonDown(*pressed_->button);
      break;
    case PointerRole::Drag: {
      if (FullscreenMode) break;  // the full-screen window never moves
      const lcd::Box& box = model_[*element].box;
      DragOrigin = QPoint(client.x() - box.left, client.y() - box.top);
      dragPressGlobal_ = global;
      dragWindowOrigin_ = pos();
      break;
    }
    case PointerRole::GameMenu:
    case PointerRole::None:
      break;
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  pressAt(event->position().toPoint(), event->globalPosition().toPoint(), event->button());
  event->accept();
}

// On X11 Qt delivers a quick second click as this event instead of a press.
void TForm1::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!pressed_) {
    if (event->buttons() == Qt::NoButton) updateCursor(event->position().toPoint());
    return;
  }
  if (pressed_->role == PointerRole::Drag && !FullscreenMode && (event->buttons() & Qt::LeftButton)) {
    // From the global pointer: local positions of queued events still refer
    // to where the window was before the last move.
    const QPoint moved = event->globalPosition().toPoint() - dragPressGlobal_;
    move(dragWindowOrigin_ + moved);
  }
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !pressed_) return;
  const PointerTarget target = *pressed_;
  pressed_.reset();
  const QPoint client = event->position().toPoint();
  if (target.role == PointerRole::Button) buttonUp(*target.button);
  // A click: pressed and released on the menu symbol.
  if (target.role == PointerRole::GameMenu && elementAt(model_, client.x(), client.y()) == target.element) {
    btn_game_menu_topClick();
  }
  updateCursor(client);
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  popup_->pm_0_menu->popup(event->globalPos());
}

PointerCursor TForm1::cursorAt(QPoint client) const {
  const std::optional<ElementId> element = elementAt(model_, client.x(), client.y());
  return element ? pointerTargetOf(*element).cursor : PointerCursor::Arrow;
}

void TForm1::updateCursor(QPoint client) {
  const PointerCursor cursor = cursorAt(client);
  if (cursor == cursor_) return;
  cursor_ = cursor;
  setCursor(shapeOf(cursor));
}

// ---- window events -------------------------------------------------------------

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      FormActivate();
      break;
    case QEvent::WindowDeactivate:
      releaseHeldKeys();
      break;
    case QEvent::ToolTip: {
      auto* help = static_cast<QHelpEvent*>(event);
      const std::optional<ElementId> element = elementAt(model_, help->pos().x(), help->pos().y());
      const QString hint = element ? hintOf(*element) : QString();
      if (hint.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
      } else {
        QToolTip::showText(help->globalPos(), hint, this, skin::toRect(model_[*element].box));
      }
      return true;
    }
    default:
      break;
  }
  return QWidget::event(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  // The main window's close ends the program, whatever dialogs are open.
  endEventLoop();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  canvas_->setGeometry(rect());
}

// ---- SkinHost ----------------------------------------------------------------

std::filesystem::path TForm1::configPath() {
  if (!env_.configPath.empty()) return env_.configPath;
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "Config.ini";
}

skin::Size TForm1::screenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {skin::kInitialClientSize.width, skin::kInitialClientSize.height};
  const QSize s = screen->geometry().size();
  return {s.width(), s.height()};
}

skin::Size TForm1::clientSize() { return {width(), height()}; }

void TForm1::setClientHeight(int height) { resize(width(), std::clamp(height, 0, kMaxClientSide)); }

void TForm1::setClientWidth(int width) { resize(std::clamp(width, 0, kMaxClientSide), height()); }

void TForm1::setBackgroundColour(skin::Colour colour) {
  canvas_->compositor().setBackground(toQColor(colour));
  canvas_->invalidateAll();
}

void TForm1::setKeyColour(skin::Colour colour) { keyColour_ = colour; }

void TForm1::setColourKeyEnabled(bool on) { colourKeyOn_ = on; }

void TForm1::setBackdropStretch(bool stretch) {
  canvas_->compositor().setBackdropStretch(stretch);
  canvas_->invalidateAll();
}

void TForm1::showError(std::string_view text) {
  if (env_.showError) {
    env_.showError(text);
    return;
  }
  // No parent: the main window may be out of sight, and the box must not be.
  sound::showErrorBox(nullptr, text);
}

void TForm1::requestTermination() {
  if (env_.requestTermination) {
    env_.requestTermination();
    return;
  }
  endEventLoop();
}

// ---- window shape --------------------------------------------------------------

// The composed face decides the shape: every pixel of exactly the key colour
// is cut out, so the desktop shows through around the handheld.
void TForm1::refreshShape() {
  staleShape_ = QRegion();
  if (!colourKeyOn_) {
    applyShape(QRegion());
    return;
  }
  const QColor background = canvas_->compositor().background();
  skin::FaceLook look;
  look.client = clientSize();
  look.background = {static_cast<std::uint8_t>(background.red()), static_cast<std::uint8_t>(background.green()),
                     static_cast<std::uint8_t>(background.blue())};
  look.backdropStretch = canvas_->compositor().backdropStretch();
  applyShape(opaqueRegion(skin::composeFace(model_, look), toQColor(keyColour_)));
}

// Segments change inside the face almost always; the shape is only redone
// where something changed, and only set when it differs.
void TForm1::reshapeStale(const QRegion& stale) {
  if (!colourKeyOn_) return;
  staleShape_ += stale;
  if (shapeQueued_) return;
  shapeQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        shapeQueued_ = false;
        const QRegion area = std::exchange(staleShape_, QRegion()).intersected(rect());
        if (!colourKeyOn_ || area.isEmpty()) return;
        const QRect bounds = area.boundingRect();
        QImage part(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        part.fill(toQColor(keyColour_));
        {
          QPainter painter(&part);
          painter.translate(-bounds.topLeft());
          canvas_->compositor().paint(painter, model_, area);
        }
        const QRegion opaque = opaqueRegion(part, toQColor(keyColour_), bounds.topLeft()).intersected(area);
        applyShape(shape_.subtracted(area).united(opaque));
      },
      Qt::QueuedConnection);
}

void TForm1::applyShape(const QRegion& shape) {
  if (shape == shape_ && !(shape.isEmpty() && !mask().isEmpty())) return;
  shape_ = shape;
  if (shape_.isEmpty()) {
    clearMask();
  } else {
    setMask(shape_);
  }
}

}  // namespace mk::app
