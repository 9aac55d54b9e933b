#include "shell/qt/side_panel.h"

#include <QtGui/QPainter>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocument>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "shell/edition.h"
#include "shell/qt/values_panel.h"

namespace pm {
namespace {

const QColor kPanelBackground(244, 244, 240);
const QColor kPanelText(30, 30, 30);

QString colourName(const Rgb& c) { return QColor(c.r, c.g, c.b).name(); }

// The words and swatches of a block as rich text.
QString runsHtml(const PageBlock& block) {
  QString out;
  for (const PageRun& run : block.runs) {
    if (!out.isEmpty()) out += ' ';
    out += run.swatch ? QStringLiteral("<img src=\"swatch:%1\">").arg(colourName(run.colour))
                      : QString::fromStdString(run.text).toHtmlEscaped();
  }
  return out;
}

// A swatch as the pages draw it: the colour in a thin black frame.
QImage swatchImage(const QColor& colour, int pixels) {
  QImage image(std::max(8, pixels * 3 / 2), std::max(5, pixels * 3 / 5), QImage::Format_ARGB32);
  image.fill(colour);
  QPainter p(&image);
  p.setPen(QColor(0, 0, 0));
  p.drawRect(image.rect().adjusted(0, 0, -1, -1));
  return image;
}

}  // namespace

QString pageHtml(const Edition& edition, PageRef page) {
  const std::vector<PageBlock> blocks = parsePage(pageText(edition, page));
  QString html;
  bool inList = false;
  for (const PageBlock& b : blocks) {
    const bool bullet = b.kind == PageBlock::Kind::Bullet;
    if (inList && !bullet) html += QStringLiteral("</ul>");
    if (bullet && !inList) html += QStringLiteral("<ul style=\"-qt-list-indent:1\">");
    inList = bullet;
    switch (b.kind) {
      case PageBlock::Kind::Title: {
        html += QStringLiteral("<p style=\"font-weight:bold; font-size:115%; margin-bottom:0\">%1</p>").arg(runsHtml(b));
        const std::string number = pageNumberText(page);
        if (!number.empty())
          html += QStringLiteral("<p style=\"color:#606060; margin-top:0\">%1</p>").arg(QString::fromStdString(number));
        break;
      }
      case PageBlock::Kind::Paragraph:
        html += QStringLiteral("<p style=\"margin-top:0.3em; margin-bottom:0.3em\">%1</p>").arg(runsHtml(b));
        break;
      case PageBlock::Kind::Legend:
        // The swatch hangs out to the left, the text lines up after it.
        html += QStringLiteral("<p style=\"margin-top:0.15em; margin-bottom:0.15em; margin-left:2em; "
                               "text-indent:-2em\">%1</p>")
                    .arg(runsHtml(b));
        break;
      case PageBlock::Kind::Bullet:
        html += QStringLiteral("<li>%1</li>").arg(runsHtml(b));
        break;
      case PageBlock::Kind::NextColumn:
        break;
    }
  }
  if (inList) html += QStringLiteral("</ul>");
  return html;
}

SidePanel::SidePanel(const Edition& edition, QWidget* parent)
    : QWidget(parent),
      edition_(edition),
      splitter_(new QSplitter(Qt::Vertical, this)),
      pageView_(new QTextBrowser),
      values_(new ValuesPanel) {
  setObjectName(QStringLiteral("Seitenleiste"));
  setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  pageView_->setObjectName(QStringLiteral("Erklärung"));
  pageView_->setFrameShape(QFrame::NoFrame);
  pageView_->setFocusPolicy(Qt::NoFocus);
  pageView_->setOpenLinks(false);
  pageView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pageView_->setAutoFillBackground(true);
  QPalette palette = pageView_->palette();
  palette.setColor(QPalette::Base, kPanelBackground);
  palette.setColor(QPalette::Window, kPanelBackground);
  palette.setColor(QPalette::Text, kPanelText);
  pageView_->setPalette(palette);
  // The values shrink their font to fit, down to the page's size; below it
  // they scroll.
  valuesScroll_ = new QScrollArea;
  valuesScroll_->setFrameShape(QFrame::NoFrame);
  valuesScroll_->setFocusPolicy(Qt::NoFocus);
  valuesScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  valuesScroll_->setWidgetResizable(true);
  valuesScroll_->setWidget(values_);
  splitter_->addWidget(pageView_);
  splitter_->addWidget(valuesScroll_);
  splitter_->setChildrenCollapsible(false);
  splitter_->setHandleWidth(5);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  connect(splitter_, &QSplitter::splitterMoved, this, [this] { split_ = true; });
  pageView_->hide();
}

int SidePanel::pagePixels(int textPixels) { return std::max(14, textPixels * 4 / 5); }

void SidePanel::setTextPixels(int pixels) {
  values_->setTextPixels(pixels);
  values_->setSmallestTextPixels(pagePixels(pixels));
  if (pixels == textPixels_) return;
  textPixels_ = pixels;
  fillPage();
}

void SidePanel::setPage(std::optional<PageRef> page) {
  if (page == page_) return;
  page_ = page;
  fillPage();
}

void SidePanel::fillPage() {
  if (!page_) {
    pageView_->hide();
    return;
  }
  const int pixels = pagePixels(textPixels_);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  QTextDocument* doc = pageView_->document();
  doc->setDefaultFont(font);
  doc->setDocumentMargin(pixels / 2 + 1);
  const QString html = pageHtml(edition_, *page_);
  for (const PageBlock& b : parsePage(pageText(edition_, *page_)))
    for (const PageRun& run : b.runs)
      if (run.swatch)
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("swatch:") + colourName(run.colour)),
                         swatchImage(QColor(run.colour.r, run.colour.g, run.colour.b), pixels));
  doc->setIndentWidth(pixels);
  pageView_->setHtml(html);
  if (pageView_->isHidden()) split_ = false;
  pageView_->show();
  if (!split_) applySplit();
  pageView_->moveCursor(QTextCursor::Start);
  pageView_->verticalScrollBar()->setValue(0);
}

void SidePanel::applySplit() {
  if (!page_ || height() <= 0) return;
  // The page takes what it needs, up to half the height or what the values
  // leave; the values fit their font into the rest.
  QTextDocument* doc = pageView_->document();
  doc->setTextWidth(std::max(50, width() - pageView_->verticalScrollBar()->sizeHint().width()));
  const int needed = static_cast<int>(doc->size().height()) + 2;
  const int total = std::max(2, height() - splitter_->handleWidth());
  const int room = std::max(total / 2, total - values_->preferredHeight());
  const int first = std::clamp(needed, 1, std::min(room, total - 1));
  splitter_->setSizes({first, total - first});
}

void SidePanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!split_) applySplit();
}

}  // namespace pm
