// The explanatory pages the program ships: how many pages each topic has,
// their picture names and their text in an edition, parsed into blocks that
// the picture generator, the window's side panel and the browser page's panel
// lay out alike. The texts are the sources in data/pictures/source/pages,
// built into the program (page_sources.cpp is generated from them).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/colour.h"

namespace pm {

struct Edition;

// One page: topic group, topic (0 for the start pages of group 1) and page.
struct PageRef {
  int group = 0;
  int topic = 0;
  int page = 0;
  friend bool operator==(const PageRef&, const PageRef&) = default;
};

// The band the page pictures cover, from y = 40 down to this, in drawing units.
inline constexpr double kPageBandBottom = 212;

// Pages the program ships for a topic; 0 for a topic without pages (a topic
// number the stepping moves on, or one outside the catalogue). Group and topic
// are state fields, so any double is accepted.
int pageCount(double group, double topic);

// "Bild" + group + topic + page + ".gif".
std::string pageFileName(PageRef p);

// The shipped page whose picture has that name.
std::optional<PageRef> pageOfFile(std::string_view fileName);

// The page's source text with the edition's names (see withEditionNames);
// "" for a page that is not shipped.
std::string pageText(const Edition& edition, PageRef p);

// Every shipped page, topic by topic, in the order of the sources.
std::vector<PageRef> shippedPages();

// --- the source format ------------------------------------------------------
// A topic's source holds its pages, separated by lines "---". In a page:
//   # title         the first line
//   text            a paragraph (one source line each)
//   - text          a bullet item
//   [k]             a word of its own: a swatch of the fixed colour k ("a" … "p");
//   [=k]            of the palette colour k ("a" … "z") at the start intensities;
//                   a line that starts with a swatch is a legend item
//   >>              next column (of the picture; the panel reads on)
//   {Name}          the key of an action in the edition ("{Texte}" is F3 in
//                   Planimove, F9 in Rautenwerk); {Programm} is the edition's name
//   {a|b}           text a in Planimove, text b in Rautenwerk

std::vector<std::string> splitPages(std::string_view topicSource);

// The text with the edition's key names and alternatives. Names that are no
// action, or actions without a key in the edition, are left as they stand and
// reported in *unknown (one a line).
std::string withEditionNames(std::string_view text, const Edition& edition,
                             std::string* unknown = nullptr);

// The key that performs a named action in an edition ("Umschalt+F8"); "" when
// the name is unknown or no key of the edition performs it.
std::string actionKeyName(std::string_view action, const Edition& edition);

// A piece of a line: text, or a colour swatch.
struct PageRun {
  std::string text;
  bool swatch = false;
  Rgb colour;
};

struct PageBlock {
  enum class Kind { Title, Paragraph, Bullet, Legend, NextColumn };
  Kind kind = Kind::Paragraph;
  std::vector<PageRun> runs;  // in reading order; text runs are whole words
};

std::vector<PageBlock> parsePage(std::string_view pageText);

// The swatch a word stands for ("[k]", "[=k]"), if it is one.
std::optional<Rgb> swatchColour(std::string_view word);

// "Tafel 2 von 3"; "" for a topic with one page.
std::string pageNumberText(PageRef p);

}  // namespace pm
