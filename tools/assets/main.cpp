// mk-assets: renders the default skin and all of the program's own artwork,
// sounds, manual pages and documents.
//
//   mk-assets [--out DIR] [--art DIR] [--docs DIR] [--source DIR] [--preview FILE]
//
// --out   the run-time data folder (Config.ini, Graphics/, Sound/, texts);
//         default: data/ of the source tree
// --art   the windows' own artwork (embedded in the executable); default ui/art/
// --docs  documentation snapshots; default docs/
// --source the source tree whose assets/ is read; default: the one it was built from
// --preview also writes the all-segments composition to FILE
// --scenes  also writes a few compositions of play into DIR, for looking at

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "tools/assets/generators.h"
#include "tools/assets/skin.h"

using namespace mk::assets;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();

  Paths paths;
  paths.source = MK_SOURCE_DIR;
  QString preview, scenes;
  QString out, art, docs;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&]() -> QString {
      if (i + 1 >= args.size()) fail(a + " needs a value");
      return args[++i];
    };
    if (a == "--out") out = value();
    else if (a == "--art") art = value();
    else if (a == "--docs") docs = value();
    else if (a == "--source") paths.source = value();
    else if (a == "--preview") preview = value();
    else if (a == "--scenes") scenes = value();
    else if (a == "--help" || a == "-h") {
      std::puts("usage: mk-assets [--out DIR] [--art DIR] [--docs DIR] [--source DIR] [--preview FILE]");
      return 0;
    } else {
      fail("unknown argument " + a);
    }
  }
  paths.data = out.isEmpty() ? paths.source + "/data" : out;
  paths.art = art.isEmpty() ? paths.source + "/ui/art" : art;
  paths.docs = docs.isEmpty() ? paths.source + "/docs" : docs;

  loadFonts();

  Skin skin;
  addFaceAndButtons(skin);
  addLcdSegments(skin);
  writeSkin(skin, paths);
  const QImage allSegments = composeAllSegments(skin);
  savePng(allSegments, paths.docs + "/all-segments.png");
  if (!preview.isEmpty()) savePng(allSegments, preview);

  if (!scenes.isEmpty()) writeScenes(skin, scenes);

  writeSounds(paths);
  writeFullscreenArt(paths);
  writeWindowArt(paths, skin);
  writeManual(paths, skin);
  writeDocuments(paths);
  return 0;
}
