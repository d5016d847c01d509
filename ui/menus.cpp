#include "ui/menus.h"

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>
#include <utility>

#include "skin/gfxinit.h"
#include "ui/dialog_kit.h"
#include "ui/texts.h"

namespace mk::ui {

namespace {

namespace vk = input::vk;

constexpr int kRowHeight = 32;
constexpr int kRowWidth = 256;
constexpr int kOpenHeight = kRowHeight * (static_cast<int>(MenuItems.size()) + 1);

// One row of the in-game menu. A separator row swallows the left and middle
// buttons without reacting; the right button goes on to the window, whose
// popup menu closes the in-game menu.
class GameMenuRow final : public QLabel {
 public:
  GameMenuRow(QWidget* parent, GameMenu* menu, int number) : QLabel(parent), menu_(menu), number_(number) {}
  void detach() { menu_ = nullptr; }

 protected:
  void enterEvent(QEnterEvent* event) override {
    if (menu_ && active()) menu_->la_menu_itemMouseEnter(this);
    QLabel::enterEvent(event);
  }
  void leaveEvent(QEvent* event) override {
    if (menu_ && active()) menu_->la_menu_itemMouseLeave(this);
    QLabel::leaveEvent(event);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton) return event->ignore();
    event->accept();
    if (event->button() == Qt::LeftButton) pressed_ = true;
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton) return event->ignore();
    event->accept();
    const bool click = event->button() == Qt::LeftButton && pressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    if (!menu_ || !active()) return;
    // The click runs the item, then the release closes the menu. Either may
    // dispose of this row; disposal is deferred, so the row outlives this call.
    if (click) menu_->la_menu_itemClick(number_);
    if (menu_) menu_->la_menu_itemMouseUp(event->button());
  }

 private:
  bool active() const { return !MenuItems[static_cast<std::size_t>(number_ - 1)].separator(); }

  GameMenu* menu_;
  int number_;
  bool pressed_ = false;
};

}  // namespace

std::string shortcutText(std::uint16_t keyCode) {
  if (keyCode >= vk::kF1 && keyCode <= vk::kF12) return "F" + std::to_string(keyCode - vk::kF1 + 1);
  if (keyCode == vk::kEscape) return "Esc";
  return {};
}

int menuItemForShortcut(std::uint16_t keyCode) {
  if (keyCode == 0) return 0;
  for (std::size_t i = 0; i < MenuItems.size(); ++i)
    if (MenuItems[i].shortcut == keyCode) return static_cast<int>(i + 1);
  return 0;
}

void runMenuItem(int number, MenuCommands& commands) {
  if (number < 1 || number > static_cast<int>(MenuItems.size())) return;
  const MenuItem& item = MenuItems[static_cast<std::size_t>(number - 1)];
  if (item.handler) (commands.*item.handler)();
}

PopupMenu::PopupMenu(QWidget* owner, MenuCommands& commands) : commands_(commands) {
  pm_0_menu = new QMenu(owner);
  pm_0_menu->setObjectName(QStringLiteral("pm_0_menu"));
  for (std::size_t i = 0; i < MenuItems.size(); ++i) {
    const MenuItem& entry = MenuItems[i];
    QAction* action = nullptr;
    if (entry.separator()) {
      action = pm_0_menu->addSeparator();
    } else {
      // '&' would mark an accelerator letter; the captions are shown as they are.
      QString text = toQString(entry.caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
      // The shortcut is only shown here: the main window takes the keys itself
      // (menuItemForShortcut), before its handheld bindings.
      if (entry.shortcut) text += QLatin1Char('\t') + QString::fromStdString(shortcutText(entry.shortcut));
      action = pm_0_menu->addAction(text);
      action->setCheckable(entry.check != CheckKind::None);
      const int number = static_cast<int>(i + 1);
      QObject::connect(action, &QAction::triggered, pm_0_menu, [this, action, number] {
        // Qt flips a checkable item on a click; the handler owns the mark.
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        runMenuItem(number, commands_);
      });
    }
    action->setObjectName(toQString(entry.objectName));
    action->setEnabled(true);
    actions_[i] = action;
  }
  pm_0_menu->setDefaultAction(actions_[0]);
  QObject::connect(pm_0_menu, &QMenu::aboutToShow, pm_0_menu, [this] { commands_.pm_0_menuPopup(); });
}

void PopupMenu::setChecked(CheckKind kind, bool checked) {
  for (std::size_t i = 0; i < MenuItems.size(); ++i)
    if (kind != CheckKind::None && MenuItems[i].check == kind) actions_[i]->setChecked(checked);
}

bool PopupMenu::isChecked(CheckKind kind) const {
  for (std::size_t i = 0; i < MenuItems.size(); ++i)
    if (kind != CheckKind::None && MenuItems[i].check == kind) return actions_[i]->isChecked();
  return false;
}

bool PopupMenu::runShortcut(std::uint16_t keyCode) {
  const int number = menuItemForShortcut(keyCode);
  if (number == 0) return false;
  runMenuItem(number, commands_);
  return true;
}

GameMenu::GameMenu(QWidget* window, MenuCommands& commands, CheckState isChecked, BackgroundBox setBackgroundBox)
    : window_(window),
      commands_(commands),
      isChecked_(std::move(isChecked)),
      setBackgroundBox_(std::move(setBackgroundBox)) {}

GameMenu::~GameMenu() {
  for (const QPointer<QLabel>& row : rows_)
    if (row) {
      static_cast<GameMenuRow*>(row.data())->detach();
      row->deleteLater();
    }
}

std::string GameMenu::rowText(const MenuItem& item, bool checked) {
  return "   " + std::string(item.caption) + (checked ? " [V]" : "");
}

void GameMenu::btn_game_menu_topClick() {
  GameMenuOpen = !GameMenuOpen;
  Vid_Display_Game_Menu();
}

void GameMenu::close() {
  GameMenuOpen = false;
  Vid_Display_Game_Menu();
}

void GameMenu::Vid_Display_Game_Menu() {
  // Disposal is deferred: the row whose click closed the menu is still
  // handling that event.
  for (const QPointer<QLabel>& row : rows_)
    if (row) {
      static_cast<GameMenuRow*>(row.data())->detach();
      row->hide();
      row->deleteLater();
    }
  rows_.clear();
  selected_ = 0;

  if (!GameMenuOpen) {
    if (setBackgroundBox_) setBackgroundBox_(skin::kGameMenuButtonSize.width, skin::kGameMenuButtonSize.height);
    return;
  }

  // A 16-pixel line height: Arial's em is about 7/8 of its line.
  const QFont font = fontOf(TextStyle::MenuRow);
  for (std::size_t i = 0; i < MenuItems.size(); ++i) {
    const MenuItem& item = MenuItems[i];
    auto* row = new GameMenuRow(window_, this, static_cast<int>(i + 1));
    row->setObjectName(QStringLiteral("la_menu_item_%1").arg(i + 1));
    row->setGeometry(0, kRowHeight * static_cast<int>(i + 1), kRowWidth, kRowHeight);
    row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->setAutoFillBackground(false);
    if (!item.separator()) {
      row->setFont(font);
      QPalette palette = row->palette();
      palette.setColor(QPalette::WindowText, Qt::white);
      palette.setColor(QPalette::Window, Qt::black);
      row->setPalette(palette);
      const bool checked = item.check != CheckKind::None && isChecked_ && isChecked_(item.check);
      row->setText(QString::fromStdString(rowText(item, checked)));
      row->setCursor(Qt::PointingHandCursor);
      row->setEnabled(true);
    }
    row->raise();
    row->show();
    rows_.emplace_back(row);
  }
  if (setBackgroundBox_) setBackgroundBox_(kRowWidth, kOpenHeight);
}

std::vector<QLabel*> GameMenu::GameMenuRows() const {
  std::vector<QLabel*> rows;
  for (const QPointer<QLabel>& row : rows_)
    if (row) rows.push_back(row.data());
  return rows;
}

int GameMenu::rowNumberOf(QObject* row) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i] == row) return static_cast<int>(i + 1);
  return 0;
}

void GameMenu::select(int number) {
  selected_ = number;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i]) rows_[i]->setAutoFillBackground(static_cast<int>(i + 1) == selected_);
}

void GameMenu::la_menu_itemMouseEnter(QObject* sender) {
  if (const int number = rowNumberOf(sender)) select(number);
}

void GameMenu::la_menu_itemMouseLeave(QObject* sender) {
  if (const int number = rowNumberOf(sender); number != 0 && number == selected_) select(0);
}

void GameMenu::openAtFirstRow() {
  GameMenuOpen = true;
  Vid_Display_Game_Menu();
  select(1);
}

void GameMenu::moveSelection(int step) {
  if (!GameMenuOpen || rows_.empty()) return;
  const int count = static_cast<int>(MenuItems.size());
  if (selected_ == 0) {
    select(1);
    return;
  }
  int number = selected_;
  do {
    number = (number - 1 + step + count) % count + 1;
  } while (MenuItems[static_cast<std::size_t>(number - 1)].separator());
  select(number);
}

void GameMenu::runSelection() {
  const int number = selected_;
  if (!GameMenuOpen || number == 0) return;
  // Closed first: the item may open a dialog, switch the presentation or
  // end the program, and nothing of the menu is used after it.
  close();
  la_menu_itemClick(number);
}

void GameMenu::la_menu_itemMouseUp(Qt::MouseButton button) {
  if (button == Qt::LeftButton) close();
}

void GameMenu::la_menu_itemClick(int number) { runMenuItem(number, commands_); }

}  // namespace mk::ui
