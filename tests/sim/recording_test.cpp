#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/sim/options.h"
#include "tools/sim/recording.h"
#include "tools/sim/script.h"
#include "tools/sim/simulation.h"
#include "tests/lib/sim_trace.h"

namespace mk::sim {
namespace {

Recording sample() {
  Recording r;
  r.header = {"5.0.0", 4294967295u, 13 * 3'600'000 + 45 * 60'000 + 7'123, 12, 2147483647, 61234};
  ScriptEvent down{100, true, Button::Left};
  ScriptEvent up{180, false, Button::Left};
  ScriptEvent skip{2000, false, Button::Time, 0, ScriptAction::Skip, 1750};
  ScriptEvent reset{2000, false, Button::Time, 0, ScriptAction::ResetHiScores};
  ScriptEvent acl{61234, true, Button::Acl};
  r.events = {down, up, skip, reset, acl};
  return r;
}

std::vector<std::string> lines(const std::vector<ScriptEvent>& events) {
  std::vector<std::string> out;
  for (const auto& e : events) out.push_back(scriptLine(e));
  return out;
}

TEST(Recording, ReadsBackWhatWasWrittenHeaderToTheMillisecondAndEveryKindOfLine) {
  const Recording written = sample();
  const std::string text = formatRecording(written);
  EXPECT_NE(text.find("\nclock 13:45:07.123\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n2000 skip 1750\n2000 reset HISCORES\n"), std::string::npos) << text;
  Recording read;
  ASSERT_EQ(parseRecording(text, read), std::nullopt);
  EXPECT_EQ(read.header.version, "5.0.0");
  EXPECT_EQ(read.header.seed, 4294967295u);
  EXPECT_EQ(read.header.clockMs, written.header.clockMs);
  EXPECT_EQ(read.header.hiScore1, 12);
  EXPECT_EQ(read.header.hiScore2, 2147483647);
  EXPECT_EQ(read.header.untilMs, 61234);
  EXPECT_EQ(lines(read.events), lines(written.events));
}

// A recording is replayed whole or not at all: every shorter copy of it
// (cut at any byte) and every copy with one byte of its body changed is
// refused, with one line that says so.
TEST(Recording, EveryCutShortOrEditedCopyIsRefusedOnOneLine) {
  const std::string text = formatRecording(sample());
  Recording r;
  for (std::size_t size = 0; size < text.size(); ++size) {
    const auto error = parseRecording(text.substr(0, size), r);
    ASSERT_TRUE(error) << "cut at " << size;
    EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
  }
  const std::size_t body = text.find("\n100 down") + 1;
  for (std::size_t i = body; i < text.size(); ++i) {
    std::string edited = text;
    edited[i] = edited[i] == '1' ? '2' : '1';
    const auto error = parseRecording(edited, r);
    ASSERT_TRUE(error) << "edited at " << i;
    EXPECT_NE(error->find("checksum"), std::string::npos) << *error;
  }
  std::string longer = text + "61234 up ACL\n";
  EXPECT_NE(parseRecording(longer, r).value_or("").find("checksum"), std::string::npos);
}

TEST(Recording, RefusesBinaryDataForeignTextAndHeaderValuesOutOfRange) {
  Recording r;
  std::string binary = formatRecording(sample());
  binary[40] = '\0';
  EXPECT_EQ(parseRecording(binary, r), "is not a recording (binary data)");
  EXPECT_NE(parseRecording("100 down TIME\n", r).value_or("").find("does not begin with"), std::string::npos);

  const std::string text = formatRecording(sample());
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"clock 13:45:07.123", "clock 24:00:00.000"}, {"clock 13:45:07.123", "clock 13:45"},
      {"seed 4294967295", "seed 4294967296"},       {"hiscore1 12", "hiscore1 -12"},
      {"until 61234", "until x"},                   {"body fnv1a32 ", "body crc32 "},
  };
  for (const auto& [from, to] : bad) {
    std::string edited = text;
    edited.replace(edited.find(from), from.size(), to);
    const auto error = parseRecording(edited, r);
    ASSERT_TRUE(error) << to;
    EXPECT_NE(error->find(to.substr(0, to.find(' '))), std::string::npos) << *error;
  }
}

TEST(Recording, RefusesAnEventAfterItsEnd) {
  Recording late = sample();
  late.header.untilMs = 61233;
  Recording r;
  EXPECT_NE(parseRecording(formatRecording(late), r).value_or("").find("after its end"), std::string::npos);
}

std::string run(const Options& options, std::string_view scriptText) {
  std::vector<ScriptEvent> events;
  EXPECT_EQ(parseScript(scriptText, "test", events), std::nullopt);
  return test::simulatedTrace(options, std::move(events));
}

// The clock face is start + virtual + skipped time, to the millisecond: a
// header's milliseconds decide the second the minute turns in, and a skip
// moves the face on without firing a single tick for it.
TEST(Replay, TheClockFaceCountsTheStartsMillisecondsAndEverySkip) {
  Options o;
  o.clockMinutes = 11 * 60 + 59;
  o.untilMs = 3000;
  const char* clockView = "100 down TIME\n200 up TIME\n";
  o.clockRestMs = 59'500;  // 11:59:59.500: noon is reached by the tick at 1,201 ms
  EXPECT_NE(run(o, clockView).find("1201 on im_panel_time_pm\n1201 digit 2 2\n1201 digit 3 0\n1201 digit 4 0\n"),
            std::string::npos);
  o.clockRestMs = 58'500;  // a second earlier, the same tick still shows 11:59
  EXPECT_EQ(run(o, clockView).find("1201 digit 3 0"), std::string::npos);

  o.clockMinutes = 11 * 60;
  o.clockRestMs = 0;
  const std::string skipped = run(o, std::string(clockView) + "500 skip 120000\n");
  EXPECT_NE(skipped.find("500 skip 120000\n"), std::string::npos);
  EXPECT_NE(skipped.find("1201 digit 4 2\n"), std::string::npos) << "11:02 after two skipped minutes";
  const auto ticks = [](const std::string& trace) {
    return std::count(trace.begin(), trace.end(), '\n');
  };
  EXPECT_EQ(ticks(skipped), ticks(run(o, clockView)) + 2) << "the skip line and the changed digit only";
}

TEST(Replay, TheHeaderSetsTheRunAndAResetIsTheEnginesOwnWrite) {
  Recording r = sample();
  Options o;
  applyRecordingHeader(r.header, o);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.clockMinutes, 13 * 60 + 45);
  EXPECT_EQ(o.clockRestMs, 7'123);
  EXPECT_EQ(o.hiScore2, 2147483647);
  EXPECT_EQ(o.untilMs, 61234);
  const std::string out = run(o, "10 reset HISCORES\n");
  EXPECT_NE(out.find("10 store HiScore1 0\n10 store HiScore2 0\n"), std::string::npos);
}

}  // namespace
}  // namespace mk::sim
