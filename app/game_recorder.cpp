#include "app/game_recorder.h"

#include <QSaveFile>

namespace mk::app {

std::optional<std::string> GameRecorder::save(std::int64_t untilMs) {
  recording_.header.untilMs = untilMs;
  const std::string text = sim::formatRecording(recording_);
  QSaveFile out(QString::fromStdString(file_.string()));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
      !out.commit()) {
    return "The recording " + file_.string() + " cannot be written: " + out.errorString().toStdString();
  }
  return {};
}

}  // namespace mk::app
