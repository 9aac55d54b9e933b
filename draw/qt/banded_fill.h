// Filling large outlines in bands of device rows.
//
// QPainter's antialiasing rasteriser works in a small cell pool: when an
// outline covers more cells than fit, it splits the picture into bands and
// walks the whole outline again for every band. A ring as wide as a 4K
// picture is walked a few hundred times, so its cost grows with the square of
// the resolution (1 ms and more for one wide arc). Cut into bands of whole
// device rows beforehand, each band's outline holds only the edges in its
// rows and is walked a few times at most. The coverage of a pixel depends only
// on the edges within its row, and every band ends on a pixel boundary, so
// the bands together paint the same pixels as the outline in one piece.
#pragma once

#include <QtGui/QBrush>
#include <QtGui/QPainterPath>
#include <QtGui/QTransform>

class QPainter;

namespace pm {

// Device rows of one band.
inline constexpr int kBandRows = 16;

// Fills outline (winding rule, in the coordinates that device maps onto device
// pixels) with brush, band by band. The painter's coordinates must be device
// pixels while it runs; its pen is not used.
void fillInBands(QPainter& painter, const QPainterPath& outline, const QTransform& device,
                 const QBrush& brush);

// True when a figure of this extent in device pixels is worth cutting into
// bands: below some hundred rows the rasteriser needs few bands, and cutting
// costs more than it saves.
bool worthBanding(const QRectF& deviceBounds);

}  // namespace pm
