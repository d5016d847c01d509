#include "app/desktop_open.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace mk::app {

namespace {

// The document's path as the user knows it, or the link itself.
QString shownName(const QUrl& url) {
  return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
}

}  // namespace

std::string missingDocumentMessage(const QString& path) {
  return ("Cannot open \"" + path + "\": there is no such file.").toStdString();
}

std::string noProgramMessage(const QString& what) {
  return ("Cannot open \"" + what + "\": no program on this desktop is set up to open it.").toStdString();
}

void openWithTheDesktop(const QUrl& url, std::function<void(std::string_view)> showError) {
  const QString name = shownName(url);
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
    showError(missingDocumentMessage(name));
    return;
  }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  const auto report = [process, name, showError] {
    showError(noProgramMessage(name));
    process->deleteLater();
  };
  QObject::connect(process, &QProcess::errorOccurred, process, [report](QProcess::ProcessError error) {
    // Only a start that failed ends here for good; other errors come with finished.
    if (error == QProcess::FailedToStart) report();
  });
  QObject::connect(process, &QProcess::finished, process, [process, report](int code, QProcess::ExitStatus status) {
    if (status != QProcess::NormalExit || code != 0) {
      report();
    } else {
      process->deleteLater();
    }
  });
  process->start(QStringLiteral("xdg-open"), {url.isLocalFile() ? url.toLocalFile() : url.toString()});
#else
  if (!QDesktopServices::openUrl(url)) showError(noProgramMessage(name));
#endif
}

}  // namespace mk::app
