// The side panel beside the drawing area (F11): the explanatory page of the
// topic on screen as text at its top and the panel "Messwerte" below it, each
// scrollable. While the panel shows the page, the band above the picture stays
// free; a splitter between the two parts lets the user share the height.
#pragma once

#include <QtWidgets/QWidget>
#include <optional>

#include "topics/page_catalogue.h"

class QScrollArea;
class QSplitter;
class QTextBrowser;

namespace pm {

struct Edition;
class ValuesPanel;

// The page as rich text for a QTextDocument: title, page number, paragraphs,
// bullet items and legend items whose swatches are the images "swatch:#rrggbb".
QString pageHtml(const Edition& edition, PageRef page);

class SidePanel : public QWidget {
  Q_OBJECT
 public:
  explicit SidePanel(const Edition& edition, QWidget* parent = nullptr);

  // The page to explain; none hides the page part.
  void setPage(std::optional<PageRef> page);
  const std::optional<PageRef>& page() const { return page_; }
  // Font size of the panel (see ValuesPanel::textPixels); the page's text is
  // at least 14 pixels.
  void setTextPixels(int pixels);
  static int pagePixels(int textPixels);

  ValuesPanel* values() const { return values_; }
  QTextBrowser* pageView() const { return pageView_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fillPage();
  void applySplit();

  const Edition& edition_;
  QSplitter* splitter_;
  QTextBrowser* pageView_;
  ValuesPanel* values_;
  QScrollArea* valuesScroll_;
  std::optional<PageRef> page_;
  int textPixels_ = 16;
  bool split_ = false;  // the user moved the splitter: the share stays as it is
};

}  // namespace pm
