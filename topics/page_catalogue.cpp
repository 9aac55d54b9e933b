#include "topics/page_catalogue.h"

#include <cmath>
#include <map>

#include "draw/colour_tables.h"
#include "shell/edition.h"
#include "topics/page_sources.h"

namespace pm {
namespace {

// The digits of a whole, non-negative state field; "" for anything else.
std::string digitsOf(double v) {
  if (!(v >= 0 && v < 1e6) || v != std::trunc(v)) return {};
  return std::to_string(static_cast<long>(v));
}

// The built-in pages, by the digits of group and topic.
const std::map<std::string, std::vector<std::string>, std::less<>>& pagesByTopic() {
  static const auto pages = [] {
    std::map<std::string, std::vector<std::string>, std::less<>> m;
    for (const TopicSource& s : topicSources()) m[std::string(s.digits)] = splitPages(s.text);
    return m;
  }();
  return pages;
}

const std::vector<std::string>* pagesOf(double group, double topic) {
  const std::string g = digitsOf(group), t = digitsOf(topic);
  if (g.empty() || t.empty()) return nullptr;
  const auto& m = pagesByTopic();
  const auto it = m.find(g + t);
  return it == m.end() ? nullptr : &it->second;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The actions a page can name, by the word it names them with.
struct NamedAction {
  std::string_view name;
  FunctionKeyAction action;
};
constexpr NamedAction kActions[] = {
    {"Hilfe", FunctionKeyAction::ToggleHelp},
    {"Vorführung", FunctionKeyAction::Demonstration},
    {"Texte", FunctionKeyAction::ToggleTextPictures},
    {"Gelenkbuchstaben", FunctionKeyAction::ToggleJointLetters},
    {"Gliedbuchstaben", FunctionKeyAction::ToggleLinkLetters},
    {"Daten", FunctionKeyAction::ToggleDataListing},
    {"Umlauf", FunctionKeyAction::FullRevolutionRun},
    {"Tastenübersicht", FunctionKeyAction::ToggleKeyOverview},
    {"Koppeldreiecke", FunctionKeyAction::FlipCouplerTriangles},
    {"Umklappen", FunctionKeyAction::FlipLoop},
    {"Spiegeln", FunctionKeyAction::MirrorDrive},
    {"Zweischlag", FunctionKeyAction::FlipDyad},
    {"Koppel umklappen", FunctionKeyAction::FlipSixBarCoupler},
    {"Punktbuchstaben", FunctionKeyAction::TogglePointLetters},
    {"Raster", FunctionKeyAction::ToggleGrid},
    {"Faktor x", FunctionKeyAction::ToggleParameterX},
    {"Vorgaben", FunctionKeyAction::TogglePresetStrings},
};

std::string replacement(std::string_view inside, const Edition& edition, bool* known) {
  *known = true;
  if (const std::size_t bar = inside.find('|'); bar != std::string_view::npos)
    return std::string(edition.id == EditionId::Planimove ? inside.substr(0, bar) : inside.substr(bar + 1));
  if (inside == "Programm") return edition.name;
  const std::string key = actionKeyName(inside, edition);
  *known = !key.empty();
  return key;
}

}  // namespace

int pageCount(double group, double topic) {
  const auto* pages = pagesOf(group, topic);
  return pages ? static_cast<int>(pages->size()) : 0;
}

std::string pageFileName(PageRef p) {
  return "Bild" + std::to_string(p.group) + std::to_string(p.topic) + std::to_string(p.page) + ".gif";
}

std::optional<PageRef> pageOfFile(std::string_view fileName) {
  // Asked at every picture the page shows: the names are made once.
  static const auto pages = [] {
    std::map<std::string, PageRef, std::less<>> m;
    for (const PageRef& p : shippedPages()) m.emplace(pageFileName(p), p);
    return m;
  }();
  const auto it = pages.find(fileName);
  if (it == pages.end()) return std::nullopt;
  return it->second;
}

std::string pageText(const Edition& edition, PageRef p) {
  const auto* pages = pagesOf(p.group, p.topic);
  if (!pages || p.page < 0 || p.page >= static_cast<int>(pages->size())) return {};
  return withEditionNames((*pages)[static_cast<std::size_t>(p.page)], edition);
}

std::vector<PageRef> shippedPages() {
  std::vector<PageRef> out;
  for (int group = 1; group <= 10; ++group)
    for (int topic = 0; topic <= 9; ++topic)
      for (int page = 0; page < pageCount(group, topic); ++page) out.push_back({group, topic, page});
  return out;
}

std::vector<std::string> splitPages(std::string_view source) {
  std::vector<std::string> pages;
  std::string current;
  bool any = false;
  while (!source.empty()) {
    const std::size_t end = source.find('\n');
    const std::string_view line = source.substr(0, end);
    source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
    if (trimmed(line) == "---") {
      pages.push_back(std::move(current));
      current.clear();
      any = false;
      continue;
    }
    if (!trimmed(line).empty()) any = true;
    current.append(line).push_back('\n');
  }
  if (any) pages.push_back(std::move(current));
  return pages;
}

std::string actionKeyName(std::string_view action, const Edition& edition) {
  for (const NamedAction& a : kActions) {
    if (a.name != action) continue;
    for (int shift = 0; shift <= 1; ++shift) {
      const auto& keys = shift == 0 ? edition.functionKeys : edition.shiftFunctionKeys;
      for (std::size_t k = 0; k < keys.size(); ++k)
        if (keys[k] == a.action) return (shift ? "Umschalt+F" : "F") + std::to_string(k + 1);
    }
  }
  return {};
}

std::string withEditionNames(std::string_view text, const Edition& edition, std::string* unknown) {
  std::string out;
  while (!text.empty()) {
    const std::size_t open = text.find('{');
    const std::size_t close = open == std::string_view::npos ? open : text.find('}', open);
    if (close == std::string_view::npos) break;
    out.append(text.substr(0, open));
    const std::string_view inside = text.substr(open + 1, close - open - 1);
    bool known = false;
    const std::string r = replacement(inside, edition, &known);
    if (known) {
      out += r;
    } else {
      out.append(text.substr(open, close - open + 1));
      if (unknown) unknown->append(inside).push_back('\n');
    }
    text.remove_prefix(close + 1);
  }
  out.append(text);
  return out;
}

std::optional<Rgb> swatchColour(std::string_view word) {
  if (word.size() < 3 || word.front() != '[' || word.back() != ']') return std::nullopt;
  std::string_view code = word.substr(1, word.size() - 2);
  const bool palette = !code.empty() && code.front() == '=';
  if (palette) code.remove_prefix(1);
  if (code.size() != 1) return std::nullopt;
  const int k = code[0] - 'a';
  if (k < 0 || k >= (palette ? 26 : kFixedColourCount)) return std::nullopt;
  // The palette at the start intensities over the white drawing area.
  return palette ? paletteColour(buildPalette(128, 196, 256, rgb(255, 255, 255)), k) : fixedColour(k);
}

std::vector<PageBlock> parsePage(std::string_view text) {
  std::vector<PageBlock> blocks;
  bool first = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;
    PageBlock b;
    if (first && line.starts_with("# ")) {
      b.kind = PageBlock::Kind::Title;
      line.remove_prefix(2);
    } else if (line == ">>") {
      b.kind = PageBlock::Kind::NextColumn;
      line = {};
    } else if (line.starts_with("- ")) {
      b.kind = PageBlock::Kind::Bullet;
      line.remove_prefix(2);
    }
    first = false;
    while (!line.empty()) {
      const std::size_t space = line.find(' ');
      const std::string_view word = line.substr(0, space);
      line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
      if (word.empty()) continue;
      if (const auto colour = swatchColour(word)) {
        if (b.runs.empty() && b.kind == PageBlock::Kind::Paragraph) b.kind = PageBlock::Kind::Legend;
        b.runs.push_back({{}, true, *colour});
      } else if (!b.runs.empty() && !b.runs.back().swatch) {
        b.runs.back().text.append(" ").append(word);
      } else {
        b.runs.push_back({std::string(word), false, {}});
      }
    }
    blocks.push_back(std::move(b));
  }
  return blocks;
}

std::string pageNumberText(PageRef p) {
  const int n = pageCount(p.group, p.topic);
  if (n <= 1) return {};
  return "Tafel " + std::to_string(p.page + 1) + " von " + std::to_string(n);
}

}  // namespace pm
