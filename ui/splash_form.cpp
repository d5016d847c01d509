#include "ui/splash_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include "input/key_table.h"
#include "input/qt_keys.h"
#include "settings/persistent_settings.h"
#include "sound/sound_output.h"
#include "ui/art/art_paths.h"
#include "ui/art_pictures.h"
#include "ui/dialog_kit.h"
#include "ui/dialog_window.h"
#include "ui/texts.h"

namespace mk::ui {
namespace {

namespace vk = input::vk;

constexpr QColor kLightBlue{58, 110, 165};
constexpr QColor kLinkColour{24, 82, 148};

// The artwork when the resources have it, otherwise a plain drawing of the
// same size so the dialog still reads.
template <typename Draw>
QPixmap artwork(const char* resource, QSize size, Draw draw) {
  QPixmap art = artPixmap(resource);
  if (!art.isNull()) return art;
  QPixmap standIn(size);
  standIn.fill(Qt::transparent);
  QPainter p(&standIn);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p, QRect(QPoint(0, 0), size));
  return standIn;
}

QPixmap backgroundPicture() {
  return artwork(art::kSplashBackdrop, {460, 420}, [](QPainter& p, QRect r) {
    p.fillRect(r, Qt::white);
    p.fillRect(0, 0, r.width(), 52, kDialogBackground);
    p.fillRect(0, 52, r.width(), 168, kLightBlue);
    p.fillRect(0, 380, r.width(), r.height() - 380, kDialogBackground);
  });
}

QPixmap boxPicture() {
  return artwork(art::kSplashBox, {220, 116}, [](QPainter& p, QRect r) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(228, 196, 84));
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 6, 6);
    p.setBrush(QColor(170, 190, 150));
    p.drawRect(r.adjusted(60, 22, -60, -30));
    p.setFont(fontOf(TextStyle::StrongLabel));
    p.drawText(r.adjusted(0, 0, 0, -8), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("MARSH KEEPER"));
  });
}

QPixmap pillButton(const char* resource, QColor fill, const QString& text) {
  return artwork(resource, {107, 30}, [fill, text](QPainter& p, QRect r) {
    QPainterPath pill;
    pill.addRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 14, 14);
    p.fillPath(pill, fill);
    p.setPen(Qt::white);
    p.setFont(fontOf(TextStyle::ButtonCaption));
    p.drawText(r, Qt::AlignCenter, text);
  });
}

}  // namespace

void PictureButton::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) emit clicked();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

TSplashForm::TSplashForm(SplashHost& host, QWidget* parent)
    : QDialog(parent, kCloseOnlyDialog), host_(host) {
  setWindowTitle(QStringLiteral("About this game..."));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setAutoFillBackground(true);
  buildElements();
}

TSplashForm::~TSplashForm() = default;

void TSplashForm::buildElements() {
  const auto place = [](QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, width, height);
  };

  im_background = new QLabel(this);
  place(im_background, 0, 0, 460, 420);

  im_box_picture = new QLabel(this);
  place(im_box_picture, 0, 56, 460, 160);
  im_box_picture->setAlignment(Qt::AlignCenter);

  const auto text = [this, place](QRect box, QFont font, QColor colour, Qt::Alignment align) {
    auto* label = new QLabel(this);
    place(label, box.x(), box.y(), box.width(), box.height());
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
  };
  la_game_title = text({0, 12, 460, 15}, fontOf(TextStyle::Heading), Qt::white, Qt::AlignHCenter);
  la_version = text({0, 28, 460, 15}, fontOf(TextStyle::Heading), Qt::white, Qt::AlignHCenter);
  la_release_date = text({0, 236, 460, 15}, fontOf(TextStyle::Text), Qt::black, Qt::AlignHCenter);
  la_website_1 = text({118, 259, 56, 15}, fontOf(TextStyle::Text), Qt::black, Qt::AlignLeft);
  la_website_1->setText(QStringLiteral("website:"));
  la_email_1 = text({118, 282, 56, 15}, fontOf(TextStyle::Text), Qt::black, Qt::AlignLeft);
  la_email_1->setText(QStringLiteral("email:"));
  la_sound_select = text({98, 308, 116, 15}, fontOf(TextStyle::Text), Qt::black, Qt::AlignLeft);
  la_sound_select->setText(QStringLiteral("Select sound driver:"));

  const auto link = [this, place](QRect box, const QString& caption) {
    auto* label = new LinkLabel(this);
    place(label, box.x(), box.y(), box.width(), box.height());
    label->setFont(fontOf(TextStyle::Link));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kLinkColour);
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setCursor(Qt::PointingHandCursor);
    label->setText(caption);
    return label;
  };
  la_website_2 = link({174, 259, 168, 15}, toQString(links::kWebsite.text));
  la_email_2 = link({174, 282, 168, 15}, toQString(links::kContact.text));
  connect(la_website_2, &LinkLabel::clicked, this, &TSplashForm::la_website_2Click);
  connect(la_email_2, &LinkLabel::clicked, this, &TSplashForm::la_email_2Click);

  cb_sound = new QComboBox(this);
  place(cb_sound, 217, 308, 144, 21);
  cb_sound->setEditable(false);
  cb_sound->setMaxVisibleItems(3);
  cb_sound->setFont(fontOf(TextStyle::Label));  // 13 pixels of line height
  QPalette listPal = cb_sound->palette();
  listPal.setColor(QPalette::Base, Qt::white);
  listPal.setColor(QPalette::Button, Qt::white);
  cb_sound->setPalette(listPal);
  for (const sound::SoundDriverEntry& entry : sound::kSoundDrivers) {
    cb_sound->addItem(toQString(entry.text));
    if (!entry.hint.empty()) cb_sound->setItemData(cb_sound->count() - 1, toQString(entry.hint), Qt::ToolTipRole);
  }
  cb_sound->setCurrentIndex(-1);
  connect(cb_sound, &QComboBox::currentIndexChanged, this, [this] { cb_soundChange(); });

  btn_play = new PictureButton(this);
  place(btn_play, 116, 340, 107, 30);
  btn_play->setCursor(Qt::PointingHandCursor);
  connect(btn_play, &PictureButton::clicked, this, &TSplashForm::btn_playClick);

  btn_play_disabled = new PictureButton(this);
  place(btn_play_disabled, 116, 340, 107, 30);
  btn_play_disabled->setCursor(Qt::WhatsThisCursor);
  btn_play_disabled->setToolTip(QString::fromLatin1(kPlayDisabledHint));
  btn_play_disabled->hide();

  btn_paypal = new PictureButton(this);
  place(btn_paypal, 237, 340, 107, 30);
  btn_paypal->setCursor(Qt::PointingHandCursor);
  connect(btn_paypal, &PictureButton::clicked, this, &TSplashForm::btn_paypalClick);

  chb_splashscreen = new QCheckBox(QString::fromLatin1(kSplashCheckText), this);
  place(chb_splashscreen, 12, 391, 444, 17);
  chb_splashscreen->setFont(fontOf(TextStyle::Text));
  QPalette checkPal = chb_splashscreen->palette();
  checkPal.setColor(QPalette::WindowText, Qt::white);
  checkPal.setColor(QPalette::ButtonText, Qt::white);
  checkPal.setColor(QPalette::Window, kDialogBackground);
  checkPal.setColor(QPalette::Button, kDialogBackground);
  chb_splashscreen->setPalette(checkPal);
  chb_splashscreen->setBackgroundRole(QPalette::Window);
  chb_splashscreen->setAutoFillBackground(true);
  chb_splashscreen->setChecked(true);

  // Only the list and the check box take the keyboard, in this order.
  for (QWidget* w : findChildren<QWidget*>()) {
    if (w != cb_sound && w != chb_splashscreen) w->setFocusPolicy(Qt::NoFocus);
  }
  cb_sound->setFocusPolicy(Qt::StrongFocus);
  chb_splashscreen->setFocusPolicy(Qt::StrongFocus);
  setTabOrder(cb_sound, chb_splashscreen);

  // The dialog's own key handler sees every key before its controls.
  cb_sound->installEventFilter(this);
  chb_splashscreen->installEventFilter(this);
}

void TSplashForm::FormCreate() {
  la_game_title->setText(toQString(kApplicationTitle));
  la_version->setText(toQString(kVersionText));
  la_release_date->setText(QStringLiteral("Released in 2026 by the Marsh Keeper Simulator project"));

  settings::SettingsStore& store = host_.settingsStore();
  const int soundMode = settings::readInt(store, settings::Setting::SoundMode);
  cb_sound->setCurrentIndex(-1);
  for (const sound::SoundDriverEntry& entry : sound::kSoundDrivers) {
    if (entry.soundMode == soundMode) cb_sound->setCurrentIndex(static_cast<int>(&entry - sound::kSoundDrivers.data()));
  }
  chb_splashscreen->setChecked(settings::readBool(store, settings::Setting::SplashScreen));

  if (playEnabled() && !chb_splashscreen->isChecked()) {
    move(-width(), -height());
    host_.clearSplashPending();
    skipped_ = true;
    btn_playClick();
    return;
  }

  centreOnScreen(*this, nullptr);
  updatePlayState();
  // Nothing else is on screen yet to hand it the keyboard.
  show();
  raise();
  activateWindow();
}

void TSplashForm::FormActivate() { cb_sound->setFocus(Qt::ActiveWindowFocusReason); }

bool TSplashForm::playEnabled() const { return !cb_sound->currentText().isEmpty(); }

void TSplashForm::updatePlayState() {
  const bool enabled = playEnabled();
  btn_play->setVisible(enabled);
  btn_play_disabled->setVisible(!enabled);
}

void TSplashForm::cb_soundChange() { updatePlayState(); }

bool TSplashForm::FormKeyDown(std::uint16_t keyCode) {
  if (keyCode == vk::kReturn || keyCode == vk::digit(1)) {
    if (playEnabled()) btn_playClick();
    return true;
  }
  if (keyCode == vk::kEscape) {
    host_.requestTermination();
    return true;
  }
  return false;
}

void TSplashForm::btn_playClick() {
  if (!host_.Snd_Init(cb_sound->currentIndex())) {
    host_.requestTermination();
    return;
  }
  const bool splash = chb_splashscreen->isChecked();
  settings::writeBool(host_.settingsStore(), settings::Setting::SplashScreen, splash);
  host_.setSplashMenuChecked(splash);
  host_.clearSplashPending();
  host_.centreMainWindow();
  host_.switchHandheldOn();
  hide();
}

void TSplashForm::la_website_2Click() { host_.openUrl(linkUrl(links::kWebsite)); }
void TSplashForm::la_email_2Click() { host_.openUrl(linkUrl(links::kContact)); }
void TSplashForm::btn_paypalClick() { host_.openUrl(linkUrl(links::kProjectPage)); }

bool TSplashForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  if (event->type() == QEvent::KeyPress) {
    if (FormKeyDown(input::windowsKeyCode(*static_cast<QKeyEvent*>(event)))) return true;
  }
  return QDialog::event(event);
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    if (FormKeyDown(input::windowsKeyCode(*static_cast<QKeyEvent*>(event)))) return true;
  }
  return QDialog::eventFilter(watched, event);
}

// The title bar's close is the dialog's Esc: the program ends.
void TSplashForm::takePictures() {
  if (picturesTaken_) return;
  picturesTaken_ = true;
  im_background->setPixmap(backgroundPicture());
  im_box_picture->setPixmap(boxPicture());
  btn_play->setPixmap(pillButton(art::kSplashPlay, QColor(30, 90, 200), QStringLiteral("Play")));
  btn_play_disabled->setPixmap(pillButton(art::kSplashPlayDisabled, QColor(150, 150, 150), QStringLiteral("Play")));
  btn_paypal->setPixmap(pillButton(art::kSplashReadme, QColor(230, 160, 30), QStringLiteral("Readme")));
}

void TSplashForm::showEvent(QShowEvent* event) {
  takePictures();
  QDialog::showEvent(event);
}

void TSplashForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (isVisible()) host_.requestTermination();
}

void TSplashForm::changeEvent(QEvent* event) {
  restoreIfMinimised(*this, *event);
  QDialog::changeEvent(event);
}

// QDialog would hide itself on Esc; here Esc ends the program instead.
void TSplashForm::reject() {}

}  // namespace mk::ui
