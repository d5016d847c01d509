// Writes the default skin's pictures and its Config.ini, and composes the
// skin the way the main window does, for previews and snapshots.

#include <QPainter>
#include <QStringList>

#include "tools/assets/skin.h"

namespace mk::assets {

const std::vector<QString>& stackingOrder() {
  // Bottom to top, as the main window creates its pictures.
  static const std::vector<QString> order = [] {
    std::vector<QString> o{"im_background", "btn_time_down", "btn_acl_down", "btn_left_down", "btn_right_down",
                           "btn_alarm_top"};
    for (int lane = 1; lane <= 3; ++lane) {
      const QString n = QString::number(lane);
      for (const char* part : {"_body", "_leg_1", "_leg_2", "_attack"}) o.push_back("im_hero_" + n + part);
      o.push_back("im_item_got_" + n);
    }
    for (int lane = 1; lane <= 3; ++lane) {
      const QString n = QString::number(lane);
      for (const char* stage : {"_2", "_3", "_1"}) o.push_back("im_enemy_" + n + stage);
      o.push_back("im_weapon_" + n);
    }
    for (const char* item : {"1_1", "1_1a", "1_1b", "1_2", "1_3", "0_0", "2_1", "2_2", "2_3", "2_4", "3_1", "3_2",
                             "3_2a", "3_2b", "3_3", "3_4", "3_5"})
      o.push_back(QString("im_item_") + item);
    for (const char* panel : {"time_am", "time_pm", "digit_pos_1", "digit_pos_2", "time_colon", "digit_pos_3",
                              "digit_pos_4", "sound", "game_b", "game_a", "miss_1", "miss_2", "miss_3"})
      o.push_back(QString("im_panel_") + panel);
    for (int d = 0; d <= 9; ++d) o.push_back("im_panel_number_" + QString::number(d));
    for (const char* top : {"im_background_screen_top", "btn_left_top", "btn_right_top", "btn_acl_top", "btn_time_top"})
      o.push_back(top);
    return o;
  }();
  return order;
}

QImage compose(const Skin& skin, const std::vector<QString>& lit, const std::array<int, 4>& digits) {
  QImage out = blank(skin.faceSize.width(), skin.faceSize.height(), QColor(255, 0, 255));
  QPainter p(&out);
  auto isLit = [&](const QString& name) { return std::find(lit.begin(), lit.end(), name) != lit.end(); };
  for (const QString& name : stackingOrder()) {
    const SkinPicture& pic = skin.pictures.at(name);
    const bool alwaysShown = name == "im_background" || name == "im_background_screen_top" || name == "btn_alarm_top" ||
                             name.endsWith("_top");
    QImage image = pic.image;
    if (name.startsWith("im_panel_digit_pos_")) {
      const int glyph = digits[name.right(1).toInt() - 1];
      if (glyph < 0) continue;
      image = skin.pictures.at("im_panel_number_" + QString::number(glyph)).image;
    } else if (!alwaysShown && !isLit(name)) {
      continue;
    }
    if (image.isNull()) continue;
    p.save();
    p.setClipRect(pic.box);
    p.drawImage(pic.box.topLeft(), image);
    p.restore();
  }
  return out;
}

QImage composeAllSegments(const Skin& skin) {
  // Everything the all-segments display lights: all but one frog position,
  // one detour picture and the caught frogs; the panel reads 12:00 AM.
  std::vector<QString> lit;
  for (const SlotInfo& slot : kSlots) {
    const QString name = QString::fromLatin1(slot.element.data(), qsizetype(slot.element.size()));
    if (!name.startsWith("im_") || name == "im_background" || name == "im_background_screen_top") continue;
    if (name == "im_item_3_2" || name == "im_item_3_2a" || name.startsWith("im_item_got_")) continue;
    if (name == "im_panel_time_pm" || name == "im_panel_game_a" || name == "im_panel_game_b") continue;
    if (name.startsWith("im_panel_number_") || name.startsWith("im_panel_digit_pos_")) continue;
    lit.push_back(name);
  }
  return compose(skin, lit, {1, 2, 0, 0});
}

void writeScenes(const Skin& skin, const QString& folder) {
  struct Scene {
    const char* name;
    std::vector<QString> lit;
    std::array<int, 4> digits;
  };
  const std::vector<Scene> scenes{
      {"clock", {"im_weapon_1", "im_weapon_2", "im_weapon_3", "im_panel_time_colon", "im_panel_sound", "im_panel_time_pm"}, {-1, 9, 4, 1}},
      {"game-a-catch",
       {"im_weapon_1", "im_weapon_3", "im_hero_2_body", "im_hero_2_leg_2", "im_hero_2_attack", "im_item_got_2",
        "im_item_1_2", "im_item_3_3", "im_item_0_0", "im_panel_game_a", "im_panel_sound", "im_panel_miss_1", "btn_left_down"},
       {-1, 0, 4, 7}},
      {"game-b-snake",
       {"im_weapon_1", "im_weapon_2", "im_hero_3_body", "im_hero_3_leg_1", "im_weapon_3", "im_enemy_1_1", "im_enemy_1_2",
        "im_item_1_1a", "im_item_2_3", "im_item_3_2b", "im_panel_game_b", "im_panel_sound", "btn_right_down", "btn_time_down",
        "btn_acl_down"},
       {-1, 1, 2, 8}},
      {"game-b-strike",
       {"im_weapon_1", "im_weapon_2", "im_hero_1_body", "im_hero_1_leg_2", "im_hero_1_attack", "im_enemy_1_3",
        "im_item_3_4", "im_panel_game_b", "im_panel_sound", "im_panel_miss_1", "im_panel_miss_2"},
       {1, 3, 5, 0}},
  };
  for (const Scene& s : scenes) savePng(compose(skin, s.lit, s.digits), folder + "/" + s.name + ".png");
}

QByteArray configIni(const Skin& skin) {
  QStringList lines;
  lines << "; Marsh Keeper: the default skin."
        << "; Folders are relative to the game's folder; a backslash separates folders."
        << "; Every picture is drawn at its own size from the top-left corner of its box."
        << ""
        << "[Common]"
        << "SkinDir=Graphics\\Skin\\"
        << QString("GameWidth=%1").arg(skin.faceSize.width()) << QString("GameHeight=%1").arg(skin.faceSize.height())
        << ""
        << "[VideoMode]"
        << "; Windowed: pixels of this colour are see-through ($00BBGGRR: magenta)."
        << "TranspColor=$00ff00ff"
        << ""
        << "[Fullscreen]"
        << "BackdropDir=Graphics\\Backdrops\\"
        << "BackdropFile=marsh_night.jpg"
        << "; 0: the backdrop at its own size, centred; 1: stretched to the screen."
        << "BackdropStretch=1"
        << "BgColor=$00140e0a"
        << "GameOffsetX=Center"
        << "GameOffsetY=Center"
        << "LogoFile=logo.png"
        << "; 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right."
        << "LogoPosition=3"
        << ""
        << "[Manual]"
        << "ManualDir=Graphics\\Manual\\"
        << "ManualWidth=630"
        << "ManualHeight=380";
  for (std::size_t i = 0; i < kSlots.size(); ++i) {
    const QString element = QString::fromLatin1(kSlots[i].element.data(), qsizetype(kSlots[i].element.size()));
    const QString meaning = QString::fromLatin1(kSlots[i].meaning.data(), qsizetype(kSlots[i].meaning.size()));
    const SkinPicture& pic = skin.pictures.at(element);
    lines << "" << QString("[Image%1]").arg(i + 1) << QString("; %1: %2").arg(element, meaning)
          << QString("Filename=%1").arg(pic.file) << QString("Left=%1").arg(pic.box.left())
          << QString("Top=%1").arg(pic.box.top()) << QString("Width=%1").arg(pic.box.width())
          << QString("Height=%1").arg(pic.box.height());
  }
  return (lines.join("\n") + "\n").toUtf8();
}

void writeSkin(const Skin& skin, const Paths& paths) {
  for (const auto& [element, pic] : skin.pictures) {
    if (pic.file.isEmpty()) continue;
    savePng(pic.image, paths.data + "/Graphics/Skin/" + pic.file);
  }
  writeFile(paths.data + "/Config.ini", configIni(skin));
}

}  // namespace mk::assets
