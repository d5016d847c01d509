#include "ui/keys_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "input/key_table.h"
#include "input/qt_keys.h"
#include "ui/dialog_kit.h"
#include "ui/dialog_window.h"

namespace mk::ui {

namespace {

namespace vk = input::vk;

const QColor kCaption(Qt::white);
const QColor kDuplicate(255, 0, 0);

QLabel* caption(QWidget* parent, const char* text, QRect box, Qt::Alignment align, QFont font) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setGeometry(box);
  label->setAlignment(align | Qt::AlignTop);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kCaption);
  label->setPalette(palette);
  return label;
}

QComboBox* keyList(QWidget* parent, QRect box) {
  auto* list = new QComboBox(parent);
  list->setGeometry(box);
  list->setFont(fontOf(TextStyle::Label));
  QPalette palette = list->palette();
  for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window}) palette.setColor(role, Qt::white);
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) palette.setColor(role, Qt::black);
  list->setPalette(palette);
  return list;
}

void setCaptionColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

TKeysForm::TKeysForm(input::KeyBindings& bindings, settings::SettingsStore& store, QWidget* mainWindow,
                     std::function<void()> bindingsChanged)
    : QWidget(nullptr, kCloseOnlyDialog | Qt::MSWindowsFixedSizeDialogHint),
      bindings_(bindings),
      store_(store),
      mainWindow_(mainWindow),
      bindingsChanged_(std::move(bindingsChanged)) {
  setObjectName(QStringLiteral("KeysForm"));
  setWindowTitle(QStringLiteral("Key settings"));
  setFixedSize(448, 131);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDialogBackground);
  setPalette(palette);

  la_main = caption(this, "Main operations", {8, 8, 104, 13}, Qt::AlignLeft, fontOf(TextStyle::SystemHeading));
  la_controls = caption(this, "Game controls", {336, 8, 104, 13}, Qt::AlignRight, fontOf(TextStyle::SystemHeading));
  cb_1 = keyList(this, {8, 29, 120, 21});
  la_1 = caption(this, "Time", {136, 33, 72, 14}, Qt::AlignLeft, fontOf(TextStyle::StrongLabel));
  cb_2 = keyList(this, {8, 61, 120, 21});
  la_2 = caption(this, "ACL", {136, 65, 72, 14}, Qt::AlignLeft, fontOf(TextStyle::StrongLabel));
  la_4 = caption(this, "Left", {240, 33, 72, 14}, Qt::AlignRight, fontOf(TextStyle::StrongLabel));
  cb_3 = keyList(this, {320, 29, 120, 21});
  la_3 = caption(this, "Right", {240, 65, 72, 14}, Qt::AlignRight, fontOf(TextStyle::StrongLabel));
  cb_4 = keyList(this, {320, 61, 120, 21});
  btn_accept = new QPushButton(QStringLiteral("- ACCEPT -"), this);
  btn_accept->setGeometry(183, 98, 82, 25);
  btn_accept->setFont(fontOf(TextStyle::SystemButton));
  btn_accept->setCursor(Qt::PointingHandCursor);

  const std::array<std::pair<QObject*, const char*>, 11> names{{{la_main, "la_main"},
                                                                 {la_controls, "la_controls"},
                                                                 {cb_1, "cb_1"},
                                                                 {la_1, "la_1"},
                                                                 {cb_2, "cb_2"},
                                                                 {la_2, "la_2"},
                                                                 {la_4, "la_4"},
                                                                 {cb_3, "cb_3"},
                                                                 {la_3, "la_3"},
                                                                 {cb_4, "cb_4"},
                                                                 {btn_accept, "btn_accept"}}};
  for (auto [object, name] : names) object->setObjectName(QString::fromLatin1(name));

  setTabOrder(cb_1, cb_2);
  setTabOrder(cb_2, cb_3);
  setTabOrder(cb_3, cb_4);
  setTabOrder(cb_4, btn_accept);
  for (QComboBox* list : lists()) list->installEventFilter(this);
  btn_accept->installEventFilter(this);
  connect(btn_accept, &QPushButton::clicked, this, [this] { btn_acceptClick(); });

  FormCreate();
}

void TKeysForm::FormCreate() {
  for (const input::KeyEntry& key : input::KeyNames) cb_1->addItem(QString::fromLatin1(key.list().data(), qsizetype(key.list().size())));
  for (QComboBox* list : {cb_2, cb_3, cb_4})
    for (int i = 0; i < cb_1->count(); ++i) list->addItem(cb_1->itemText(i));
  for (int n = 1; n <= input::kBindingCount; ++n) {
    const int index = bindings_[n].KeyIndex;
    // A hand-edited index outside 1..44 selects nothing.
    lists()[static_cast<std::size_t>(n - 1)]->setCurrentIndex(input::isKeyIndex(index) ? index - 1 : -1);
  }
  for (QComboBox* list : lists())
    connect(list, &QComboBox::currentIndexChanged, this, [this] { cbChange(); });
  cbChange();
}

void TKeysForm::open() {
  if (mainWindow_) keepAbove(*this, *mainWindow_);
  centreOnScreen(*this, mainWindow_);
  show();
  raise();
  activateWindow();
  if (mainWindow_) mainWindow_->setEnabled(false);
}

bool TKeysForm::CheckKeys() {
  const auto boxes = lists();
  const auto labels = captions();
  for (QLabel* label : labels) setCaptionColour(label, kCaption);
  bool duplicate = false;
  for (std::size_t j = 0; j < boxes.size(); ++j)
    for (std::size_t k = 0; k < boxes.size(); ++k)
      if (j != k && boxes[j]->currentText() == boxes[k]->currentText()) {
        setCaptionColour(labels[j], kDuplicate);
        setCaptionColour(labels[k], kDuplicate);
        duplicate = true;
      }
  return duplicate;
}

void TKeysForm::cbChange() {
  const bool duplicate = CheckKeys();
  // A list left without a key (a hand-edited index) cannot be accepted
  // either: only indices 1..44 are ever stored.
  bool complete = true;
  for (QComboBox* list : lists()) complete = complete && list->currentIndex() >= 0;
  btn_accept->setEnabled(!duplicate && complete);
}

void TKeysForm::btn_acceptClick() {
  if (!btn_accept->isEnabled()) return;
  for (int n = 1; n <= input::kBindingCount; ++n)
    bindings_.rebind(store_, n, lists()[static_cast<std::size_t>(n - 1)]->currentIndex() + 1);
  if (bindingsChanged_) bindingsChanged_();
  leave();
}

void TKeysForm::leave() {
  if (mainWindow_) mainWindow_->setEnabled(true);
  hide();
}

bool TKeysForm::FormKeyDown(std::uint16_t key) {
  if (key == vk::kReturn) {
    if (btn_accept->isEnabled()) btn_acceptClick();
    return true;
  }
  if (key == vk::kEscape) {
    leave();
    return true;
  }
  return false;
}

bool TKeysForm::eventFilter(QObject* watched, QEvent* event) {
  // The dialog sees the keys before its lists and its button do.
  if (event->type() == QEvent::KeyPress && FormKeyDown(input::windowsKeyCode(*static_cast<QKeyEvent*>(event))))
    return true;
  return QWidget::eventFilter(watched, event);
}

void TKeysForm::keyPressEvent(QKeyEvent* event) {
  if (!FormKeyDown(input::windowsKeyCode(*event))) QWidget::keyPressEvent(event);
}

void TKeysForm::FormActivate() { cb_1->setFocus(Qt::ActiveWindowFocusReason); }

void TKeysForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  restoreIfMinimised(*this, *event);
  QWidget::changeEvent(event);
}

void TKeysForm::showEvent(QShowEvent* event) {
  FormActivate();
  QWidget::showEvent(event);
}

void TKeysForm::closeEvent(QCloseEvent* event) {
  // The title bar's close, or the window manager's (Alt+F4): the main window
  // must not stay disabled, so this is Escape.
  event->ignore();
  leave();
}

}  // namespace mk::ui
