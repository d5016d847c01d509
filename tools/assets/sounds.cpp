// The three sounds of the handheld: a piezo buzzer's square-wave tones,
// band-limited and with short fades so they never click.
//
// Got:   a bright two-note chirp when a frog is caught or a snake struck.
// Move:  a short pip when a frog lands on the step before the keeper.
// Start: a four-note fanfare when a game begins.

#include <QByteArray>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/assets/generators.h"

namespace mk::assets {
namespace {

constexpr int kRate = 22050;
constexpr double kLevel = 0.42;  // of full scale: loud enough, with headroom

struct Note {
  double hertz;  // 0 for a rest
  double ms;
};

// A square wave built from its odd harmonics up to 9 kHz, each weighted a
// little less than 1/n: the buzzer's edge without aliasing.
double square(double phase, double hertz) {
  double sum = 0;
  for (int n = 1; n * hertz < 9000.0; n += 2) sum += std::sin(n * phase) / n * std::pow(0.86, (n - 1) / 2.0);
  return sum * 4 / std::numbers::pi;
}

std::vector<double> render(const std::vector<Note>& notes, double fadeMs = 2.5) {
  std::vector<double> out;
  for (const Note& note : notes) {
    const int count = int(std::lround(note.ms * kRate / 1000.0));
    const int fade = int(std::lround(fadeMs * kRate / 1000.0));
    for (int i = 0; i < count; ++i) {
      if (note.hertz <= 0) {
        out.push_back(0);
        continue;
      }
      const double phase = 2 * std::numbers::pi * note.hertz * i / kRate;
      double envelope = 1.0;
      if (i < fade) envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * i / fade);
      if (count - 1 - i < fade) envelope = std::min(envelope, 0.5 - 0.5 * std::cos(std::numbers::pi * (count - 1 - i) / fade));
      out.push_back(square(phase, note.hertz) * envelope * kLevel);
    }
  }
  return out;
}

QByteArray wav(const std::vector<double>& samples) {
  QByteArray data;
  for (double s : samples) {
    const int v = int(std::lround(std::clamp(s, -1.0, 1.0) * 32767));
    data.append(char(v & 0xff));
    data.append(char((v >> 8) & 0xff));
  }
  auto u32 = [](QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xff));
  };
  auto u16 = [](QByteArray& b, std::uint16_t v) {
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
  };
  QByteArray b("RIFF");
  u32(b, std::uint32_t(36 + data.size()));
  b.append("WAVEfmt ");
  u32(b, 16);
  u16(b, 1);  // PCM
  u16(b, 1);  // mono
  u32(b, kRate);
  u32(b, kRate * 2);
  u16(b, 2);
  u16(b, 16);
  b.append("data");
  u32(b, std::uint32_t(data.size()));
  b.append(data);
  return b;
}

}  // namespace

void writeSounds(const Paths& paths) {
  writeFile(paths.data + "/Sound/Got.wav", wav(render({{1568, 30}, {2637, 45}})));
  writeFile(paths.data + "/Sound/Move.wav", wav(render({{2093, 38}}, 2.0)));
  writeFile(paths.data + "/Sound/Start.wav",
            wav(render({{1568, 110}, {0, 25}, {2093, 110}, {0, 25}, {2637, 110}, {0, 25}, {3136, 300}})));
}

}  // namespace mk::assets
