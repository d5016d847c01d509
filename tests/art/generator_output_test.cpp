// The committed assets are the generator's output: running it again gives
// the same bytes, so nobody edits a generated file by hand by mistake and
// the sources stay the truth.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

#include "tests/art/art_files.h"

using namespace mk::art::testing;

namespace {

// Every file under root, by path relative to it.
QStringList filesUnder(const QString& root) {
  QStringList files;
  QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
  files.sort();
  return files;
}

// Empty when the generator ran; otherwise what went wrong. A failure inside
// SetUpTestSuite would only mark the tests skipped, so each test asserts it.
std::string runGenerator(const QString& into) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(MK_ASSETS_EXE, {"--source", sourceDir(), "--out", into + "/data", "--art", into + "/art", "--docs", into + "/docs"});
  if (!p.waitForFinished(120000)) return "the generator did not finish";
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return "the generator failed: " + p.readAll().toStdString();
  return {};
}

// Runs the generator once for all tests of this file.
class GeneratorOutput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    first_ = new QTemporaryDir;
    second_ = new QTemporaryDir;
    problem_ = runGenerator(first_->path());
    if (problem_.empty()) problem_ = runGenerator(second_->path());
  }
  static void TearDownTestSuite() {
    delete first_;
    delete second_;
  }
  static void expectSameFiles(const QString& generated, const QString& committed, const QStringList& ignore = {}) {
    QStringList want = filesUnder(generated), have = filesUnder(committed);
    for (const QString& i : ignore) have.removeAll(i);
    EXPECT_EQ(want, have) << "files in " << committed.toStdString() << " differ from the generator's";
    for (const QString& f : want) {
      EXPECT_EQ(readAll(generated + "/" + f), readAll(committed + "/" + f))
          << f.toStdString() << " in " << committed.toStdString() << " is not what the generator writes";
    }
  }
  static QTemporaryDir* first_;
  static QTemporaryDir* second_;
  static std::string problem_;
};
QTemporaryDir* GeneratorOutput::first_ = nullptr;
QTemporaryDir* GeneratorOutput::second_ = nullptr;
std::string GeneratorOutput::problem_;

TEST_F(GeneratorOutput, twoRunsWriteTheSameBytes) {
  // No timestamps, no machine state: the output depends on the sources only.
  ASSERT_EQ(problem_, "");
  expectSameFiles(first_->path(), second_->path());
}

TEST_F(GeneratorOutput, committedDataIsTheGeneratorsOutput) {
  ASSERT_EQ(problem_, "");
  expectSameFiles(first_->path() + "/data", dataDir());
}

TEST_F(GeneratorOutput, committedWindowArtIsTheGeneratorsOutput) {
  // ui/art also holds two hand-written headers (links, resource paths), which the
  // generator leaves alone.
  ASSERT_EQ(problem_, "");
  expectSameFiles(first_->path() + "/art", artDir(), {"project_links.h", "art_paths.h"});
}

TEST_F(GeneratorOutput, committedSnapshotIsTheGeneratorsOutput) {
  ASSERT_EQ(problem_, "");
  EXPECT_EQ(readAll(first_->path() + "/docs/all-segments.png"), readAll(sourceDir() + "/docs/all-segments.png"));
}

}  // namespace
