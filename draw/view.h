// Which part of the drawing the picture shows, and how it is drawn: the view
// (a zoom about a point of the picture and a shift, set with the wheel, by
// dragging or by framing the construction), the projector mode and what an
// export leaves out. A command records its display list in drawing units; the
// window, planimove-render and the browser page all show
// presented(list, options), so they agree, and the kinematics never see the
// view. The view moves and scales the drawing layer (the construction, its
// labels and the grid): figures scale with it, symbols keep their size about
// their anchors, line widths and texts keep theirs. Notes, the status lines,
// the emblem and the page picture stay where the picture puts them.
#pragma once

#include <optional>

#include "draw/display_list.h"
#include "draw/recording_canvas.h"
#include "script/registers.h"

namespace pm {

// picture = scale · drawing + (x, y), both in units of the user scale.
struct View {
  double scale = 1;
  double x = 0, y = 0;

  Point toPicture(Point drawing) const { return {scale * drawing.x + x, scale * drawing.y + y}; }
  Point toDrawing(Point picture) const { return {(picture.x - x) / scale, (picture.y - y) / scale}; }
  bool isIdentity() const { return scale == 1 && x == 0 && y == 0; }
  friend bool operator==(const View&, const View&) = default;
};

// The scales a view may take: enough to frame a construction thirty pictures
// wide or to look at a joint from close by.
inline constexpr double kMinViewScale = 1.0 / 32;
inline constexpr double kMaxViewScale = 32;

// A view with a usable scale and shift (finite, scale within the limits);
// anything else gives the identity.
View checkedView(const View& view);
// The view zoomed by `factor` about a point of the picture, which stays
// where it is; the scale stops at its limits.
View zoomedAbout(const View& view, Point picture, double factor);
// The view shifted by (dx, dy) units of the picture.
View shifted(const View& view, double dx, double dy);

// What a picture shows besides the drawing.
enum class Content {
  Whole,        // everything, as on screen
  Clean,        // without the page picture, the emblem and the status lines
  Construction  // the drawing alone (exports crop it to what is drawn)
};

// Lines, joints and labels of the projector mode are this much stronger.
inline constexpr double kProjectorStrength = 1.6;

struct ViewOptions {
  View view;
  // Lines, symbols and labels kProjectorStrength times as strong; the page
  // picture, the emblem and the status lines hidden.
  bool projector = false;
  Content content = Content::Whole;

  bool plain() const { return view.isIdentity() && !projector && content == Content::Whole; }
};

// The list as the picture shows it under the options.
DisplayList presented(const DisplayList& list, const ViewOptions& options);

// Whether a background picture shows: the help and key-overview pictures
// unless an export leaves every picture out, the explanatory page only in
// the whole picture outside the projector mode.
bool showsBackground(const ViewOptions& options, bool helpPicture);

// A rectangle in units of the user scale (left < right, top < bottom).
struct Area {
  double left = 0, top = 0, right = 0, bottom = 0;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
  bool empty() const { return !(right > left && bottom > top); }
  friend bool operator==(const Area&, const Area&) = default;
};

// The picture: the user scale (0, 40)-(1022, 731).
Area pictureArea();

// What the drawing layer draws, in drawing units: every point of it (line
// ends, the extremes of circles and arcs, symbols and labels at their
// anchors) that lies within the picture's size beyond each of its edges, so
// three picture sizes across; points farther out (a guide of 99999 units,
// an intersection at infinity) do not count. Nothing when nothing is drawn.
std::optional<Area> drawnArea(const DisplayList& list);

// The largest part of the picture that the construction can take under the
// options, clear of the notes, status lines and emblem that stay shown and
// of the page picture (`page`, where one is shown): the rectangle in which
// the drawing can be shown largest at the aspect of `drawn`.
Area freeArea(const DisplayList& list, const ViewOptions& options, std::optional<Area> page,
              const Area& drawn);

// The view that frames the construction ("Einpassen"): what drawnArea finds,
// as large as it fits into freeArea, with a margin, centred. Nothing when
// nothing is drawn. Texts are measured with the built-in Arial metrics, so
// that the window, planimove-render and the page frame alike.
std::optional<View> framingView(const DisplayList& list, const ViewOptions& options,
                                std::optional<Area> page);

// What a presented list draws of its drawing layer inside the picture, grown
// by `margin` units and kept inside the picture: the part of the picture an
// export "nur die Konstruktion" shows. Nothing when nothing is drawn there.
std::optional<Area> cropArea(const DisplayList& presentedList, double margin);

}  // namespace pm
