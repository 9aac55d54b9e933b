// The common menu tree of both editions. Choosing a mechanism type sets mn0 and
// rebuilds; a topic item sets the group its menu stands for, its topic and
// page 0, and rebuilds; opening a menu does nothing. Some analysis menus list
// their items in another order or number than the topic catalogue, so every
// topic item names the topic that carries its caption instead of its position.
#include "shell/menu_table.h"

#include <string>

#include "exercise/exercise_kinds.h"

namespace pm {
namespace {

constexpr int kRebuild = 5;

MenuEntry top(std::string name, std::string caption) {
  MenuEntry e;
  e.name = std::move(name);
  e.caption = std::move(caption);
  e.hasSubmenu = true;
  return e;
}

MenuEntry typeItem(std::string name, std::string caption, int type) {
  MenuEntry e;
  e.name = std::move(name);
  e.caption = std::move(caption);
  e.parent = "mnu1";
  e.setType = type;
  e.sendKey = type ? kRebuild : 0;
  return e;
}

struct AnalysisGroup {
  int group;
  const char* caption;
  // Item captions with the topic each one selects.
  std::vector<std::pair<const char*, int>> items;
};

// Group g opens as "mnu2g"; its items are "mnu2g1", "mnu2g2", …
const std::vector<AnalysisGroup>& analysisGroups() {
  static const std::vector<AnalysisGroup> groups = {
      {1,
       "&Rautenwerk",
       {{"&Getriebe", 1},
        {"&Pole", 2},
        {"&Momentanpol", 3},
        {"&ruhende Polbahn", 4},
        {"&bewegte Polbahn", 5}}},
      {2,
       "&Geschwindigkeit",
       {{"&Antrieb", 1},
        {"Vektor&summe", 2},
        {"&gedrehte Geschwindigkeiten", 3},
        {"&Polstrahlen", 4},
        {"&Vektorplan", 5},
        {"&Burmester", 6}}},
      // Nine items for eight topics: "Vektorplan" shows the topic of B's acceleration.
      {3,
       "&Beschleunigung",
       {{"&Antrieb", 1},
        {"&Konstruktion", 2},
        {"&Normalbeschleunigung", 3},
        {"&Beschleunigung von B", 4},
        {"&Vektorplan", 4},
        {"Burmester und &Mehmke", 5},
        {"&und Geschwindigkeiten ", 6},
        {"B&eschleunigungspol", 7},
        {"&Polbeschleunigung", 8}}},
      // Eight items for seven topics: the selectable curves are the Ro-Kurven topic.
      {4,
       "&Krümmung",
       {{"&Satz von Bobellier", 1},
        {"&Krümmungsmittelpunkt", 2},
        {"&Wendekreis", 3},
        {"&Beschleunigungspol", 4},
        {"&Ro-Kurven", 5},
        {"Ro-Kurven &A", 6},
        {"Ro-Kurven &C", 7},
        {"wählbare Ro-&Kurven", 5}}},
      {5,
       "&Koppelkurven",
       {{"&Koppelkurve", 1},
        {"&Streckung", 2},
        {"&Glieder", 3},
        {"Roberts &alle", 4},
        {"Roberts &XZ", 5},
        {"Roberts &YZ", 6},
        {"Ko&nstruktion", 7}}},
      {6,
       "&Polwechselgeschwindigkeit",
       {{"&Krümmungsmittelpunkt", 1},
        {"&Evolute", 2},
        {"K&onstruktion Ubd", 3},
        {"&Polwechselgeschwindigkeit", 4},
        {"Pol&beschleunigung", 5},
        {"&Wendepol", 6},
        {"Wende&pol", 7}}},
      // Seven items for eight topics: there is no item for the relative velocity (3).
      {7,
       "&Relativbewegung",
       {{"&Relativbewegung", 1},
        {"&Antriebsgeschwindigkeit", 2},
        {"&Geschwindigkeitsplan", 4},
        {"Antriebs&beschleunigung", 5},
        {"&Normalbeschleunigung", 6},
        {"&Coriolisbeschleunigung", 7},
        {"&Beschleunigungsplan", 8}}},
      {8,
       "&Siebengelenke",
       {{"Watt-&dc", 1},
        {"Watt-&ab", 2},
        {"Watt-&ba", 3},
        {"Watt-&cb", 4},
        {"&Watt-bc", 5},
        {"&Stev-ca", 6},
        {"S&tev-ac", 7},
        {"St&ev-db", 8}}},
  };
  return groups;
}

void addAnalysisMenu(std::vector<MenuEntry>& tree) {
  tree.push_back(top("mnu20", "&Analyse    "));
  for (const AnalysisGroup& g : analysisGroups()) {
    MenuEntry header;
    header.name = "mnu2" + std::to_string(g.group);
    header.caption = g.caption;
    header.parent = "mnu20";
    header.hasSubmenu = true;
    header.setGroup = g.group;
    tree.push_back(header);
    for (std::size_t i = 0; i < g.items.size(); ++i) {
      MenuEntry item;
      item.name = header.name + std::to_string(i + 1);
      item.caption = g.items[i].first;
      item.parent = header.name;
      item.setTopic = g.items[i].second;
      item.resetPage = true;
      item.sendKey = kRebuild;
      tree.push_back(item);
    }
  }
}

// A submenu of fixed topics of one group ("&Synthese", "&Beispiele").
void addTopicList(std::vector<MenuEntry>& tree, const std::string& parent, int group,
                  std::initializer_list<const char*> captions) {
  int topic = 0;
  for (const char* caption : captions) {
    ++topic;
    MenuEntry item;
    item.name = parent + std::to_string(topic);
    item.caption = caption;
    item.parent = parent;
    item.setGroup = group;
    item.setTopic = topic;
    item.resetPage = true;
    item.sendKey = kRebuild;
    tree.push_back(item);
  }
}

}  // namespace

std::vector<MenuEntry> composeMenuTree(const std::vector<MenuEntry>& displayMenu,
                                       const std::vector<MenuEntry>& assemblyMenu) {
  std::vector<MenuEntry> tree;

  tree.push_back(top("mnu1", "&Getriebetyp  "));
  tree.push_back(typeItem("mnu11", "&Kurbelschwinge", 1));
  tree.push_back(typeItem("mnu12", "&Doppelkurbel", 2));
  tree.push_back(typeItem("mnu13", "D&oppelschwinge", 3));
  tree.push_back(typeItem("mnu14", "Do&ppelschwinge", 4));
  tree.push_back(typeItem("mnu15", "&Watt", 5));
  tree.push_back(typeItem("mnu16", "&Kurbelschleife", 6));
  tree.push_back(typeItem("mnu17", "K&urbelschwinge", 7));
  tree.push_back(typeItem("mnu18", "S&chubkurbel", 8));
  tree.push_back(typeItem("mnu19", "Doppel&schwinge", 9));
  tree.push_back(typeItem("mnu110", "Drei-Lagen-Synthese", 10));
  tree.push_back(typeItem("mnu112", "Vier-Lagen -Synthese", 0));  // no command

  addAnalysisMenu(tree);

  tree.push_back(top("mnu3", "&Synthese"));
  MenuEntry synthesis = top("mnu31", "&Vier Lagen einer Ebene");
  synthesis.parent = "mnu3";
  tree.push_back(synthesis);
  addTopicList(tree, "mnu31", 10,
               {"Aufgabe", "&Gegenpolviereck", "&Konstruktion", "&Mittelpunktskurve",
                "K&reispunktkurve", "&Schwingen"});

  tree.push_back(top("mnu60", " A&nzeigen    "));
  tree.insert(tree.end(), displayMenu.begin(), displayMenu.end());

  tree.push_back(top("mnu70", "&Montage"));
  tree.insert(tree.end(), assemblyMenu.begin(), assemblyMenu.end());

  MenuEntry examples = top("mnu8", "&Beispiele");
  examples.setType = 1;  // the examples show the four-bar
  tree.push_back(examples);
  MenuEntry plane = top("mnu81", "Komplan bewegte Ebene");
  plane.parent = "mnu8";
  tree.push_back(plane);
  addTopicList(tree, "mnu81", 9,
               {"Aufgabenstellung", "Momentanpol", "Geschwindigkeit", "Normalbeschleunigung",
                "Krümmungsmittelpnkte", "Beschleunigung", "Lagenort"});
  return tree;
}

const std::vector<MenuEntry>& menuTree(const Edition& edition) { return edition.menu; }

const std::vector<MenuEntry>& extrasMenu() {
  static const std::vector<MenuEntry> menu = [] {
    auto item = [](std::string name, std::string caption, WindowCommand command) {
      MenuEntry e;
      e.name = std::move(name);
      e.caption = std::move(caption);
      e.parent = "mnu90";
      e.windowCommand = command;
      return e;
    };
    std::vector<MenuEntry> m;
    MenuEntry extras = top("mnu90", "E&xtras");
    extras.windowCommand = WindowCommand::Menu;
    m.push_back(extras);
    MenuEntry panel = item("mnu91", "&Messwerte", WindowCommand::ValuesPanel);
    panel.checkable = true;
    panel.shortcut = "F11";
    m.push_back(panel);
    m.push_back(item("mnu9s1", "Einstellung &öffnen …", WindowCommand::OpenSetup));
    m.push_back(item("mnu9s2", "Einstellung s&peichern …", WindowCommand::SaveSetup));
    MenuEntry link = item("mnu9s4", "&Link kopieren", WindowCommand::CopyLink);
    link.pageOnly = true;
    m.push_back(link);
    m.push_back(item("mnu9s3", "&Maße …", WindowCommand::Dimensions));
    m.push_back(item("mnu9v1", "&Einpassen", WindowCommand::FitView));
    m.push_back(item("mnu9v2", "Ansicht zurücksetzen", WindowCommand::ResetView));
    MenuEntry projector = item("mnu9v3", "&Vortragsmodus", WindowCommand::ProjectorMode);
    projector.checkable = true;
    m.push_back(projector);
    m.push_back(item("mnu92", "Bild &kopieren", WindowCommand::CopyPicture));
    m.push_back(item("mnu93", "Bild &speichern …", WindowCommand::SavePicture));
    m.push_back(item("mnu94", "&Umlauf als Animation speichern …", WindowCommand::SaveAnimation));
    MenuEntry diagrams = item("mnu9d", "&Diagramme", WindowCommand::Diagrams);
    diagrams.checkable = true;
    diagrams.shortcut = "F10";
    m.push_back(diagrams);
    m.push_back(item("mnu9e", "Diagramme speichern …", WindowCommand::SaveDiagrams));
    return m;
  }();
  return menu;
}

const std::vector<MenuEntry>& exerciseMenu() {
  static const std::vector<MenuEntry> menu = [] {
    std::vector<MenuEntry> m;
    // Named apart from the numbered names of the common tree ("mnu110" is a type).
    m.push_back(top("mnuU", "Ü&bungen"));
    auto item = [&m](std::string caption, ExerciseCommand command, std::string shortcut) -> MenuEntry& {
      MenuEntry e;
      e.name = "mnuU" + std::to_string(m.size());
      e.caption = std::move(caption);
      e.parent = "mnuU";
      e.exerciseCommand = command;
      e.shortcut = std::move(shortcut);
      return m.emplace_back(std::move(e));
    };
    for (const ExerciseKindInfo& kind : exerciseKinds())
      item(std::string(kind.caption), ExerciseCommand::Start, "").exerciseKind = static_cast<int>(kind.kind);
    item("&Hinweis", ExerciseCommand::Hint, "H");
    item("&Lösung", ExerciseCommand::Solution, "L");
    item("&Nächste Übung", ExerciseCommand::Next, "N");
    MenuEntry& number = item("&Übung wählen …", ExerciseCommand::None, "");
    number.windowCommand = WindowCommand::ExerciseNumber;
    return m;
  }();
  return menu;
}

std::vector<MenuEntry> menuBarTree(const Edition& edition) {
  std::vector<MenuEntry> tree = menuTree(edition);
  tree.insert(tree.end(), extrasMenu().begin(), extrasMenu().end());
  tree.insert(tree.end(), exerciseMenu().begin(), exerciseMenu().end());
  return tree;
}

const MenuEntry* findMenuEntry(const std::vector<MenuEntry>& tree, std::string_view name) {
  for (const MenuEntry& e : tree) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

std::vector<const MenuEntry*> chosenPath(const std::vector<MenuEntry>& tree, const MenuEntry& item) {
  if (item.hasSubmenu) return {};
  std::vector<const MenuEntry*> path{&item};
  // Parents stand before their children, so the walk up ends.
  for (const MenuEntry* e = &item; !e->parent.empty();) {
    e = findMenuEntry(tree, e->parent);
    if (e == nullptr || path.size() > tree.size()) break;
    path.insert(path.begin(), e);
  }
  return path;
}

}  // namespace pm
