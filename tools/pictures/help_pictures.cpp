// Renders the help pictures from their text sources (data/pictures/source) into
// GIF files sized for the drawing area.
//
// Source format, one item a line:
//   # title         the picture's title
//   ## heading      a group of keys
//   key|meaning     one row: key column, meaning column
//   >>              next column
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

QImage renderHelpPicture(const QString& source) {
  const auto items = parse(source);
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(QColor(0, 0, 0));

  int columns = 1;
  for (const auto& it : items) columns += it.kind == Item::NextColumn;
  const double left = 30, top = 20, columnGap = 20, keyGap = 12;

  const QFont titleFont = pictureFont(22, true), headingFont = pictureFont(15, true), rowFont = pictureFont(13, false),
              keyFont = pictureFont(13, true);
  const QFontMetricsF keyMetrics(keyFont), rowMetrics(rowFont), headingMetrics(headingFont);
  // Each column is as wide as its widest key plus its widest meaning; the
  // columns are then stretched or squeezed to fill the width of the picture.
  std::vector<double> keyWidth(columns, 0), naturalWidth(columns, 0);
  for (int c = 0; const auto& it : items) {
    if (it.kind == Item::NextColumn) ++c;
    if (it.kind == Item::Row) keyWidth[c] = std::max(keyWidth[c], keyMetrics.horizontalAdvance(it.key));
  }
  for (int c = 0; const auto& it : items) {
    if (it.kind == Item::NextColumn) ++c;
    if (it.kind == Item::Row)
      naturalWidth[c] = std::max(naturalWidth[c], keyWidth[c] + keyGap + rowMetrics.horizontalAdvance(it.meaning));
    if (it.kind == Item::Heading)
      naturalWidth[c] = std::max(naturalWidth[c], headingMetrics.horizontalAdvance(it.key));
  }
  double natural = 0;
  for (double w : naturalWidth) natural += w;
  const double available = kPictureWidth - 2 * left - (columns - 1) * columnGap;
  std::vector<double> columnX(columns, left), columnWidth(columns, 0);
  for (int c = 0; c < columns; ++c) {
    columnWidth[c] = natural > available ? naturalWidth[c] * available / natural
                                         : naturalWidth[c] + (available - natural) / columns;
    if (c > 0) columnX[c] = columnX[c - 1] + columnWidth[c - 1] + columnGap;
  }

  double y = top;
  int column = 0;
  double bodyTop = top;
  for (const auto& it : items) {
    const double x = columnX[column];
    const double width = columnWidth[column];
    switch (it.kind) {
      case Item::Title:
        p.setFont(titleFont);
        p.drawText(QPointF(left, y + 22), it.key);
        y += 60;  // keeps the body below the emblem at the top right
        bodyTop = y;
        break;
      case Item::Heading:
        if (y > bodyTop) y += 10;
        p.setFont(headingFont);
        p.drawText(QPointF(x, y + 15), it.key);
        p.drawLine(QPointF(x, y + 20), QPointF(x + width, y + 20));
        y += 28;
        break;
      case Item::Row:
        p.setFont(keyFont);
        p.drawText(QPointF(x, y + 13), it.key);
        p.setFont(rowFont);
        p.drawText(QPointF(x + keyWidth[column] + keyGap, y + 13), it.meaning);
        y += 19;
        break;
      case Item::NextColumn:
        ++column;
        y = bodyTop;
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

bool writeHelpPicture(const QString& sourceFile, const QString& gifFile) {
  QFile in(sourceFile);
  if (!in.open(QIODevice::ReadOnly)) return false;
  const QString text = QString::fromUtf8(in.readAll());
  std::string error;
  return writeGif(QFile::encodeName(gifFile).toStdString(), toGreyPalette(renderHelpPicture(text)),
                  error);
}

}  // namespace pm::pictures
