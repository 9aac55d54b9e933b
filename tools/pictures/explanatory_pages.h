// Explanatory pages ("Bild" + group + topic + page + ".gif") from text sources.
//
// A page is shown like every background picture, one picture pixel per drawing
// unit with its top-left corner at (0, 40), and the construction is drawn over
// it. Its background is transparent, so the drawing area and the grid show
// through, and its text stays inside a band along the top of the drawing area:
// left of the emblem and of the column of the data read-out (F6), above the
// mechanisms, the velocity plan and the acceleration plan at their start positions.
//
// The source format and its parser are the core's (topics/page_catalogue.h), so
// that the pictures and the side panel of the window and of the browser page
// show the same text.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "draw/qt/gif_writer.h"

namespace pm::pictures {

// Size of a page picture (picture pixels = drawing units from (0, 40)).
inline constexpr int kPageWidth = 816;
inline constexpr int kPageHeight = 172;
// The text band inside the page picture, in picture pixels.
inline constexpr int kBandLeft = 10;
inline constexpr int kBandTop = 2;
inline constexpr int kBandRight = 812;
inline constexpr int kBandBottom = 170;
// Pixel size of the body text (drawing units).
inline constexpr int kBodyPixelSize = 13;

// One page: its text with an edition's names, and "Tafel 1 von 2" where the
// topic has several pages.
struct PageSource {
  QString text;
  QString number;
};

// Colour of the text, the title rule and the swatch frames: a dark blue that
// is no grey, so that the text never looks like a grid line or a data listing.
inline constexpr int kInk[3] = {24, 24, 72};

// The coloured inside of a legend swatch, in picture pixels.
struct SwatchArea {
  QRect inside;
  QColor colour;
};

struct RenderedPage {
  QImage image;          // kPageWidth x kPageHeight, ARGB, transparent outside the ink
  std::vector<SwatchArea> swatches;
  bool overflow = false;  // some text did not fit into the band
  QString overflowText;   // the first words that did not fit
};

RenderedPage renderPage(const PageSource& page);

// Palette image with index 0 transparent: steps from the ink to white for the
// text and its halo, and the exact colours of the legend swatches.
PaletteImage toTransparentPalette(const RenderedPage& page);

// The folder below the picture folder that holds the pages of Rautenwerk
// whose text differs from Planimove's (other key names).
inline constexpr char kRautenwerkFolder[] = "rautenwerk";

// The pages of one topic source "Bild" + group + topic + ".txt" in an edition.
std::vector<PageSource> topicPages(const QString& source, bool rautenwerk, QString* error);

// The source file of a topic is "Bild" + group + topic + ".txt"; its pages
// become "Bild" + group + topic + page + ".gif" in outFolder, and where
// Rautenwerk's text differs, in outFolder/rautenwerk as well. Returns the file
// names written (relative to outFolder), or an empty list with a message in *error.
QStringList writeTopicPages(const QString& sourceFile, const QString& outFolder, QString* error);

}  // namespace pm::pictures
