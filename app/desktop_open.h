#pragma once

#include <QUrl>

#include <functional>
#include <string>
#include <string_view>

namespace mk::app {

// The desktop's "open" for a document or a link, which says so when nothing
// opened it: on Linux xdg-open is started and its result awaited (Qt's own
// call reports success even when xdg-open fails); elsewhere Qt's answer
// counts. `showError` gets the message, later, once the answer is in.
void openWithTheDesktop(const QUrl& url, std::function<void(std::string_view)> showError);

// The messages, naming what could not be opened.
std::string missingDocumentMessage(const QString& path);
std::string noProgramMessage(const QString& what);

}  // namespace mk::app
