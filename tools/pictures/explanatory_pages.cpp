// Renders the explanatory pages from their text sources (data/pictures/source/pages)
// in the format that topics/page_catalogue.h describes, for each edition: the
// pages of Planimove, and those of Rautenwerk whose text names other keys.
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
#include <optional>

#include "help_pictures.h"
#include "shell/edition.h"
#include "topics/page_catalogue.h"

namespace pm::pictures {
namespace {

static_assert(40 + kPageHeight == kPageBandBottom, "the band that the core keeps free is the pages' band");

constexpr int kColumns = 2;
constexpr double kColumnGap = 20;
constexpr double kLineHeight = 14;
constexpr double kParagraphGap = 3;
constexpr double kTitleHeight = 24;
constexpr double kSwatchWidth = 20;
constexpr double kBulletIndent = 12;

// A word of a line, or a colour swatch.
struct Word {
  QString text;
  std::optional<QColor> swatch;
};

std::vector<Word> wordsOf(const PageBlock& block) {
  std::vector<Word> words;
  for (const PageRun& run : block.runs) {
    if (run.swatch) {
      words.push_back({{}, QColor(run.colour.r, run.colour.g, run.colour.b)});
      continue;
    }
    for (const QString& w : QString::fromStdString(run.text).split(' ', Qt::SkipEmptyParts)) words.push_back({w, {}});
  }
  return words;
}

double wordWidth(const Word& word, const QFontMetricsF& metrics) {
  return word.swatch ? kSwatchWidth : metrics.horizontalAdvance(word.text);
}

QString joined(const std::vector<Word>& words) {
  QStringList out;
  for (const Word& w : words) out << (w.swatch ? QStringLiteral("[]") : w.text);
  return out.join(' ');
}

// Breaks the words into lines no wider than width (the first line may have
// its own width).
std::vector<std::vector<Word>> wrap(const std::vector<Word>& words, const QFontMetricsF& metrics,
                                    double firstWidth, double width) {
  std::vector<std::vector<Word>> out;
  std::vector<Word> line;
  double used = 0;
  const double space = metrics.horizontalAdvance(' ');
  for (const Word& word : words) {
    const double w = wordWidth(word, metrics);
    const double limit = out.empty() ? firstWidth : width;
    if (!line.empty() && used + space + w > limit) {
      out.push_back(line);
      line.clear();
      used = 0;
    }
    used += (line.empty() ? 0 : space) + w;
    line.push_back(word);
  }
  if (!line.empty()) out.push_back(line);
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
void drawLine(QPainter& p, double x, double top, const std::vector<Word>& words, const QFont& font,
              std::vector<SwatchArea>* areas) {
  const QFontMetricsF metrics(font);
  const double space = metrics.horizontalAdvance(' ');
  QString run;
  double runX = x;
  auto flush = [&] {
    if (!run.isEmpty()) drawText(p, QPointF(runX, top + 12), run, font);
    run.clear();
  };
  for (const Word& word : words) {
    if (word.swatch) {
      flush();
      drawSwatch(p, QPointF(x, top), *word.swatch, areas);
      x += kSwatchWidth + space;
      runX = x;
      continue;
    }
    if (!run.isEmpty()) run += ' ';
    run += word.text;
    x = runX + metrics.horizontalAdvance(run) + space;
  }
  flush();
}

}  // namespace

RenderedPage renderPage(const PageSource& page) {
  RenderedPage out;
  out.image = QImage(kPageWidth, kPageHeight, QImage::Format_ARGB32_Premultiplied);
  out.image.fill(Qt::transparent);
  QPainter p(&out.image);
  p.setRenderHint(QPainter::Antialiasing);

  const QFont titleFont = pictureFont(15, true), bodyFont = pictureFont(kBodyPixelSize, false);
  const QFontMetricsF body(bodyFont);
  std::vector<PageBlock> blocks = parsePage(page.text.toStdString());
  double top = kBandTop;
  if (!blocks.empty() && blocks.front().kind == PageBlock::Kind::Title) {
    const QString title = joined(wordsOf(blocks.front()));
    blocks.erase(blocks.begin());
    drawText(p, QPointF(kBandLeft, top + 15), title, titleFont);
    // The page number at the right end of the title line.
    double numberWidth = 0;
    if (!page.number.isEmpty()) {
      numberWidth = body.horizontalAdvance(page.number) + kColumnGap;
      drawText(p, QPointF(kBandRight - body.horizontalAdvance(page.number), top + 15), page.number, bodyFont);
    }
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(QPointF(kBandLeft, top + 19.5), QPointF(kBandRight, top + 19.5));
    if (QFontMetricsF(titleFont).horizontalAdvance(title) + numberWidth > kBandRight - kBandLeft) {
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
  for (const PageBlock& b : blocks) {
    if (b.kind == PageBlock::Kind::NextColumn) {
      nextColumn();
      continue;
    }
    // A bullet and a legend item hang their further lines.
    const bool bullet = b.kind == PageBlock::Kind::Bullet;
    const double indent = bullet                                ? kBulletIndent
                          : b.kind == PageBlock::Kind::Legend ? kSwatchWidth + body.horizontalAdvance(' ')
                                                                : 0;
    const double firstIndent = bullet ? kBulletIndent : 0;
    const auto wrapped = wrap(wordsOf(b), body, columnWidth - firstIndent, columnWidth - indent);
    if (y > top) y += kParagraphGap;
    for (std::size_t i = 0; i < wrapped.size(); ++i) {
      if (y + kLineHeight > kBandBottom) nextColumn();
      if (column >= kColumns) {
        if (!out.overflow) {
          out.overflow = true;
          out.overflowText = joined(wrapped[i]);
        }
        break;
      }
      const double x = kBandLeft + column * (columnWidth + kColumnGap);
      if (i == 0 && bullet) drawText(p, QPointF(x + 2, y + 12), QString::fromUtf8("–"), bodyFont);
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

std::vector<PageSource> topicPages(const QString& source, bool rautenwerk, QString* error) {
  const Edition& edition = rautenwerk ? rautenwerkEdition() : planimoveEdition();
  const std::vector<std::string> pages = splitPages(source.toStdString());
  std::vector<PageSource> out;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    std::string unknown;
    PageSource page;
    page.text = QString::fromStdString(withEditionNames(pages[i], edition, &unknown));
    if (pages.size() > 1)
      page.number = QStringLiteral("Tafel %1 von %2").arg(i + 1).arg(pages.size());
    if (!unknown.empty() && error) {
      *error = QStringLiteral("page %1 names what %2 has no key for: %3")
                   .arg(i)
                   .arg(QString::fromStdString(edition.name), QString::fromStdString(unknown).trimmed());
    }
    out.push_back(page);
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
  const QString source = QString::fromUtf8(in.readAll());
  QString unknown;
  const std::vector<PageSource> planimove = topicPages(source, false, &unknown);
  const std::vector<PageSource> rautenwerk = topicPages(source, true, &unknown);
  if (!unknown.isEmpty()) {
    *error = unknown;
    return {};
  }
  QStringList written;
  auto write = [&](const PageSource& page, const QString& name) {
    const RenderedPage rendered = renderPage(page);
    if (rendered.overflow) {
      *error = name + ": text does not fit into the band: \"" + rendered.overflowText + "\"";
      return false;
    }
    std::string reason;
    if (!writeGif(QFile::encodeName(QDir(outFolder).filePath(name)).toStdString(), toTransparentPalette(rendered),
                  reason)) {
      *error = "cannot write " + name + ": " + QString::fromStdString(reason);
      return false;
    }
    written << name;
    return true;
  };
  const QString ownFolder = QString::fromLatin1(kRautenwerkFolder) + '/';
  for (std::size_t i = 0; i < planimove.size(); ++i) {
    const QString name = base + QString::number(i) + ".gif";
    if (!write(planimove[i], name)) return {};
    // Rautenwerk shows Planimove's picture unless its text differs.
    const QString own = QDir(outFolder).filePath(ownFolder + name);
    if (rautenwerk[i].text == planimove[i].text) {
      QFile::remove(own);
      continue;
    }
    QDir(outFolder).mkpath(QString::fromLatin1(kRautenwerkFolder));
    if (!write(rautenwerk[i], ownFolder + name)) return {};
  }
  return written;
}

}  // namespace pm::pictures
