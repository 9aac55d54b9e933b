// Pens and brushes of the display-list primitives in Qt, shared by the painter
// backend and its dot stamps so that both draw a circle the same way.
#pragma once

#include <QtGui/QBrush>
#include <QtGui/QColor>
#include <QtGui/QPen>

#include "draw/colour.h"
#include "draw/display_list.h"

class QPainter;

namespace pm {

inline QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// Hatch fills in the fill colour; the gaps stay transparent. Styles outside the
// hatches and the solid fill draw no fill.
QBrush fillBrush(int style, Rgb colour);

// Width of a primitive's outline in drawing units: 1 … 1000.
double outlineWidth(const Primitive& p);

// The outline of a primitive: its colour, its width, round ends and joins.
QPen outlinePen(const Primitive& p);

// A circle of the given radius about the primitive's centre, outlined and
// filled as the primitive says.
void paintCircle(QPainter& painter, const Primitive& p, double radius);

}  // namespace pm
