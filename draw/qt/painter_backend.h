// Replays a display list with QPainter: the user scale (0, 40)-(1022, 731) is
// mapped onto a target rectangle; lines, fills and text scale with it and are
// antialiased, so the picture is crisp at any size and device-pixel ratio. A
// list drawn in a frame of its own (the diagrams' sheet) names that frame.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QRectF>
#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QImage>
#include <QtGui/QTransform>
#include <filesystem>
#include <string>

#include "draw/canvas.h"
#include "draw/colour.h"
#include "draw/display_list.h"

class QPainter;

namespace pm {

// Size of the user scale in drawing units, and the default picture size in pixels.
inline constexpr int kPictureWidth = 1022;
inline constexpr int kPictureHeight = 691;

// The rectangle of drawing units the picture spans: the user scale.
QRectF userScaleFrame();

// The transform from drawing units onto the target rectangle.
QTransform userScaleTransform(const QRectF& target);
QTransform frameTransform(const QRectF& frame, const QRectF& target);

// The largest rectangle of the frame's aspect ratio inside area, centred:
// where the window, the renderer and every picture file show the drawing.
QRectF fittedScaleRect(const QRectF& area, const QRectF& frame = userScaleFrame());

// Draws the list into target (the painter's own coordinates), clipped to it.
// Does not fill the background; the painter's state is restored afterwards.
void paintDisplayList(QPainter& painter, const DisplayList& list, const QRectF& target,
                      const QRectF& frame = userScaleFrame());

// Draws a background picture at one picture pixel per drawing unit with its
// top-left corner at (0, 40), mapped onto target like the display list.
void paintBackgroundPicture(QPainter& painter, const QImage& picture, const QRectF& target);

// A drawing area as the window shows it: the background colour over all of
// area, the background picture (may be null) and the list fitted into it.
void paintDrawingArea(QPainter& painter, const DisplayList& list, const QImage* background,
                      const QRectF& area, Rgb backgroundColour, const QRectF& frame = userScaleFrame());

// The whole picture as an image of size pixels (times the device-pixel ratio):
// background colour, background picture (may be null) and the list.
QImage renderImage(const DisplayList& list, const QImage* background,
                   QSize size = QSize(kPictureWidth, kPictureHeight), qreal devicePixelRatio = 1,
                   Rgb backgroundColour = rgb(255, 255, 255), const QRectF& frame = userScaleFrame());

// The image in a file whose name is used byte for byte; null when it cannot be read.
QImage readImageFile(const std::filesystem::path& file);

// The picture as the bytes of a PNG or SVG file; empty when the size is unusable.
QByteArray encodePng(const DisplayList& list, const QImage* background,
                     QSize size = QSize(kPictureWidth, kPictureHeight),
                     Rgb backgroundColour = rgb(255, 255, 255), const QRectF& frame = userScaleFrame());
QByteArray encodeSvg(const DisplayList& list, const QImage* background,
                     QSize size = QSize(kPictureWidth, kPictureHeight),
                     Rgb backgroundColour = rgb(255, 255, 255), const QRectF& frame = userScaleFrame());

// PNG and SVG files of the picture, written through writeFileAtomically: a
// failure leaves an existing file as it was. False and the reason in `error`
// (the caller names the file).
bool writePng(const DisplayList& list, const QImage* background, const std::filesystem::path& file,
              std::string& error, QSize size = QSize(kPictureWidth, kPictureHeight),
              Rgb backgroundColour = rgb(255, 255, 255), const QRectF& frame = userScaleFrame());
bool writeSvg(const DisplayList& list, const QImage* background, const std::filesystem::path& file,
              std::string& error, QSize size = QSize(kPictureWidth, kPictureHeight),
              Rgb backgroundColour = rgb(255, 255, 255), const QRectF& frame = userScaleFrame());

}  // namespace pm
