#include "topics/catalogue.h"

#include <array>

#include "shell/form1.h"

namespace pm {

namespace {

// Per group: entry 0 is the group's name, entries 1 … its topics.
constexpr int kMaxTopics = 8;
using GroupNames = std::array<std::u32string_view, kMaxTopics + 1>;

constexpr std::array<GroupNames, 10> kCatalogue = {{
    {U" Rautenwerk           ", U" Getriebe             ", U" Polkonfigurationen   ",
     U" Momentanpol          ", U" ruhende Polbahn      ", U" bewegte Polbahn      ",
     U" Koppelkurve          "},
    {U" Geschwindigkeiten    ", U" Antrieb              ", U" Vektorsumme          ",
     U" gedrehte Geschw.     ", U" Polstrahlen          ", U" Vektorplan           ",
     U" Burmester u.Mehmke   "},
    {U" Beschleunigungen     ", U" Antrieb              ", U" Konstruktion.        ",
     U" Normalbeschl.        ", U" Beschleunigung von B ", U" Burmester u.Mehmke   ",
     U" und Geschwindigkeiten", U" Beschleunigungspol   ", U" Polbeschleunigung    "},
    {U" Krümmungen           ", U" Satz von Bobellier   ", U" Krümmungsmittelpunkt ",
     U" Wendekreis           ", U" Beschleunigungspol   ", U" Ro-Kurven            ",
     U" Ro-Kurven A          ", U" Ro-Kurven C          "},
    {U" Koppelkurve        ", U" Koppelkurve        ", U" Streckung          ",
     U" Glieder            ", U" Roberts alle       ", U" Roberts XZ         ",
     U" Roberts YZ         ", U" Konstruktion       "},
    {U" Polwechselgeschwindigkeit", U" Kümmungsmittelpunkt  ", U" Evolute              ",
     U" Konstruktion Ubd.    ", U" Polwechselgeschw.    ", U" Polbeschleunigung    ",
     U" Wendepol             ", U" Wendepol             "},
    {U" Relativbewegung        ", U" Relativbewegung        ", U" Antriebsgeschwindigkeit",
     U" Relativgeschwindigkeit ", U" Geschwindigkeitsplan   ", U" Antriebsbeschleunigung ",
     U" Normalbeschleunigung   ", U" Coriolisbeschleunigung ", U" Beschleunigungsplan    "},
    {U" Siebengelenke         ", U" Watt-dc               ", U" Watt-ba               ",
     U" Watt-ab               ", U" Watt-bc               ", U" Watt-cb               ",
     U" St-ac                 ", U" St-ca                 ", U" St-db                 "},
    {U" Komplan bewegte Ebene", U" Aufgabenstellung     ", U" Momentanpol          ",
     U" Geschwindigkeit      ", U" Normalbeschleunigung ", U" Krümmngsmittelpunkt  ",
     U" Beschleunigung       ", U" Lagenort             "},
    {U" Lagengeometrie        ", U" Vier Lagen einer Ebene", U" Gegenpolviereck       ",
     U" Konstruktion          ", U" Mittelpunktskurve     ", U" Kreispunktkurve       ",
     U" Kreispunktkurve       ", U" Rautenwerk            ", U" Analyse               "},
}};

}  // namespace

std::u32string_view groupName(int group) { return topicName(group, 0); }

std::u32string_view topicName(int group, int topic) {
  if (group < 1 || group > static_cast<int>(kCatalogue.size())) return {};
  if (topic < 0 || topic > kMaxTopics) return {};
  return kCatalogue[group - 1][topic];
}

int lastTopic(int group) {
  for (int t = kMaxTopics; t >= 1; --t)
    if (!topicName(group, t).empty()) return t;
  return 0;
}

void writeCatalogueNames(Form1& f, int group) {
  if (group < 1 || group >= static_cast<int>(f.cmd.groupNames.size())) return;
  f.cmd.groupNames[group] = std::u32string(groupName(group));
  for (int t = 1; t <= kMaxTopics && t < static_cast<int>(f.cmd.topicNames.size()); ++t)
    f.cmd.topicNames[t] = std::u32string(topicName(group, t));
}

}  // namespace pm
