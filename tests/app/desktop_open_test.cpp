// Opening a document or link with the desktop: whatever xdg-open answers is
// heard, so "nothing happened" never stays silent.
#include "app/desktop_open.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app_fixture.h"

namespace mk::app {
namespace {

// A folder put first on PATH, holding an xdg-open that ends with `status`
// after noting that it ran, or none at all.
class FakeDesktop {
 public:
  explicit FakeDesktop(std::optional<int> status) : oldPath_(qgetenv("PATH")) {
    if (status) {
      QFile script(dir_.filePath("xdg-open"));
      script.open(QIODevice::WriteOnly);
      script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\nexit %2\n").arg(ran(), QString::number(*status)).toUtf8());
      script.close();
      script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Without the system's folders, no other xdg-open is found.
    qputenv("PATH", dir_.path().toUtf8());
  }
  ~FakeDesktop() { qputenv("PATH", oldPath_); }
  QString ran() const { return dir_.filePath("ran"); }

 private:
  QTemporaryDir dir_;
  QByteArray oldPath_;
};

// Runs the event loop until `done` or `ms` have passed.
template <typename Done>
void waitFor(Done done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}
// Long enough for an xdg-open that has run to have answered.
void settle() {
  waitFor([] { return false; }, 300);
}

class DesktopOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::application();
    QFile(document()).open(QIODevice::WriteOnly);
  }
  QString document() const { return folder_.filePath("Readme.txt"); }
  void open(const QUrl& url) {
    openWithTheDesktop(url, [this](std::string_view text) { messages.emplace_back(text); });
  }
  QTemporaryDir folder_;
  std::vector<std::string> messages;
};

TEST_F(DesktopOpen, AProgramThatOpensTheDocumentBringsNoMessage) {
  FakeDesktop desktop(0);
  open(QUrl::fromLocalFile(document()));
  waitFor([&] { return QFile::exists(desktop.ran()); });
  ASSERT_TRUE(QFile::exists(desktop.ran())) << "xdg-open was not started";
  settle();
  EXPECT_TRUE(messages.empty());
}

TEST_F(DesktopOpen, NoProgramForTheDocumentNamesItInAMessage) {
  FakeDesktop desktop(3);  // xdg-open: no program found for the file
  open(QUrl::fromLocalFile(document()));
  waitFor([&] { return !messages.empty(); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], noProgramMessage(QDir::toNativeSeparators(document())));
  EXPECT_NE(messages[0].find("Readme.txt"), std::string::npos);
}

TEST_F(DesktopOpen, NoXdgOpenAtAllIsSaidTooAndLinksAreNamedAsThey) {
  FakeDesktop desktop(std::nullopt);
  open(QUrl("https://example.org/page"));
  waitFor([&] { return !messages.empty(); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], noProgramMessage("https://example.org/page"));
}

TEST_F(DesktopOpen, AMissingDocumentIsSaidAtOnceWithoutAskingTheDesktop) {
  FakeDesktop desktop(0);
  open(QUrl::fromLocalFile(folder_.filePath("Whatsnew.txt")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], missingDocumentMessage(QDir::toNativeSeparators(folder_.filePath("Whatsnew.txt"))));
  settle();
  EXPECT_FALSE(QFile::exists(desktop.ran()));
}

}  // namespace
}  // namespace mk::app
