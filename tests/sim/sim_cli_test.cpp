// The simulator's --skin-report and --snapshot options, run as a user runs
// them: Config.ini beside a copy of the executable, picture folders in the
// current directory, which is somewhere else.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <sstream>

#include "tests/skin_load/skin_fixture.h"

namespace mk::sim {
namespace {

namespace fs = std::filesystem;
using skin::testing::TempSkinFolder;

struct SimRun {
  int status = -1;
  std::vector<std::string> lines;
  std::string err;
};

class SimulatorCli : public ::testing::Test {
 protected:
  SimulatorCli() {
    fs::create_directories(folder.root() / "bin");
    fs::create_directories(work());
    fs::copy_file(MK_SIM_PATH, simulator());
  }
  fs::path simulator() const { return folder.root() / "bin" / "marsh-keeper-sim"; }
  fs::path work() const { return folder.root() / "work"; }
  void writeConfigBesideSimulator(const std::string& text) const { folder.writeFile("bin/Config.ini", text); }

  SimRun run(const QStringList& args) const {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(work().string()));
    process.start(QString::fromStdString(simulator().string()), args);
    process.waitForFinished(60000);
    SimRun r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    std::istringstream out(process.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(out, line);) r.lines.push_back(line);
    r.err = process.readAllStandardError().toStdString();
    return r;
  }

  TempSkinFolder folder;
};

TEST_F(SimulatorCli, SkinReportReadsConfigBesideTheProgramAndPicturesFromTheCurrentDirectory) {
  writeConfigBesideSimulator("[Common]\nGameWidth=300\n[Image1]\nFilename=face.bmp\nWidth=300\nHeight=200\n");
  folder.writePicture("work/Graphics/Skin/face.bmp", 300, 200, Qt::gray, "bmp");
  folder.writeFile("work/Config.ini", "[Common]\nGameWidth=999\n");  // not the one to read

  const SimRun r = run({"--skin-report", "--fullscreen", "--screen", "1000x800"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.lines.size(), 84u);
  EXPECT_EQ(r.lines[0], "client 1000 800");
  EXPECT_EQ(r.lines[5], "gamemenu shown 36 32");
  EXPECT_EQ(r.lines[6], "slot 1 im_background 350 239 300 200 300x200");
}

TEST_F(SimulatorCli, SkinReportWithoutConfigReportsTheMessageAndStillExitsZero) {
  const SimRun r = run({"--skin-report"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "message: Configuration file (Config.ini) not found. Please reinstall the game.\nterminate\n");
  ASSERT_EQ(r.lines.size(), 84u);
  EXPECT_EQ(r.lines[0], "client 611 322");

  EXPECT_EQ(run({"--skin-report", "--screen", "big"}).status, 2);
  EXPECT_EQ(run({"--skin-report", "--frobnicate"}).status, 2);
}

// The run starts dark and switches the handheld on, so at 0 ms every segment
// but a few is lit; the face and the buttons are shown as the skin left them.
TEST_F(SimulatorCli, SnapshotPicturesTheFaceAsTheRunLeftIt) {
  writeConfigBesideSimulator(
      "[Common]\nGameWidth=40\nGameHeight=30\n[VideoMode]\nTranspColor=$00ff00ff\n"
      "[Image1]\nFilename=face.png\nLeft=0\nTop=0\nWidth=20\nHeight=30\n"
      "[Image44]\nFilename=hero.bmp\nLeft=2\nTop=2\nWidth=4\nHeight=4\n"
      "[Image15]\nFilename=pm.bmp\nLeft=10\nTop=2\nWidth=4\nHeight=4\n");
  folder.writePicture("work/Graphics/Skin/face.png", 20, 30, QColor(0, 0, 255), "png");
  folder.writePicture("work/Graphics/Skin/hero.bmp", 4, 4, QColor(0, 0, 0), "bmp", QColor(255, 255, 255));
  folder.writePicture("work/Graphics/Skin/pm.bmp", 4, 4, QColor(0, 0, 0), "bmp", QColor(255, 255, 255));

  const fs::path out = folder.root() / "face.png";
  const SimRun r = run({"--until", "0", "--quiet", "--snapshot", QString::fromStdString(out.string())});
  ASSERT_EQ(r.status, 0) << r.err;
  QImage image(QString::fromStdString(out.string()));
  ASSERT_EQ(image.size(), QSize(40, 30));
  EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 255));     // the face
  EXPECT_EQ(image.pixelColor(3, 3), QColor(0, 0, 0));       // the lit hero
  EXPECT_EQ(image.pixelColor(2, 5), QColor(0, 0, 255));     // its white bottom-left colour is see-through
  EXPECT_EQ(image.pixelColor(11, 3), QColor(0, 0, 255));    // PM stays dark in the all-lit display
  EXPECT_EQ(image.pixelColor(30, 10), QColor(255, 0, 255)); // the key colour around the face

  const SimRun bad = run({"--snapshot"});
  EXPECT_EQ(bad.status, 2);
}

// Whatever an argument holds, a refusal is one line a log or a terminal shows
// whole: line breaks and escape characters are written out, not passed on.
TEST_F(SimulatorCli, EveryRefusalIsOneLineWhateverTheArgumentHolds) {
  const QStringList cases[] = {
      {"--seed", "1\n2"},
      {"--frob\nnicate"},
      {"--clock", "12:00\r\n--seed 5"},
      {"--hiscore1", "\x1b[2J7"},
      {"--skin-report", "--screen", "100x\n100"},
  };
  for (const QStringList& args : cases) {
    const SimRun r = run(args);
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.lines.empty());
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_EQ(r.err.find_first_of("\r\x1b"), std::string::npos) << r.err;
  }
  const SimRun seed = run({"--seed", "1\n2"});
  EXPECT_NE(seed.err.find("'1\\n2'"), std::string::npos) << seed.err;
}

}  // namespace
}  // namespace mk::sim
