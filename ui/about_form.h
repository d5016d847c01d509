#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;

namespace mk::ui {

// The about dialog: a picture and a few details of this program, with two
// links. Modeless, above every other window (the full-screen main window
// too), centred on the screen each time it is shown; Esc hides it, and so
// does following a link.
class TAboutForm : public QWidget {
 public:
  // openUrl: the desktop's "open" action (QDesktopServices::openUrl when empty).
  explicit TAboutForm(std::function<void(const QUrl&)> openUrl = {}, QWidget* parent = nullptr);

  // The main window it belongs to: it stays above it and is centred on its screen.
  void setOwner(QWidget& mainWindow);

  // Shows the dialog centred and brings it to the front.
  void showCentred();

  void la_website_2Click();
  void la_email_2Click();

  QLabel* im_picture = nullptr;
  QLabel* la_name_1 = nullptr;
  QLabel* la_name_2 = nullptr;
  QLabel* la_birthplace_1 = nullptr;
  QLabel* la_birthplace_2 = nullptr;
  QLabel* la_birthdate_1 = nullptr;
  QLabel* la_birthdate_2 = nullptr;
  QLabel* la_job_1 = nullptr;
  QLabel* la_job_2 = nullptr;
  QLabel* la_hobby_1 = nullptr;
  QLabel* la_hobby_2 = nullptr;
  QLabel* la_website_1 = nullptr;
  QLabel* la_website_2 = nullptr;
  QLabel* la_email_1 = nullptr;
  QLabel* la_email_2 = nullptr;

  QUrl websiteUrl() const { return websiteUrl_; }
  QUrl emailUrl() const { return emailUrl_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormKeyDown(int key);
  void centre();
  // Measuring text loads the desktop's fonts, which the program's start need
  // not wait for: the captions are fitted when the dialog is first shown.
  void fitCaptions();
  bool captionsFitted_ = false;

  std::function<void(const QUrl&)> openUrl_;
  QWidget* owner_ = nullptr;
  QUrl websiteUrl_;
  QUrl emailUrl_;
};

}  // namespace mk::ui
