// Renders the help pictures from their text sources (data/pictures/source) into
// GIF files sized for the drawing area.
//
// Source format, one item a line:
//   # title         the picture's title
//   ## heading      a group of keys
//   key|meaning     one row: key column, meaning column
//   >>              next column
// A heading moves to the next column with its rows where they would run past
// the bottom; where the columns are then too wide for the picture, fonts and
// rows shrink (down to 70 %), and a picture that still does not fit is refused.
#include "help_pictures.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTextStream>

#include "draw/qt/gif_writer.h"

namespace pm::pictures {
namespace {

struct Item {
  enum Kind { Title, Heading, Row, NextColumn } kind;
  QString key, meaning;
};

std::vector<Item> parse(const QString& text) {
  std::vector<Item> items;
  for (const QString& raw : text.split('\n')) {
    const QString line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith("## ")) {
      items.push_back({Item::Heading, line.mid(3), {}});
    } else if (line.startsWith("# ")) {
      items.push_back({Item::Title, line.mid(2), {}});
    } else if (line == ">>") {
      items.push_back({Item::NextColumn, {}, {}});
    } else {
      const int bar = line.indexOf('|');
      items.push_back(
          {Item::Row, bar < 0 ? line : line.left(bar).trimmed(), bar < 0 ? QString() : line.mid(bar + 1).trimmed()});
    }
  }
  return items;
}

}  // namespace

QFont pictureFont(int pixelSize, bool bold) {
  QFont f("Liberation Sans");
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

namespace {

constexpr double kLeft = 30, kTop = 20, kColumnGap = 20, kKeyGap = 12;
constexpr double kBottom = kPictureHeight - 6;
// Smallest scale of the fonts and rows before the picture counts as overflowing.
constexpr double kSmallestScale = 0.7;

// Fonts and spacing of one scale.
struct Metrics {
  explicit Metrics(double s)
      : scale(s),
        title(pictureFont(22, true)),
        heading(pictureFont(qRound(15 * s), true)),
        row(pictureFont(qRound(13 * s), false)),
        key(pictureFont(qRound(13 * s), true)) {}
  double scale;
  QFont title, heading, row, key;
  double rowHeight() const { return 19 * scale; }
  double headingHeight() const { return 28 * scale; }
  double headingGap() const { return 10 * scale; }
};

// An item placed in a column at a height.
struct Placed {
  const Item* item;
  int column;
  double y;
};

// Places the items at one scale: a heading and its rows move to the next
// column where they would run past the bottom (rows of a group longer than a
// column continue there), ">>" starts a column. False when the columns do not
// fit side by side; *columnX, *columnWidth and *keyWidth give the columns.
bool layOut(const std::vector<Item>& items, const Metrics& m, std::vector<Placed>* placed,
            std::vector<double>* columnX, std::vector<double>* columnWidth, std::vector<double>* keyWidth) {
  placed->clear();
  double bodyTop = kTop;
  double y = kTop;
  int column = 0;
  auto nextColumn = [&] {
    ++column;
    y = bodyTop;
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    switch (it.kind) {
      case Item::Title:
        placed->push_back({&it, 0, y});
        y += 60;  // keeps the body below the emblem at the top right
        bodyTop = y;
        break;
      case Item::Heading: {
        double group = m.headingHeight();
        for (std::size_t k = i + 1; k < items.size() && items[k].kind == Item::Row; ++k) group += m.rowHeight();
        const double gap = y > bodyTop ? m.headingGap() : 0;
        if (y > bodyTop && y + gap + std::min(group, kBottom - bodyTop) > kBottom) nextColumn();
        if (y > bodyTop) y += m.headingGap();
        placed->push_back({&it, column, y});
        y += m.headingHeight();
        break;
      }
      case Item::Row:
        if (y + m.rowHeight() > kBottom) nextColumn();
        placed->push_back({&it, column, y});
        y += m.rowHeight();
        break;
      case Item::NextColumn:
        nextColumn();
        break;
    }
  }
  const int columns = column + 1;
  const QFontMetricsF keyMetrics(m.key), rowMetrics(m.row), headingMetrics(m.heading);
  keyWidth->assign(columns, 0);
  std::vector<double> natural(columns, 0);
  for (const Placed& p : *placed)
    if (p.item->kind == Item::Row)
      (*keyWidth)[p.column] = std::max((*keyWidth)[p.column], keyMetrics.horizontalAdvance(p.item->key));
  for (const Placed& p : *placed) {
    if (p.item->kind == Item::Row)
      natural[p.column] = std::max(natural[p.column], (*keyWidth)[p.column] + kKeyGap +
                                                          rowMetrics.horizontalAdvance(p.item->meaning));
    if (p.item->kind == Item::Heading)
      natural[p.column] = std::max(natural[p.column], headingMetrics.horizontalAdvance(p.item->key));
  }
  double total = 0;
  for (double w : natural) total += w;
  const double available = kPictureWidth - 2 * kLeft - (columns - 1) * kColumnGap;
  // Each column is as wide as its widest row; the room left over is shared.
  columnX->assign(columns, kLeft);
  columnWidth->assign(columns, 0);
  for (int c = 0; c < columns; ++c) {
    (*columnWidth)[c] = natural[c] + std::max(0.0, available - total) / columns;
    if (c > 0) (*columnX)[c] = (*columnX)[c - 1] + (*columnWidth)[c - 1] + kColumnGap;
  }
  return total <= available;
}

}  // namespace

QImage renderHelpPicture(const QString& source, bool* fits) {
  const auto items = parse(source);
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(QColor(0, 0, 0));

  // The largest scale at which everything fits, from the full size down.
  std::vector<Placed> placed;
  std::vector<double> columnX, columnWidth, keyWidth;
  double scale = 1;
  bool fitted = false;
  for (; scale >= kSmallestScale - 1e-9; scale -= 0.05) {
    if ((fitted = layOut(items, Metrics(scale), &placed, &columnX, &columnWidth, &keyWidth))) break;
  }
  if (!fitted) scale = kSmallestScale;
  const Metrics m(scale);
  if (!fitted) layOut(items, m, &placed, &columnX, &columnWidth, &keyWidth);
  if (fits) *fits = fitted;

  for (const Placed& it : placed) {
    const double x = columnX[it.column];
    switch (it.item->kind) {
      case Item::Title:
        p.setFont(m.title);
        p.drawText(QPointF(kLeft, it.y + 22), it.item->key);
        break;
      case Item::Heading:
        p.setFont(m.heading);
        p.drawText(QPointF(x, it.y + 15 * scale), it.item->key);
        p.drawLine(QPointF(x, it.y + 20 * scale), QPointF(x + columnWidth[it.column], it.y + 20 * scale));
        break;
      case Item::Row:
        p.setFont(m.key);
        p.drawText(QPointF(x, it.y + 13 * scale), it.item->key);
        p.setFont(m.row);
        p.drawText(QPointF(x + keyWidth[it.column] + kKeyGap, it.y + 13 * scale), it.item->meaning);
        break;
      case Item::NextColumn:
        break;
    }
  }
  return image;
}

PaletteImage toGreyPalette(const QImage& image) {
  PaletteImage out;
  out.width = image.width();
  out.height = image.height();
  for (int i = 0; i < 16; ++i) {
    const auto v = static_cast<std::uint8_t>(i * 17);
    out.palette.push_back({v, v, v});
  }
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      out.pixels.push_back(static_cast<std::uint8_t>((qGray(image.pixel(x, y)) + 8) / 17));
  return out;
}

bool writeHelpPicture(const QString& sourceFile, const QString& gifFile, QString* error) {
  QFile in(sourceFile);
  if (!in.open(QIODevice::ReadOnly)) {
    *error = "cannot read " + sourceFile;
    return false;
  }
  const QString text = QString::fromUtf8(in.readAll());
  bool fits = false;
  const QImage image = renderHelpPicture(text, &fits);
  if (!fits) {
    *error = sourceFile + ": the rows do not fit into the picture, even at the smallest font";
    return false;
  }
  std::string reason;
  if (!writeGif(QFile::encodeName(gifFile).toStdString(), toGreyPalette(image), reason)) {
    *error = "cannot write " + gifFile + ": " + QString::fromStdString(reason);
    return false;
  }
  return true;
}

}  // namespace pm::pictures
