// Help pictures ("BildF1.gif", "BildF8.gif", "Bild000.gif") from text sources.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "draw/qt/gif_writer.h"

namespace pm::pictures {

// Drawing area below the emblem's top edge: one picture pixel per drawing unit,
// shown with its top-left corner at (0, 40); the bottom lines stay free for the
// title, the file name and the topic header.
inline constexpr int kPictureWidth = 1022;
inline constexpr int kPictureHeight = 600;

// The font of all generated pictures (help pictures and explanatory pages).
QFont pictureFont(int pixelSize, bool bold);

QImage renderHelpPicture(const QString& source);
PaletteImage toGreyPalette(const QImage& image);
bool writeHelpPicture(const QString& sourceFile, const QString& gifFile);

}  // namespace pm::pictures
