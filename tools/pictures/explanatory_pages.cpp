// Renders the explanatory pages from their text sources (data/pictures/source/pages).
//
// Source format of one topic, pages separated by a line "---":
//   # title         the page's title (first line of a page)
//   text            a paragraph (one source line each)
//   - text          a bullet item
//   [k]             anywhere in a line: a swatch of the fixed colour k ("a" … "p");
//   [=k]            of the palette colour k ("a" … "z"); a line that starts
//                   with a swatch is a legend item and hangs its further lines
//   >>              next column
// The body flows through two columns below the title; text that does not fit
// into the band is reported as overflow.
#include "explanatory_pages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "draw/colour_tables.h"
#include "help_pictures.h"

namespace pm::pictures {
namespace {

constexpr int kColumns = 2;
constexpr double kColumnGap = 20;
constexpr double kLineHeight = 14;
constexpr double kParagraphGap = 3;
constexpr double kTitleHeight = 24;
constexpr double kSwatchWidth = 20;
constexpr double kBulletIndent = 12;

struct Swatch {
  bool present = false;
  QColor colour;
};

// The colour a swatch token "[k]" or "[=k]" stands for, as the program draws
// that letter at the start values of the palette intensities; no swatch for
// any other word.
Swatch swatchOf(const QString& word) {
  Swatch s;
  if (word.size() < 3 || !word.startsWith('[') || !word.endsWith(']')) return s;
  const QString code = word.mid(1, word.size() - 2);
  const bool palette = code.startsWith('=');
  const QString letter = palette ? code.mid(1) : code;
  if (letter.size() != 1) return s;
  const int k = letter[0].unicode() - 'a';
  if (k < 0 || k >= (palette ? 26 : kFixedColourCount)) return s;
  const Rgb c = palette ? paletteColour(buildPalette(128, 196, 256, rgb(255, 255, 255)), k) : fixedColour(k);
  s.present = true;
  s.colour = QColor(c.r, c.g, c.b);
  return s;
}

struct Block {
  enum Kind { Paragraph, Bullet, ColumnBreak } kind = Paragraph;
  QString text;
};

std::vector<Block> parseBody(const QStringList& lines) {
  std::vector<Block> blocks;
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (line == ">>") {
      blocks.push_back({Block::ColumnBreak, {}});
    } else if (line.startsWith("- ")) {
      blocks.push_back({Block::Bullet, line.mid(2)});
    } else {
      blocks.push_back({Block::Paragraph, line});
    }
  }
  return blocks;
}

double wordWidth(const QString& word, const QFontMetricsF& metrics) {
  return swatchOf(word).present ? kSwatchWidth : metrics.horizontalAdvance(word);
}

// Breaks text into lines of words no wider than width (the first line may
// have its own width).
std::vector<QStringList> wrap(const QString& text, const QFontMetricsF& metrics, double firstWidth,
                              double width) {
  std::vector<QStringList> out;
  QStringList line;
  double used = 0;
  const double space = metrics.horizontalAdvance(' ');
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
    const double w = wordWidth(word, metrics);
    const double limit = out.empty() ? firstWidth : width;
    if (!line.isEmpty() && used + space + w > limit) {
      out.push_back(line);
      line.clear();
      used = 0;
    }
    used += (line.isEmpty() ? 0 : space) + w;
    line << word;
  }
  if (!line.isEmpty()) out.push_back(line);
  return out;
}

// Text with a thin white halo, so that it stays legible over lines of the
// construction or the grid that run behind it. It is drawn black here and
// takes the ink colour when the page becomes a palette image.
void drawText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font) {
  QPainterPath path;
  path.addText(baseline, font, text);
  p.strokePath(path, QPen(QColor(255, 255, 255), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.fillPath(path, QColor(0, 0, 0));
}

void drawSwatch(QPainter& p, const QPointF& topLeft, const QColor& colour, std::vector<SwatchArea>* areas) {
  const QRect frame(qRound(topLeft.x()) + 1, qRound(topLeft.y()) + 4, static_cast<int>(kSwatchWidth) - 3, 8);
  const QRect inside(frame.left() + 1, frame.top() + 1, frame.width() - 1, frame.height() - 1);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(0, 0, 0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame);
  p.fillRect(inside, colour);
  p.restore();
  areas->push_back({inside, colour});
}

// One line of words and swatches from x on.
void drawLine(QPainter& p, double x, double top, const QStringList& words, const QFont& font,
              std::vector<SwatchArea>* areas) {
  const QFontMetricsF metrics(font);
  const double space = metrics.horizontalAdvance(' ');
  QString run;
  double runX = x;
  auto flush = [&] {
    if (!run.isEmpty()) drawText(p, QPointF(runX, top + 12), run, font);
    run.clear();
  };
  for (const QString& word : words) {
    const Swatch s = swatchOf(word);
    if (s.present) {
      flush();
      drawSwatch(p, QPointF(x, top), s.colour, areas);
      x += kSwatchWidth + space;
      runX = x;
      continue;
    }
    if (!run.isEmpty()) run += ' ';
    run += word;
    x = runX + metrics.horizontalAdvance(run) + space;
  }
  flush();
}

}  // namespace

std::vector<PageSource> splitPages(const QString& source) {
  std::vector<PageSource> pages;
  PageSource current;
  bool any = false;
  for (const QString& line : source.split('\n')) {
    if (line.trimmed() == "---") {
      pages.push_back(current);
      current = {};
      any = false;
      continue;
    }
    if (!line.trimmed().isEmpty()) any = true;
    current.lines << line;
  }
  if (any) pages.push_back(current);
  return pages;
}

RenderedPage renderPage(const PageSource& page) {
  RenderedPage out;
  out.image = QImage(kPageWidth, kPageHeight, QImage::Format_ARGB32_Premultiplied);
  out.image.fill(Qt::transparent);
  QPainter p(&out.image);
  p.setRenderHint(QPainter::Antialiasing);

  const QFont titleFont = pictureFont(15, true), bodyFont = pictureFont(kBodyPixelSize, false);
  const QFontMetricsF body(bodyFont);
  QStringList lines = page.lines;
  while (!lines.isEmpty() && lines.front().trimmed().isEmpty()) lines.removeFirst();
  double top = kBandTop;
  if (!lines.isEmpty() && lines.front().trimmed().startsWith("# ")) {
    const QString title = lines.takeFirst().trimmed().mid(2);
    drawText(p, QPointF(kBandLeft, top + 15), title, titleFont);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(QPointF(kBandLeft, top + 19.5), QPointF(kBandRight, top + 19.5));
    if (QFontMetricsF(titleFont).horizontalAdvance(title) > kBandRight - kBandLeft) {
      out.overflow = true;
      out.overflowText = title;
    }
    top += kTitleHeight;
  }

  const double columnWidth = (kBandRight - kBandLeft - (kColumns - 1) * kColumnGap) / kColumns;
  int column = 0;
  double y = top;
  auto nextColumn = [&] {
    ++column;
    y = top;
  };
  for (const Block& b : parseBody(lines)) {
    if (b.kind == Block::ColumnBreak) {
      nextColumn();
      continue;
    }
    // A bullet and a line that starts with a swatch hang their further lines.
    const bool legend = swatchOf(b.text.section(' ', 0, 0)).present;
    const double indent = b.kind == Block::Bullet ? kBulletIndent : legend ? kSwatchWidth + body.horizontalAdvance(' ') : 0;
    const double firstIndent = b.kind == Block::Bullet ? kBulletIndent : 0;
    const auto wrapped = wrap(b.text, body, columnWidth - firstIndent, columnWidth - indent);
    if (y > top) y += kParagraphGap;
    for (std::size_t i = 0; i < wrapped.size(); ++i) {
      if (y + kLineHeight > kBandBottom) nextColumn();
      if (column >= kColumns) {
        if (!out.overflow) {
          out.overflow = true;
          out.overflowText = wrapped[i].join(' ');
        }
        break;
      }
      const double x = kBandLeft + column * (columnWidth + kColumnGap);
      if (i == 0 && b.kind == Block::Bullet) drawText(p, QPointF(x + 2, y + 12), QString::fromUtf8("–"), bodyFont);
      drawLine(p, x + (i == 0 ? firstIndent : indent), y, wrapped[i], bodyFont, &out.swatches);
      y += kLineHeight;
    }
    if (column >= kColumns) break;
  }
  return out;
}

PaletteImage toTransparentPalette(const RenderedPage& page) {
  const QImage image = page.image.convertToFormat(QImage::Format_ARGB32);
  PaletteImage out;
  out.width = image.width();
  out.height = image.height();
  out.palette.push_back({255, 255, 255});  // 0: transparent
  out.transparentIndex = 0;
  // 1 … 16: from the ink to white. Every step but white is tinted, so that no
  // edge of the text, however a window scales it, takes a grey of the program
  // (grid lines, the data read-out).
  for (int i = 0; i < 16; ++i) {
    auto step = [i](int ink) { return static_cast<std::uint8_t>(ink + (255 - ink) * i / 15); };
    out.palette.push_back({step(kInk[0]), step(kInk[1]), step(kInk[2])});
  }
  std::vector<std::uint8_t> swatchIndex;
  for (const SwatchArea& area : page.swatches) {
    const std::array<std::uint8_t, 3> c = {std::uint8_t(area.colour.red()), std::uint8_t(area.colour.green()),
                                           std::uint8_t(area.colour.blue())};
    auto it = std::find(out.palette.begin() + 17, out.palette.end(), c);
    if (it == out.palette.end() && out.palette.size() < 256) it = out.palette.insert(out.palette.end(), c);
    swatchIndex.push_back(static_cast<std::uint8_t>(it == out.palette.end() ? 1 : it - out.palette.begin()));
  }
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      std::size_t s = 0;
      while (s < page.swatches.size() && !page.swatches[s].inside.contains(x, y)) ++s;
      if (s < page.swatches.size()) {
        out.pixels.push_back(swatchIndex[s]);
        continue;
      }
      const QRgb px = image.pixel(x, y);
      const int a = qAlpha(px);
      if (a < 96) {
        out.pixels.push_back(0);
        continue;
      }
      // Lightness over white, as the drawing area shows it.
      const int grey = (qGray(px) * a + 255 * (255 - a)) / 255;
      out.pixels.push_back(static_cast<std::uint8_t>(1 + (grey + 8) / 17));
    }
  return out;
}

QStringList writeTopicPages(const QString& sourceFile, const QString& outFolder, QString* error) {
  QFile in(sourceFile);
  if (!in.open(QIODevice::ReadOnly)) {
    *error = "cannot read " + sourceFile;
    return {};
  }
  const QString base = QFileInfo(sourceFile).completeBaseName();
  const auto pages = splitPages(QString::fromUtf8(in.readAll()));
  QStringList written;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const RenderedPage page = renderPage(pages[i]);
    const QString name = base + QString::number(i) + ".gif";
    if (page.overflow) {
      *error = name + ": text does not fit into the band: \"" + page.overflowText + "\"";
      return {};
    }
    std::string reason;
    if (!writeGif(QFile::encodeName(QDir(outFolder).filePath(name)).toStdString(),
                  toTransparentPalette(page), reason)) {
      *error = "cannot write " + name + ": " + QString::fromStdString(reason);
      return {};
    }
    written << name;
  }
  return written;
}

}  // namespace pm::pictures
