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

// The picture of a source; *fits tells whether every row found its place.
QImage renderHelpPicture(const QString& source, bool* fits = nullptr);
PaletteImage toGreyPalette(const QImage& image);
// False and a message when the source cannot be read, does not fit or the
// file cannot be written.
bool writeHelpPicture(const QString& sourceFile, const QString& gifFile, QString* error);

}  // namespace pm::pictures
