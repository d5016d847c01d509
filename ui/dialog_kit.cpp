#include "ui/dialog_kit.h"

#include <QDir>

#include <array>

#include "ui/texts.h"

namespace mk::ui {

namespace {

enum class Family { Arial, System };

struct FontSpec {
  TextStyle style;
  Family family;
  int pixelSize;
  QFont::Weight weight;
  bool italic;
  bool underline;
};

constexpr std::array<FontSpec, 10> kFonts{{
    {TextStyle::Label, Family::Arial, 11, QFont::Normal, false, false},
    {TextStyle::StrongLabel, Family::Arial, 11, QFont::Bold, false, false},
    {TextStyle::RemarkLabel, Family::Arial, 11, QFont::Bold, true, false},
    {TextStyle::Text, Family::Arial, 12, QFont::Normal, false, false},
    {TextStyle::Heading, Family::Arial, 12, QFont::Bold, false, false},
    {TextStyle::Link, Family::Arial, 12, QFont::Bold, false, true},
    {TextStyle::MenuRow, Family::Arial, 14, QFont::Normal, false, false},
    {TextStyle::ButtonCaption, Family::Arial, 14, QFont::Bold, false, false},
    {TextStyle::SystemHeading, Family::System, 11, QFont::Bold, false, true},
    {TextStyle::SystemButton, Family::System, 11, QFont::Bold, false, false},
}};

}  // namespace

QFont fontOf(TextStyle style) {
  const FontSpec* spec = &kFonts[0];
  for (const FontSpec& candidate : kFonts)
    if (candidate.style == style) spec = &candidate;
  QFont font;
  if (spec->family == Family::Arial) {
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPixelSize(spec->pixelSize);
  font.setWeight(spec->weight);
  font.setItalic(spec->italic);
  font.setUnderline(spec->underline);
  return font;
}

QUrl linkUrl(const links::Link& link) {
  const QString target = toQString(link.target);
  const QUrl url(target);
  if (url.isValid() && url.scheme().size() > 1) return url;
  return QUrl::fromLocalFile(QDir::current().absoluteFilePath(target));
}

}  // namespace mk::ui
