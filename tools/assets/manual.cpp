// The instruction leaflet: twelve pages of 630 x 380, laid out from
// assets/manual/leaflet.txt with pictures composed from the skin itself.

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <map>

#include "tools/assets/generators.h"
#include "tools/assets/lcd_layout.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

constexpr int kPageWidth = 630, kPageHeight = 380;
const QColor kPaper(250, 248, 240);
const QColor kText(30, 36, 40);
const QColor kBand(40, 86, 66);
const QColor kGold(196, 156, 62);
const QColor kCream(238, 226, 190);

constexpr double kTextLeft = 22, kTextRight = 352, kTextTop = 58, kTextBottom = 344;
constexpr double kFigureLeft = 370, kFigureRight = 608, kFigureTop = 54;
constexpr double kLine = 17;

struct Page {
  int number = 0;
  QString heading;
  QString figure;
  QString caption;
  QStringList blocks;  // paragraphs, "## ", "- ", "| " lines
};

std::vector<Page> parse(const QString& text) {
  std::vector<Page> pages;
  QString paragraph;
  auto flush = [&] {
    if (!paragraph.isEmpty() && !pages.empty()) pages.back().blocks << paragraph;
    paragraph.clear();
  };
  for (const QString& raw : text.split('\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith(';')) continue;
    if (line.startsWith("===")) {
      flush();
      const QStringList parts = line.mid(3).split('|');
      Page page;
      page.number = parts.value(0).trimmed().toInt();
      page.heading = parts.value(1).trimmed();
      pages.push_back(page);
    } else if (line.startsWith("@figure ")) {
      pages.back().figure = line.mid(8).trimmed();
    } else if (line.startsWith("@caption ")) {
      pages.back().caption = line.mid(9).trimmed();
    } else if (line.isEmpty()) {
      flush();
    } else if (line.startsWith("## ") || line.startsWith("- ") || line.startsWith("| ")) {
      flush();
      pages.back().blocks << line;
    } else {
      paragraph += (paragraph.isEmpty() ? "" : " ") + line;
    }
  }
  flush();
  return pages;
}

// Draws text with *bold* words, wrapped to the column; returns the next y.
double drawWrapped(QPainter& p, const QString& text, double x, double y, double right, const QFont& regular,
                   const QFont& bold, int page) {
  struct Word {
    QString text;
    bool bold;
  };
  std::vector<Word> words;
  bool inBold = false;
  for (QString w : text.split(' ', Qt::SkipEmptyParts)) {
    bool startsBold = w.startsWith('*');
    if (startsBold) {
      inBold = true;
      w = w.mid(1);
    }
    bool endsBold = false;
    const qsizetype star = w.indexOf('*');
    if (star >= 0) {
      endsBold = true;
      w.remove(star, 1);
    }
    words.push_back({w, inBold});
    if (endsBold) inBold = false;
  }
  const QFontMetricsF rm(regular), bm(bold);
  const double space = rm.horizontalAdvance(' ');
  double cx = x;
  for (const Word& w : words) {
    const double width = (w.bold ? bm : rm).horizontalAdvance(w.text);
    if (cx > x && cx + width > right) {
      cx = x;
      y += kLine;
    }
    p.setFont(w.bold ? bold : regular);
    p.drawText(QPointF(cx, y), w.text);
    cx += width + space;
  }
  if (y > kTextBottom) fail(QString("the text of manual page %1 does not fit").arg(page));
  return y + kLine;
}

// ---------------------------------------------------------- figures

std::vector<QString> withWeapons(std::vector<QString> lit) {
  for (const char* w : {"im_weapon_1", "im_weapon_2", "im_weapon_3"}) lit.push_back(w);
  return lit;
}

QImage scene(const Skin& skin, const QString& name) {
  if (name == "lcd-all" || name == "face") return composeAllSegments(skin);
  if (name == "lcd-clock")
    return compose(skin, withWeapons({"im_panel_time_colon", "im_panel_sound", "im_panel_time_pm"}), {-1, 9, 4, 1});
  if (name == "lcd-start")
    return compose(skin, withWeapons({"im_panel_game_a", "im_panel_sound", "im_hero_2_body", "im_hero_2_leg_2", "btn_left_down"}),
                   {-1, 1, 5, 3});
  if (name == "lanes")
    return compose(skin, withWeapons({"im_hero_1_body", "im_hero_1_leg_1", "im_hero_2_body", "im_hero_2_leg_2",
                                      "im_hero_3_body", "im_hero_3_leg_1", "im_panel_game_a", "im_panel_sound"}),
                   {-1, 0, 1, 2});
  if (name == "lcd-catch")
    return compose(skin, {"im_weapon_1", "im_weapon_3", "im_hero_2_body", "im_hero_2_leg_2", "im_hero_2_attack",
                          "im_item_got_2", "im_item_1_2", "im_item_3_3", "im_item_0_0", "im_panel_game_a", "im_panel_sound"},
                   {-1, 0, 4, 7});
  if (name == "lcd-snake")
    return compose(skin, withWeapons({"im_hero_3_body", "im_hero_3_leg_1", "im_enemy_1_1", "im_enemy_1_2", "im_item_1_1a",
                                      "im_item_2_3", "im_item_3_2b", "im_panel_game_b", "im_panel_sound"}),
                   {-1, 1, 2, 8});
  if (name == "panel-score")
    return compose(skin, {"im_weapon_1", "im_weapon_3", "im_hero_2_body", "im_hero_2_leg_1", "im_hero_2_attack",
                          "im_item_got_2", "im_panel_game_a", "im_panel_sound"},
                   {-1, 2, 1, 6});
  if (name == "lcd-miss")
    return compose(skin, {"im_weapon_1", "im_weapon_2", "im_hero_1_body", "im_hero_1_leg_2", "im_item_3_5",
                          "im_panel_game_a", "im_panel_sound", "im_panel_miss_1", "im_panel_miss_2", "im_panel_miss_3"},
                   {-1, 0, 8, 9});
  if (name == "panel-high")
    return compose(skin, withWeapons({"im_hero_2_body", "im_hero_2_leg_1", "im_panel_game_b", "im_panel_sound",
                                      "im_panel_miss_1", "im_panel_miss_2", "im_panel_miss_3"}),
                   {1, 3, 5, 0});
  return {};
}

// Which part of the face a figure shows, in face coordinates.
QRect cropOf(const Skin& skin, const QString& name) {
  const QRect lcd = skin.lcd;
  if (name == "face") return QRect(QPoint(0, 0), skin.faceSize);
  if (name == "panel-score" || name == "panel-high")
    return QRect(lcd.left(), lcd.top() + 96, lcd.width(), lcd.height() - 96);
  return lcd;
}

void drawKeyCap(QPainter& p, const QRectF& r, const QString& label) {
  p.setPen(QPen(QColor(90, 90, 86), 1.0));
  p.setBrush(QColor(236, 234, 226));
  p.drawRoundedRect(r, 4, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 249, 244));
  p.drawRoundedRect(r.adjusted(3, 2, -3, -5), 3, 3);
  p.fillPath(textPathCentred(label, Face::SansBold, 13, r.center().x(), r.center().y() - 1.5), kText);
}

// A control of a game controller, drawn as the pad's own dark buttons are.
void drawPadLabel(QPainter& p, const QRectF& r, const QString& label) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(58, 62, 66));
  p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
  p.fillPath(textPathCentred(label, Face::SansBold, 11, r.center().x(), r.center().y()), QColor(236, 234, 226));
}

QImage keysFigure() {
  QImage img = blank(238, 214, kPaper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  struct Row {
    const char* key;
    const char* pad;
    const char* button;
  };
  const Row rows[] = {{"1", "A", "TIME"},
                      {"5", "Back", "ACL"},
                      {"\u2190", "\u25c0 LB", "LEFT"},
                      {"\u2192", "\u25b6 RB", "RIGHT"}};
  p.fillPath(textPathCentred("key", Face::SansOblique, 10, 30, 8), QColor(70, 80, 74));
  p.fillPath(textPathCentred("pad", Face::SansOblique, 10, 82, 8), QColor(70, 80, 74));
  double y = 20;
  for (const Row& r : rows) {
    drawKeyCap(p, QRectF(12, y, 36, 36), r.key);
    drawPadLabel(p, QRectF(56, y + 7, 52, 22), r.pad);
    p.fillPath(line({{114, y + 17}, {134, y + 17}}, 1.6), kGold);
    p.fillPath(polygon({{136, y + 17}, {128, y + 12.5}, {128, y + 21.5}}), kGold);
    // The handheld's button, as printed on the case.
    p.setPen(Qt::NoPen);
    p.setBrush(kBand);
    p.drawRoundedRect(QRectF(144, y + 5, 86, 24), 12, 12);
    p.fillPath(textPathCentred(r.button, Face::SansBold, 12, 187, y + 17), kCream);
    y += 48;
  }
  return img;
}

QImage menuFigure() {
  QImage img = blank(238, 262, kPaper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(20, 6, 206, 250);
  p.fillRect(box.translated(3, 3), QColor(0, 0, 0, 40));
  p.setPen(QPen(QColor(120, 120, 120), 1));
  p.setBrush(QColor(246, 246, 246));
  p.drawRect(box);
  struct Item {
    const char* caption;
    const char* shortcut;
    bool checked;
  };
  const Item items[] = {{"About...", "F1", false},
                        {"View 'Readme.txt'", "F2", false},
                        {"View 'Whatsnew.txt'", "F3", false},
                        {"View manual", "F4", false},
                        {"-", "", false},
                        {"Edit configuration file", "", false},
                        {"Key settings", "", false},
                        {"Reset Hiscores", "", false},
                        {"-", "", false},
                        {"Display in fullscreen mode", "F12", true},
                        {"Display splash screen at startup", "", true},
                        {"-", "", false},
                        {"Exit", "Esc", false}};
  double y = box.top() + 6;
  bool first = true;
  for (const Item& item : items) {
    if (QString(item.caption) == "-") {
      p.setPen(QPen(QColor(190, 190, 190), 1));
      p.drawLine(QPointF(box.left() + 6, y + 4.5), QPointF(box.right() - 6, y + 4.5));
      y += 9;
      continue;
    }
    p.setPen(kText);
    p.setFont(font(first ? Face::SansBold : Face::Sans, 10));
    if (item.checked) p.drawText(QPointF(box.left() + 6, y + 13), "\u2713");
    p.drawText(QPointF(box.left() + 20, y + 13), item.caption);
    p.setFont(font(Face::Sans, 10));
    p.drawText(QRectF(box.right() - 34, y, 30, 18), Qt::AlignRight | Qt::AlignVCenter, item.shortcut);
    y += 19;
    first = false;
  }
  return img;
}

QImage figure(const Skin& skin, const QString& name, double maxWidth, double maxHeight) {
  if (name == "keys") return keysFigure();
  if (name == "menu") return menuFigure();
  const QImage full = scene(skin, name);
  if (full.isNull()) fail("unknown manual figure " + name);
  QImage part = full.copy(cropOf(skin, name)).convertToFormat(QImage::Format_ARGB32);
  // The key colour around the case becomes paper.
  for (int y = 0; y < part.height(); ++y)
    for (int x = 0; x < part.width(); ++x)
      if ((part.pixel(x, y) & 0xffffff) == 0xff00ff) part.setPixel(x, y, kPaper.rgb());
  const double scale = std::min({1.0, maxWidth / part.width(), maxHeight / part.height()});
  if (scale < 1.0)
    part = part.scaled(int(part.width() * scale + 0.5), int(part.height() * scale + 0.5), Qt::KeepAspectRatio,
                       Qt::SmoothTransformation);
  return part;
}

QImage renderPage(const Page& page, const Skin& skin) {
  QImage img(kPageWidth, kPageHeight, QImage::Format_RGB32);
  img.fill(kPaper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);

  // Title band; its right end stays clear for the close button.
  p.fillRect(QRectF(0, 0, kPageWidth, 38), kBand);
  p.fillRect(QRectF(0, 38, kPageWidth, 2), kGold);
  p.setPen(kCream);
  p.setFont(font(Face::SansBold, 18));
  p.drawText(QPointF(20, 26), page.heading);
  p.setPen(QColor(214, 176, 86));
  p.setFont(font(Face::SerifBoldItalic, 13));
  p.drawText(QRectF(380, 8, 208, 24), Qt::AlignRight | Qt::AlignVCenter, "Marsh Keeper");

  // Figure and caption on the right.
  if (!page.figure.isEmpty()) {
    const QImage fig = figure(skin, page.figure, kFigureRight - kFigureLeft, 250);
    const double fx = kFigureLeft + (kFigureRight - kFigureLeft - fig.width()) / 2;
    p.drawImage(QPointF(fx, kFigureTop), fig);
    if (page.figure != "keys" && page.figure != "menu") {
      p.setPen(QPen(QColor(150, 160, 140), 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(fx - 0.5, kFigureTop - 0.5, fig.width() + 1, fig.height() + 1));
    }
    if (!page.caption.isEmpty()) {
      p.setPen(QColor(70, 80, 74));
      p.setFont(font(Face::SansOblique, 11));
      p.drawText(QRectF(kFigureLeft, kFigureTop + fig.height() + 6, kFigureRight - kFigureLeft, 34),
                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, page.caption);
    }
  }

  // Text on the left.
  const QFont regular = font(Face::Sans, 13), bold = font(Face::SansBold, 13);
  p.setPen(kText);
  double y = kTextTop + 10;
  QChar previous;
  for (const QString& block : page.blocks) {
    // A list or a table ends with a little space, as a paragraph does.
    const QChar kind = block.startsWith("- ") ? '-' : block.startsWith("| ") ? '|' : block.startsWith("## ") ? '#' : 'p';
    if ((previous == '-' || previous == '|') && kind != previous) y += 5;
    previous = kind;
    if (block.startsWith("## ")) {
      y += 3;
      p.setPen(kBand);
      p.setFont(font(Face::SansBold, 14));
      p.drawText(QPointF(kTextLeft, y), block.mid(3));
      p.setPen(kText);
      y += kLine;
    } else if (block.startsWith("- ")) {
      p.fillPath(ellipse(kTextLeft + 4, y - 4.5, 2.4, 2.4), kBand);
      y = drawWrapped(p, block.mid(2), kTextLeft + 14, y, kTextRight, regular, bold, page.number);
    } else if (block.startsWith("| ")) {
      const QStringList cells = block.mid(2).split('|');
      p.setFont(bold);
      p.drawText(QPointF(kTextLeft + 6, y), cells.value(0).trimmed());
      y = drawWrapped(p, cells.value(1).trimmed(), kTextLeft + 104, y, kTextRight, regular, bold, page.number);
    } else {
      y = drawWrapped(p, block, kTextLeft, y, kTextRight, regular, bold, page.number) + 5;
    }
  }

  // Footer: a rule and the page number, the corners left to the viewer's buttons.
  p.fillRect(QRectF(40, 352, kPageWidth - 80, 1), kGold);
  p.setPen(QColor(90, 96, 90));
  p.setFont(font(Face::Sans, 11));
  p.drawText(QRectF(0, 356, kPageWidth, 20), Qt::AlignCenter, QString("\u2013 %1 \u2013").arg(page.number));
  return img;
}

}  // namespace

void writeManual(const Paths& paths, const Skin& skin) {
  const std::vector<Page> pages = parse(QString::fromUtf8(readFile(paths.source + "/assets/manual/leaflet.txt")));
  if (pages.size() != 12) fail(QString("the leaflet has %1 pages, not 12").arg(pages.size()));
  for (const Page& page : pages)
    saveBmp24(renderPage(page, skin), paths.data + QString("/Graphics/Manual/%1.bmp").arg(page.number));
}

}  // namespace mk::assets
