#include "ui/about_form.h"

#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <utility>

#include "ui/art/art_paths.h"
#include "ui/art_pictures.h"
#include "ui/dialog_kit.h"
#include "ui/dialog_window.h"
#include "ui/texts.h"

// The artwork is compiled into this library; a static link keeps it only
// when something refers to it.
static void initArtResources() { Q_INIT_RESOURCE(art); }

namespace mk::ui {

namespace {

// A text that runs its action on a left-button release over it.
class ClickLabel final : public QLabel {
 public:
  ClickLabel(QWidget* parent, std::function<void()> clicked) : QLabel(parent), clicked_(std::move(clicked)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && clicked_) clicked_();
  }

 private:
  std::function<void()> clicked_;
};

QLabel* text(QLabel* label, const char* name, const QString& content, QRect box, const QFont& font,
             const QColor& colour) {
  label->setObjectName(QString::fromLatin1(name));
  label->setText(content);
  label->setGeometry(box);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

// Shown when the artwork has no picture for the dialog: a small handheld.
QPixmap drawnPicture() {
  QPixmap picture(116, 160);
  picture.fill(kDialogBackground);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(200, 200, 210), 2));
  painter.setBrush(QColor(60, 64, 80));
  painter.drawRoundedRect(QRectF(10, 20, 96, 120), 10, 10);
  painter.setBrush(QColor(176, 186, 160));
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(QRectF(22, 34, 72, 52));
  painter.setBrush(QColor(200, 40, 40));
  for (int i = 0; i < 3; ++i) painter.drawEllipse(QPointF(30 + 28 * i, 112), 7, 7);
  return picture;
}

}  // namespace

TAboutForm::TAboutForm(std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      openUrl_(std::move(openUrl)) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About the author..."));
  setFixedSize(397, 176);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDialogBackground);
  setPalette(palette);
  if (!openUrl_) openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  initArtResources();

  websiteUrl_ = linkUrl(links::kWebsite);
  emailUrl_ = linkUrl(links::kContact);
  const QString websiteText = toQString(links::kWebsite.text);
  const QString emailText = toQString(links::kContact.text);

  const QColor white(Qt::white);
  const QFont captionFont = fontOf(TextStyle::Label);
  const QFont valueFont = fontOf(TextStyle::StrongLabel);
  const QFont linkFont = fontOf(TextStyle::Link);
  const QColor linkColour(255, 255, 0);

  im_picture = new QLabel(this);
  im_picture->setObjectName(QStringLiteral("im_picture"));
  im_picture->setGeometry(8, 8, 116, 160);
  const QPixmap emblem = artPixmap(art::kAboutEmblem);
  im_picture->setPixmap(emblem.isNull() ? drawnPicture() : emblem);
  im_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // The project, not a person: what it is, which release, what it is made with.
  la_name_1 = text(new QLabel(this), "la_name_1", "Name:", {132, 8, 72, 14}, captionFont, white);
  la_name_2 = text(new QLabel(this), "la_name_2", "Marsh Keeper Simulator", {212, 8, 147, 14}, valueFont, white);
  la_birthplace_1 = text(new QLabel(this), "la_birthplace_1", "Kind:", {132, 32, 72, 14}, captionFont, white);
  la_birthplace_2 = text(new QLabel(this), "la_birthplace_2", "LCD game simulator", {212, 32, 133, 14}, valueFont,
                         white);
  la_birthdate_1 = text(new QLabel(this), "la_birthdate_1", "Version:", {132, 56, 72, 14}, captionFont, white);
  la_birthdate_2 = text(new QLabel(this), "la_birthdate_2", "5.00", {212, 56, 101, 14}, valueFont, white);
  la_job_1 = text(new QLabel(this), "la_job_1", "Released:", {132, 80, 72, 14}, captionFont, white);
  la_job_2 = text(new QLabel(this), "la_job_2", "2026", {212, 80, 133, 14}, valueFont, white);
  la_hobby_1 = text(new QLabel(this), "la_hobby_1", "Built with:", {132, 104, 34, 14}, captionFont, white);
  la_hobby_2 = text(new QLabel(this), "la_hobby_2", "Qt 6 and SDL 2", {212, 104, 93, 14}, fontOf(TextStyle::RemarkLabel),
                    white);
  la_website_1 = text(new QLabel(this), "la_website_1", "Website:", {132, 128, 42, 14}, captionFont, white);
  la_website_2 = text(new ClickLabel(this, [this] { la_website_2Click(); }), "la_website_2", websiteText,
                      {212, 128, 168, 15}, linkFont, linkColour);
  la_email_1 = text(new QLabel(this), "la_email_1", "Email:", {132, 152, 27, 14}, captionFont, white);
  la_email_2 = text(new ClickLabel(this, [this] { la_email_2Click(); }), "la_email_2", emailText,
                    {212, 152, 168, 15}, linkFont, linkColour);
  la_website_2->setCursor(Qt::PointingHandCursor);
  la_email_2->setCursor(Qt::PointingHandCursor);
}

void TAboutForm::setOwner(QWidget& mainWindow) {
  owner_ = &mainWindow;
  keepAbove(*this, mainWindow);
}

void TAboutForm::centre() { centreOnScreen(*this, owner_); }

void TAboutForm::showCentred() {
  centre();
  show();
  raise();
  activateWindow();
}

void TAboutForm::fitCaptions() {
  if (captionsFitted_) return;
  captionsFitted_ = true;
  // "Fitted to its text": grows for a wider fallback font, never shrinks.
  for (QLabel* fitted : {la_hobby_1, la_website_1, la_email_1})
    fitted->resize(std::max(fitted->width(), fitted->sizeHint().width()), fitted->height());
}

void TAboutForm::showEvent(QShowEvent* event) {
  fitCaptions();
  centre();
  QWidget::showEvent(event);
}

void TAboutForm::la_website_2Click() {
  openUrl_(websiteUrl_);
  hide();
}

void TAboutForm::la_email_2Click() {
  openUrl_(emailUrl_);
  hide();
}

void TAboutForm::FormKeyDown(int key) {
  if (key == Qt::Key_Escape) hide();
}

void TAboutForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(event->key()); }

}  // namespace mk::ui
