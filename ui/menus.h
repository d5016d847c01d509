#pragma once

#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_table.h"

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace mk::ui {

// The commands of the popup menu and the in-game menu, implemented by the
// main window. Each handler ignores which control invoked it.
class MenuCommands {
 public:
  virtual ~MenuCommands() = default;
  // Runs each time the popup menu opens, before it is shown.
  virtual void pm_0_menuPopup() = 0;
  virtual void pm_1_aboutClick() = 0;
  virtual void pm_2_readmeClick() = 0;
  virtual void pm_3_whatsnewClick() = 0;
  virtual void pm_4_manualClick() = 0;
  virtual void pm_6_configClick() = 0;
  virtual void pm_7_keysClick() = 0;
  virtual void pm_8_hiscoreClick() = 0;
  virtual void pm_10_fullscreenClick() = 0;
  virtual void pm_11_splashscreenClick() = 0;
  virtual void pm_14_exitClick() = 0;
};

// Which state an item's check mark shows.
enum class CheckKind { None, Fullscreen, Splash };

struct MenuItem {
  std::string_view objectName;
  std::string_view caption;  // shown exactly; "-" for a separator
  std::uint16_t shortcut;    // the program's key code, 0 for none
  CheckKind check;
  void (MenuCommands::*handler)();  // null for a separator
  constexpr bool separator() const { return handler == nullptr; }
};

// The 13 items in menu order (the object names skip 12). The first is the
// popup's default item.
inline constexpr std::array<MenuItem, 13> MenuItems{{
    {"pm_1_about", "About...", input::vk::function(1), CheckKind::None, &MenuCommands::pm_1_aboutClick},
    {"pm_2_readme", "View 'Readme.txt'", input::vk::function(2), CheckKind::None, &MenuCommands::pm_2_readmeClick},
    {"pm_3_whatsnew", "View 'Whatsnew.txt'", input::vk::function(3), CheckKind::None,
     &MenuCommands::pm_3_whatsnewClick},
    {"pm_4_manual", "View manual", input::vk::function(4), CheckKind::None, &MenuCommands::pm_4_manualClick},
    {"pm_5_n1", "-", 0, CheckKind::None, nullptr},
    {"pm_6_config", "Edit configuration file", 0, CheckKind::None, &MenuCommands::pm_6_configClick},
    {"pm_7_keys", "Key settings", 0, CheckKind::None, &MenuCommands::pm_7_keysClick},
    {"pm_8_hiscore", "Reset Hiscores", 0, CheckKind::None, &MenuCommands::pm_8_hiscoreClick},
    {"pm_9_n2", "-", 0, CheckKind::None, nullptr},
    {"pm_10_fullscreen", "Display in fullscreen mode", input::vk::kF12, CheckKind::Fullscreen,
     &MenuCommands::pm_10_fullscreenClick},
    {"pm_11_splashscreen", "Display splash screen at startup", 0, CheckKind::Splash,
     &MenuCommands::pm_11_splashscreenClick},
    {"pm_13_n3", "-", 0, CheckKind::None, nullptr},
    {"pm_14_exit", "Exit", input::vk::kEscape, CheckKind::None, &MenuCommands::pm_14_exitClick},
}};
static_assert(MenuItems.size() == 13);
static_assert(MenuItems[4].separator() && MenuItems[8].separator() && MenuItems[11].separator());

// "F1".."F12", "Esc", or empty.
std::string shortcutText(std::uint16_t keyCode);

// The item whose shortcut is keyCode (1..13), or 0. The main window asks this
// before its handheld bindings see a key, for a first press only (not an
// auto-repeat: holding Escape in a dialog must not end the program).
int menuItemForShortcut(std::uint16_t keyCode);

// Runs item number (1..13) on commands; nothing for a separator.
void runMenuItem(int number, MenuCommands& commands);

// pm_0_menu, the main window's popup menu: the captions exactly (no
// accelerator letters), shortcut texts beside them, the first item in bold,
// every item enabled. Choosing an item runs its handler; the check marks
// change only through setChecked.
class PopupMenu {
 public:
  PopupMenu(QWidget* owner, MenuCommands& commands);
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  QMenu* pm_0_menu = nullptr;  // owned by owner
  QAction* item(int number) const { return actions_.at(static_cast<std::size_t>(number - 1)); }

  void setChecked(CheckKind kind, bool checked);
  bool isChecked(CheckKind kind) const;

  // Runs the item whose shortcut is keyCode; false when it is none.
  bool runShortcut(std::uint16_t keyCode);

 private:
  MenuCommands& commands_;
  std::array<QAction*, MenuItems.size()> actions_{};
};

// The in-game menu of the full-screen presentation: 13 text rows over the
// translucent background picture, one per menu item, built when it opens and
// disposed of when it closes. The background's visible box is reported
// through setBackgroundBox: the menu button's size closed, 256 x 448 open.
class GameMenu {
 public:
  using CheckState = std::function<bool(CheckKind)>;
  using BackgroundBox = std::function<void(int width, int height)>;

  // window: the main window, which owns the rows.
  GameMenu(QWidget* window, MenuCommands& commands, CheckState isChecked, BackgroundBox setBackgroundBox);
  ~GameMenu();
  GameMenu(const GameMenu&) = delete;
  GameMenu& operator=(const GameMenu&) = delete;

  bool GameMenuOpen = false;

  // The menu symbol was clicked: open or close.
  void btn_game_menu_topClick();
  // GameMenuOpen := false, then Vid_Display_Game_Menu. Harmless when closed.
  void close();
  // Builds the rows when GameMenuOpen, disposes of them otherwise.
  void Vid_Display_Game_Menu();

  // The rows of an open menu, row i standing for item i (empty when closed).
  std::vector<QLabel*> GameMenuRows() const;

  void la_menu_itemMouseEnter(QObject* sender);
  void la_menu_itemMouseLeave(QObject* sender);
  void la_menu_itemMouseUp(Qt::MouseButton button);
  void la_menu_itemClick(int number);

  // Worked from a game controller: one row at a time is selected, and shows
  // as a row under the pointer does (the pointer selects the row it enters).
  // Opens the menu with its first row selected (the menu symbol opens it
  // with none).
  void openAtFirstRow();
  // The next item row up (-1) or down (+1), past the separators and round
  // from the last row to the first; the first row when none is selected.
  void moveSelection(int step);
  // Closes the menu, then runs the selected item, as a click on its row
  // does. Nothing without a selection.
  void runSelection();
  // 1..13, or 0 for none.
  int selectedRow() const { return selected_; }

  // Row text: three spaces, the caption, " [V]" when checked.
  static std::string rowText(const MenuItem& item, bool checked);

 private:
  QWidget* window_;
  MenuCommands& commands_;
  CheckState isChecked_;
  BackgroundBox setBackgroundBox_;
  std::vector<QPointer<QLabel>> rows_;
  int selected_ = 0;

  int rowNumberOf(QObject* row) const;
  void select(int number);
};

}  // namespace mk::ui
