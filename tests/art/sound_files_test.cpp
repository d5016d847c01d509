// The three sounds: the format the audio layer opens (16-bit mono PCM at
// 22,050 Hz), the lengths that let them overlap and fit the game's timing,
// and clean edges (no click at start or end, no clipping).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/art/art_files.h"

using namespace mk::art::testing;

namespace {

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;
  double ms() const { return rate ? samples.size() * 1000.0 / rate : 0; }
};

std::uint32_t u32(const QByteArray& b, qsizetype at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(b[at + i]);
  return v;
}
std::uint16_t u16(const QByteArray& b, qsizetype at) { return std::uint16_t(quint8(b[at]) | (quint8(b[at + 1]) << 8)); }

Wav readWav(const QString& path) {
  const QByteArray b = readAll(path);
  Wav w;
  if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") return w;
  for (qsizetype at = 12; at + 8 <= b.size();) {
    const QByteArray id = b.mid(at, 4);
    const std::uint32_t size = u32(b, at + 4);
    if (id == "fmt ") {
      w.format = u16(b, at + 8);
      w.channels = u16(b, at + 10);
      w.rate = int(u32(b, at + 12));
      w.bits = u16(b, at + 22);
    } else if (id == "data") {
      w.samples.resize(size / 2);
      std::memcpy(w.samples.data(), b.constData() + at + 8, w.samples.size() * 2);
    }
    at += 8 + size + (size & 1);
  }
  return w;
}

struct Expected {
  const char* file;
  double minMs, maxMs;
};

class SoundFile : public ::testing::TestWithParam<Expected> {};

TEST_P(SoundFile, isMonoPcmOfItsLength) {
  const Wav w = readWav(dataDir() + "/Sound/" + GetParam().file);
  EXPECT_EQ(w.format, 1);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.rate, 22050);
  EXPECT_EQ(w.bits, 16);
  EXPECT_GE(w.ms(), GetParam().minMs);
  EXPECT_LE(w.ms(), GetParam().maxMs);
}

TEST_P(SoundFile, startsAndEndsQuietlyWithoutClipping) {
  const Wav w = readWav(dataDir() + "/Sound/" + GetParam().file);
  ASSERT_GT(w.samples.size(), 100u);
  EXPECT_LT(std::abs(w.samples.front()), 600);
  EXPECT_LT(std::abs(w.samples.back()), 600);
  int peak = 0;
  for (std::int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
  EXPECT_LT(peak, 32000);
  EXPECT_GT(peak, 8000) << "loud enough to hear";
}

INSTANTIATE_TEST_SUITE_P(EachSound, SoundFile,
                         ::testing::Values(Expected{"Got.wav", 60, 90}, Expected{"Move.wav", 30, 50},
                                           Expected{"Start.wav", 600, 1000}),
                         [](const ::testing::TestParamInfo<Expected>& param) {
                           const std::string file = param.param.file;
                           return file.substr(0, file.find('.'));
                         });

}  // namespace
