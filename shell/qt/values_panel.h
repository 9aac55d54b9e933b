// The panel "Messwerte" beside the drawing area: the lines of measuredValues()
// as name and value, headings in bold. Its font follows the window height, so
// that it stays legible on a projector (smaller only where the lines would not
// fit); its width follows the window height too, so it stays put during a run.
#pragma once

#include <QtCore/QRect>
#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QFont>
#include <QtWidgets/QWidget>
#include <vector>

#include "kinematics/measured_values.h"

namespace pm {

class ValuesPanel : public QWidget {
  Q_OBJECT
 public:
  explicit ValuesPanel(QWidget* parent = nullptr);

  // Replaces the lines; repaints only when they changed.
  void setValues(std::vector<MeasuredValue> values);
  const std::vector<MeasuredValue>& values() const { return values_; }

  // Font size in pixels for a window of that height, and the panel width it needs.
  static int textPixels(int windowHeight);
  static int widthFor(int textPixels);
  void setTextPixels(int pixels);
  int textPixels() const { return textPixels_; }
  // Height the lines need at the panel's font size.
  int preferredHeight() const;
  // The smallest font size the lines shrink to; below it the panel keeps its
  // height (minimumSizeHint) and the scroll area it stands in scrolls.
  void setSmallestTextPixels(int pixels);
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Long values wrap below their names, so the height the lines need follows
  // the width.
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<MeasuredValue> values_;
  int textPixels_ = 16;
  int smallestPixels_ = 10;
};

// The texts of a panel line `width` pixels wide in `font`, with `gap` pixels
// between name and value: both in full where they fit; otherwise the name
// keeps its width up to half the line (or all that the value leaves) and the
// value has the rest. What does not fit is elided with "…", never cut.
struct PanelLine {
  QString name;
  QString value;
};
PanelLine fitLine(const QFont& font, const QString& name, const QString& value, int width,
                  int gap);

// Where the drawing area, the diagrams and the panel lie in the client area
// below the menu bar. Without the panel the drawing area is all of it. With
// the panel, the panel takes its width at the right and the drawing area the
// rest: the picture keeps its aspect and shrinks only where the panel does
// not fit into the margin the aspect leaves anyway. The diagrams (width 0:
// hidden) stand between the drawing area and the panel in the same way.
struct ClientLayout {
  QRect drawing;
  QRect panel;     // empty when hidden
  QRect diagrams;  // empty when hidden
};
ClientLayout layoutClientArea(QSize area, bool panelShown, int panelWidth, int diagramsWidth = 0);

class SidePanel;

// The client area: lays out the drawing area, the diagrams and the side panel.
class ClientArea : public QWidget {
  Q_OBJECT
 public:
  ClientArea(QWidget* drawing, SidePanel* panel, QWidget* parent = nullptr);
  void setPanelShown(bool shown);
  bool panelShown() const { return panelShown_; }
  // The diagrams' widget and whether it is shown; its width follows the window height.
  void setDiagrams(QWidget* diagrams, int (*widthFor)(int windowHeight));
  void setDiagramsShown(bool shown);
  bool diagramsShown() const { return diagramsShown_; }
  void relayout();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* drawing_;
  SidePanel* panel_;
  bool panelShown_ = false;
  QWidget* diagrams_ = nullptr;
  int (*diagramsWidth_)(int) = nullptr;
  bool diagramsShown_ = false;
};

}  // namespace pm
