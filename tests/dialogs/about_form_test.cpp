#include "ui/about_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <vector>

#include "events.h"
#include "ui/dialog_window.h"

using mk::ui::TAboutForm;

TEST(AboutForm, ShowsCentredOnTopAndEscapeHides) {
  TAboutForm form([](const QUrl&) {});
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(QFile::exists(":/art/about_emblem.png"));
  EXPECT_EQ(form.im_picture->pixmap().size(), QSize(116, 160));
  form.showCentred();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.frameGeometry().center(), QGuiApplication::primaryScreen()->geometry().center());
  mk::test::tapKey(&form, Qt::Key_A);
  EXPECT_TRUE(form.isVisible());
  mk::test::sendKey(&form, QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  form.showCentred();
  EXPECT_TRUE(form.isVisible());
}

TEST(AboutForm, LinksOpenTheirAddressAndHideTheDialog) {
  std::vector<QUrl> opened;
  TAboutForm form([&](const QUrl& url) { opened.push_back(url); });
  form.showCentred();
  mk::test::click(form.la_website_2, QPoint(5, 5));
  EXPECT_FALSE(form.isVisible());
  form.showCentred();
  mk::test::click(form.la_email_2, QPoint(5, 5), Qt::RightButton);
  EXPECT_TRUE(form.isVisible());
  mk::test::click(form.la_email_2, QPoint(5, 5));
  EXPECT_FALSE(form.isVisible());
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], form.websiteUrl());
  EXPECT_EQ(opened[1], form.emailUrl());
  // The project's links lead to its own Readme, beside the program.
  EXPECT_EQ(form.websiteUrl(), QUrl::fromLocalFile(QDir::current().absoluteFilePath("Readme.txt")));
  EXPECT_EQ(form.la_email_2->text(), "see Readme.txt");
}

// A dialog gets its window when it is first shown, not at the start, and
// is then a transient window of the main window (asked for at every
// opening, as the key dialog does, it is still set up once).
TEST(AboutForm, MakesNoWindowUntilShownAndIsThenKeptAboveTheMainWindow) {
  QWidget mainWindow;
  TAboutForm form([](const QUrl&) {});
  form.setOwner(mainWindow);
  form.setOwner(mainWindow);
  EXPECT_EQ(form.windowHandle(), nullptr);
  EXPECT_EQ(mainWindow.windowHandle(), nullptr);
  form.showCentred();
  EXPECT_TRUE(mk::ui::isKeptAbove(form, mainWindow));
  EXPECT_EQ(form.findChildren<QObject*>(QStringLiteral("transient-when-shown")).size(), 1);
  form.hide();
  form.showCentred();
  EXPECT_TRUE(mk::ui::isKeptAbove(form, mainWindow));
}

// The rows describe the program, under captions that fit them, each caption
// clear of its value.
TEST(AboutForm, RowsDescribeTheProjectUnderFittingCaptions) {
  TAboutForm form([](const QUrl&) {});
  form.showCentred();
  const std::vector<std::pair<QLabel*, QLabel*>> rows = {
      {form.la_name_1, form.la_name_2},       {form.la_birthplace_1, form.la_birthplace_2},
      {form.la_birthdate_1, form.la_birthdate_2}, {form.la_job_1, form.la_job_2},
      {form.la_hobby_1, form.la_hobby_2},     {form.la_website_1, form.la_website_2},
      {form.la_email_1, form.la_email_2}};
  const QStringList captions = {"Name:", "Kind:", "Version:", "Released:", "Built with:", "Website:", "Email:"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].first->text(), captions[static_cast<qsizetype>(i)]);
    EXPECT_LE(rows[i].first->x() + rows[i].first->sizeHint().width(), rows[i].second->x()) << i;
    EXPECT_GE(rows[i].first->width(), rows[i].first->sizeHint().width()) << "caption " << i << " is cut";
  }
  EXPECT_EQ(form.la_birthdate_2->text(), "5.00");
}
