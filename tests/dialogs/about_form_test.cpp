#include "ui/about_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <vector>

#include "events.h"

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
