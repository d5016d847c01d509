#include "ui/menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "events.h"

using namespace mk::ui;

namespace {

// Records which commands ran; a test may hang an extra action on one.
class RecordingCommands : public MenuCommands {
 public:
  void pm_0_menuPopup() override { record("popup"); }
  void pm_1_aboutClick() override { record("about"); }
  void pm_2_readmeClick() override { record("readme"); }
  void pm_3_whatsnewClick() override { record("whatsnew"); }
  void pm_4_manualClick() override { record("manual"); }
  void pm_6_configClick() override { record("config"); }
  void pm_7_keysClick() override { record("keys"); }
  void pm_8_hiscoreClick() override { record("hiscore"); }
  void pm_10_fullscreenClick() override { record("fullscreen"); }
  void pm_11_splashscreenClick() override { record("splash"); }
  void pm_14_exitClick() override { record("exit"); }

  std::vector<std::string> ran;
  std::function<void(const std::string&)> also;

 private:
  void record(const std::string& name) {
    ran.push_back(name);
    if (also) also(name);
  }
};

using Names = std::vector<std::string>;

void flushDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

// The main window hands these keys to the menu before its bindings see them.
TEST(MenuItems, ShortcutKeysFindTheirItems) {
  EXPECT_EQ(menuItemForShortcut(112), 1);
  EXPECT_EQ(menuItemForShortcut(113), 2);
  EXPECT_EQ(menuItemForShortcut(114), 3);
  EXPECT_EQ(menuItemForShortcut(115), 4);
  EXPECT_EQ(menuItemForShortcut(123), 10);
  EXPECT_EQ(menuItemForShortcut(27), 13);
  for (std::uint16_t other : {0, 13, 37, 49, 116, 122}) EXPECT_EQ(menuItemForShortcut(other), 0) << other;
}

TEST(PopupMenu, ShowsCaptionsExactlyWithBoldDefaultAndShortcutTexts) {
  QWidget window;
  RecordingCommands commands;
  PopupMenu popup(&window, commands);
  const QList<QAction*> actions = popup.pm_0_menu->actions();
  ASSERT_EQ(actions.size(), 13);
  EXPECT_EQ(popup.pm_0_menu->objectName(), "pm_0_menu");
  EXPECT_EQ(actions[0]->text(), "About...\tF1");
  EXPECT_EQ(actions[3]->text(), "View manual\tF4");
  EXPECT_EQ(actions[5]->text(), "Edit configuration file");
  EXPECT_EQ(actions[9]->text(), "Display in fullscreen mode\tF12");
  EXPECT_EQ(actions[12]->text(), "Exit\tEsc");
  EXPECT_EQ(actions[12]->objectName(), "pm_14_exit");
  for (int separator : {4, 8, 11}) EXPECT_TRUE(actions[separator]->isSeparator());
  EXPECT_EQ(popup.pm_0_menu->defaultAction(), actions[0]);
  for (QAction* action : actions) EXPECT_TRUE(action->isEnabled());
  EXPECT_TRUE(actions[10]->isCheckable());
  EXPECT_FALSE(actions[0]->isCheckable());
}

// The handler owns the check mark: choosing the item must not flip it behind
// the handler's back (it would end up inverted twice).
TEST(PopupMenu, ItemsRunTheirHandlersAndCheckMarksFollowOnlySetChecked) {
  QWidget window;
  RecordingCommands commands;
  PopupMenu popup(&window, commands);
  popup.setChecked(CheckKind::Fullscreen, true);
  EXPECT_TRUE(popup.item(10)->isChecked());
  EXPECT_FALSE(popup.isChecked(CheckKind::Splash));

  popup.item(10)->trigger();
  EXPECT_TRUE(popup.item(10)->isChecked());
  popup.item(7)->trigger();
  emit popup.pm_0_menu->aboutToShow();
  EXPECT_TRUE(popup.runShortcut(27));
  EXPECT_FALSE(popup.runShortcut(65));
  EXPECT_EQ(commands.ran, (Names{"fullscreen", "keys", "popup", "exit"}));
}

struct GameMenuRig {
  QWidget window;
  RecordingCommands commands;
  bool fullscreen = true;
  bool splash = false;
  std::vector<std::pair<int, int>> boxes;
  GameMenu menu{&window, commands,
                [this](CheckKind kind) { return kind == CheckKind::Fullscreen ? fullscreen : splash; },
                [this](int w, int h) { boxes.emplace_back(w, h); }};
  GameMenuRig() {
    window.resize(800, 600);
    window.show();
  }
  QLabel* row(int i) { return menu.GameMenuRows().at(std::size_t(i - 1)); }
};

TEST(GameMenu, OpensThirteenRowsWithCaptionsAndCheckMarks) {
  GameMenuRig rig;
  rig.menu.btn_game_menu_topClick();
  ASSERT_TRUE(rig.menu.GameMenuOpen);
  ASSERT_EQ(rig.menu.GameMenuRows().size(), 13u);
  EXPECT_EQ(rig.boxes.back(), std::make_pair(256, 448));
  EXPECT_EQ(rig.row(1)->text(), "   About...");
  EXPECT_EQ(rig.row(1)->geometry(), QRect(0, 32, 256, 32));
  EXPECT_EQ(rig.row(13)->geometry(), QRect(0, 416, 256, 32));
  EXPECT_EQ(rig.row(5)->text(), "");
  EXPECT_EQ(rig.row(10)->text(), "   Display in fullscreen mode [V]");
  EXPECT_EQ(rig.row(11)->text(), "   Display splash screen at startup");
  EXPECT_EQ(rig.row(13)->text(), "   Exit");
  EXPECT_EQ(rig.row(2)->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_FALSE(rig.row(2)->autoFillBackground());

  // Clicking the symbol again closes it and shrinks the picture back.
  rig.menu.btn_game_menu_topClick();
  EXPECT_FALSE(rig.menu.GameMenuOpen);
  EXPECT_TRUE(rig.menu.GameMenuRows().empty());
  EXPECT_EQ(rig.boxes.back(), std::make_pair(36, 32));
  rig.menu.close();
  rig.menu.close();
  flushDeferredDeletes();
  EXPECT_TRUE(rig.window.findChildren<QLabel*>().isEmpty());

  rig.splash = true;
  rig.menu.btn_game_menu_topClick();
  EXPECT_EQ(rig.row(11)->text(), "   Display splash screen at startup [V]");
}

TEST(GameMenu, HoverHighlightsItemRowsButNotSeparators) {
  GameMenuRig rig;
  rig.menu.btn_game_menu_topClick();
  for (int i : {7, 9}) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(rig.row(i), &enter);
  }
  EXPECT_TRUE(rig.row(7)->autoFillBackground());
  EXPECT_FALSE(rig.row(9)->autoFillBackground());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(rig.row(7), &leave);
  EXPECT_FALSE(rig.row(7)->autoFillBackground());
}

// A click runs the item, then the release closes the menu; a separator
// does nothing at all.
TEST(GameMenu, ClickRunsTheItemThenClosesAndSeparatorsAreInert) {
  GameMenuRig rig;
  rig.menu.btn_game_menu_topClick();
  mk::test::click(rig.row(5), QPoint(10, 10));
  EXPECT_TRUE(rig.commands.ran.empty());
  EXPECT_TRUE(rig.menu.GameMenuOpen);

  QPointer<QLabel> keys = rig.row(7);
  mk::test::click(keys, QPoint(10, 10));
  EXPECT_EQ(rig.commands.ran, (Names{"keys"}));
  EXPECT_FALSE(rig.menu.GameMenuOpen);
  EXPECT_TRUE(rig.menu.GameMenuRows().empty());
  EXPECT_FALSE(keys.isNull());  // still alive until its event is over
  flushDeferredDeletes();
  EXPECT_TRUE(keys.isNull());

  // The right button is left to the window (its popup menu).
  rig.menu.btn_game_menu_topClick();
  mk::test::click(rig.row(1), QPoint(10, 10), Qt::RightButton);
  EXPECT_TRUE(rig.menu.GameMenuOpen);
  EXPECT_EQ(rig.commands.ran, (Names{"keys"}));
}

// The full-screen switch closes the in-game menu from inside the row's own
// click; the row must survive its event and no row may remain.
TEST(GameMenu, HandlerThatClosesOrDestroysTheMenuFromItsOwnRowIsSafe) {
  GameMenuRig rig;
  rig.commands.also = [&](const std::string& name) {
    if (name == "fullscreen") rig.menu.close();
  };
  rig.menu.btn_game_menu_topClick();
  mk::test::click(rig.row(10), QPoint(10, 10));
  EXPECT_EQ(rig.commands.ran, (Names{"fullscreen"}));
  EXPECT_FALSE(rig.menu.GameMenuOpen);
  flushDeferredDeletes();
  EXPECT_TRUE(rig.window.findChildren<QLabel*>().isEmpty());

  QWidget window;
  RecordingCommands commands;
  auto menu = std::make_unique<GameMenu>(&window, commands, nullptr, nullptr);
  menu->btn_game_menu_topClick();
  QLabel* exitRow = menu->GameMenuRows().back();
  commands.also = [&](const std::string&) { menu.reset(); };
  mk::test::click(exitRow, QPoint(10, 10));
  EXPECT_EQ(commands.ran, (Names{"exit"}));
  flushDeferredDeletes();
  EXPECT_TRUE(window.findChildren<QLabel*>().isEmpty());
}
