#include "shell/qt/values_panel.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QResizeEvent>
#include <algorithm>
#include <cmath>

#include "shell/qt/side_panel.h"

namespace pm {

namespace {
const QColor kPanelBackground(244, 244, 240);
const QColor kPanelText(30, 30, 30);
const QColor kPanelRule(180, 180, 170);
}  // namespace

ValuesPanel::ValuesPanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setObjectName(QStringLiteral("Messwerte"));
}

void ValuesPanel::setValues(std::vector<MeasuredValue> values) {
  const bool same = values.size() == values_.size() &&
                    std::equal(values.begin(), values.end(), values_.begin(),
                               [](const MeasuredValue& a, const MeasuredValue& b) {
                                 return a.name == b.name && a.value == b.value;
                               });
  if (same) return;
  const bool resized = values.size() != values_.size();
  values_ = std::move(values);
  if (resized) updateGeometry();
  update();
}

int ValuesPanel::textPixels(int windowHeight) {
  // About 40 lines on the screen's height: 27 px on 1080 lines.
  return std::clamp(windowHeight / 40, 12, 48);
}

int ValuesPanel::widthFor(int textPixels) { return textPixels * 17; }

void ValuesPanel::setTextPixels(int pixels) {
  if (pixels == textPixels_) return;
  textPixels_ = pixels;
  updateGeometry();
  update();
}

namespace {

// The panel's own title, unless the lines begin with a heading of that name.
bool ownTitle(const std::vector<MeasuredValue>& values) {
  return values.empty() || !values.front().value.empty() || values.front().name != "Messwerte";
}

// Room between a name and its value on one line.
int gap(int pixels) { return pixels / 2; }

// A value that does not stand whole beside its name (a class title, a dead
// position) stands below it, right-aligned and wrapped at the words, rather
// than elided: it is the statement of the line.
constexpr int kWrappedValue = Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap;

bool valueBelowName(const QFont& font, const MeasuredValue& v, int width, int pixels) {
  const QString value = QString::fromStdString(v.value);
  return fitLine(font, QString::fromStdString(v.name), value, width, gap(pixels)).value != value;
}

// Height of one line of the panel: a heading or a name with its value.
int lineHeight(const QFont& font, const MeasuredValue& v, int width, int pixels) {
  const QFontMetrics m(font);
  if (v.value.empty() || !valueBelowName(font, v, width, pixels)) return m.lineSpacing();
  const QRect wrapped = m.boundingRect(QRect(0, 0, std::max(1, width), 100000), kWrappedValue,
                                       QString::fromStdString(v.value));
  return m.lineSpacing() + std::max(m.lineSpacing(), wrapped.height());
}

// Height the lines need at a font size and a width of the lines: lines, the
// space above headings and the title.
int neededHeight(const std::vector<MeasuredValue>& values, int pixels, int width, bool title) {
  QFont plain(QStringLiteral("Arial"));
  plain.setPixelSize(pixels);
  const QFontMetrics m(plain);
  const int line = m.lineSpacing();
  const int textWidth = width - 2 * (pixels / 2 + 1);
  int h = pixels + 2;
  for (std::size_t i = 0; i < values.size(); ++i) {
    h += lineHeight(plain, values[i], textWidth, pixels);
    if (i > 0 && values[i].value.empty()) h += line / 3;
  }
  if (title) {
    plain.setPixelSize(pixels * 5 / 4);
    h += QFontMetrics(plain).lineSpacing() + line / 3;
  }
  return h;
}

}  // namespace

int ValuesPanel::preferredHeight() const {
  const int width = this->width() > 0 ? this->width() : widthFor(textPixels_);
  return neededHeight(values_, textPixels_, width, ownTitle(values_)) + textPixels_;
}

void ValuesPanel::setSmallestTextPixels(int pixels) {
  if (pixels == smallestPixels_) return;
  smallestPixels_ = pixels;
  updateGeometry();
  update();
}

QSize ValuesPanel::minimumSizeHint() const {
  const int pixels = std::min(smallestPixels_, textPixels_);
  const int width = this->width() > 0 ? this->width() : widthFor(textPixels_);
  return {0, neededHeight(values_, pixels, width, ownTitle(values_)) + pixels};
}

void ValuesPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size().width() != event->oldSize().width()) updateGeometry();
}

void ValuesPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPanelBackground);
  p.setPen(kPanelRule);
  p.drawLine(0, 0, 0, height());
  // The font of the window height, smaller where the lines would not fit.
  const bool title = ownTitle(values_);
  int pixels = textPixels_;
  while (pixels > std::min(smallestPixels_, textPixels_) && neededHeight(values_, pixels, width(), title) > height())
    --pixels;
  QFont plain(QStringLiteral("Arial"));
  plain.setPixelSize(pixels);
  QFont bold = plain;
  bold.setBold(true);
  const int margin = pixels / 2 + 1;
  const QFontMetrics m(plain);
  const int lineSpacing = m.lineSpacing();
  const int textWidth = width() - 2 * margin;
  int y = margin;
  p.setPen(kPanelText);
  if (title) {
    QFont big = bold;
    big.setPixelSize(pixels * 5 / 4);
    p.setFont(big);
    p.drawText(QRect(margin, y, textWidth, QFontMetrics(big).lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Messwerte"));
    y += QFontMetrics(big).lineSpacing() + lineSpacing / 3;
  }
  for (const MeasuredValue& v : values_) {
    if (v.value.empty() && &v != &values_.front()) y += lineSpacing / 3;  // space above a heading
    const int h = lineHeight(plain, v, textWidth, pixels);
    if (y + h > height()) break;
    const QString name = QString::fromStdString(v.name);
    const QRect line(margin, y, textWidth, lineSpacing);
    if (v.value.empty()) {
      p.setFont(bold);
      p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                 QFontMetrics(bold).elidedText(name, Qt::ElideRight, line.width()));
    } else if (valueBelowName(plain, v, textWidth, pixels)) {
      p.setFont(plain);
      p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, m.elidedText(name, Qt::ElideRight, line.width()));
      p.drawText(QRect(margin, y + lineSpacing, textWidth, h - lineSpacing), kWrappedValue,
                 QString::fromStdString(v.value));
    } else {
      p.setFont(plain);
      const PanelLine fitted =
          fitLine(plain, name, QString::fromStdString(v.value), line.width(), gap(pixels));
      p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, fitted.value);
      p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, fitted.name);
    }
    y += h;
  }
}

PanelLine fitLine(const QFont& font, const QString& name, const QString& value, int width,
                  int gap) {
  // Whole pixels that hold the whole text: eliding to a width below a text's
  // fractional advance would shorten a text that fits.
  const QFontMetricsF m(font);
  auto widthOf = [&](const QString& text) {
    return static_cast<int>(std::ceil(m.horizontalAdvance(text))) + 1;
  };
  const int nameWidth = widthOf(name), valueWidth = widthOf(value);
  const int room = std::max(0, width - gap);
  if (nameWidth + valueWidth <= room) return {name, value};
  // The name keeps its width up to half the line, or all the value leaves.
  const int nameRoom = std::min(nameWidth, std::max(room / 2, room - valueWidth));
  return {m.elidedText(name, Qt::ElideRight, nameRoom),
          m.elidedText(value, Qt::ElideRight, room - nameRoom)};
}

ClientLayout layoutClientArea(QSize area, bool panelShown, int panelWidth, int diagramsWidth) {
  ClientLayout out;
  out.drawing = QRect(QPoint(0, 0), area);
  int panel = panelShown ? std::max(0, panelWidth) : 0, diagrams = std::max(0, diagramsWidth);
  if (panel + diagrams == 0 || area.isEmpty()) return out;
  // The drawing area keeps at least half of the width; the others share the rest.
  const int room = area.width() / 2;
  if (panel + diagrams > room) {
    const int both = panel + diagrams;
    panel = static_cast<int>(static_cast<long long>(panel) * room / both);
    diagrams = room - panel;
  }
  const int drawing = area.width() - panel - diagrams;
  out.drawing = QRect(0, 0, drawing, area.height());
  if (diagrams > 0) out.diagrams = QRect(drawing, 0, diagrams, area.height());
  if (panelShown) out.panel = QRect(drawing + diagrams, 0, panel, area.height());
  return out;
}

ClientArea::ClientArea(QWidget* drawing, SidePanel* panel, QWidget* parent)
    : QWidget(parent), drawing_(drawing), panel_(panel) {
  drawing_->setParent(this);
  panel_->setParent(this);
  panel_->hide();
}

void ClientArea::setPanelShown(bool shown) {
  panelShown_ = shown;
  relayout();
}

void ClientArea::setDiagrams(QWidget* diagrams, int (*widthFor)(int windowHeight)) {
  diagrams_ = diagrams;
  diagramsWidth_ = widthFor;
  diagrams_->setParent(this);
  diagrams_->hide();
}

void ClientArea::setDiagramsShown(bool shown) {
  diagramsShown_ = shown && diagrams_ != nullptr;
  relayout();
}

void ClientArea::relayout() {
  const int windowHeight = window() ? window()->height() : height();
  const int pixels = ValuesPanel::textPixels(windowHeight);
  panel_->setTextPixels(pixels);
  const int diagramsWidth = diagramsShown_ ? diagramsWidth_(windowHeight) : 0;
  const ClientLayout l = layoutClientArea(size(), panelShown_, ValuesPanel::widthFor(pixels), diagramsWidth);
  drawing_->setGeometry(l.drawing);
  panel_->setGeometry(l.panel);
  panel_->setVisible(panelShown_ && !l.panel.isEmpty());
  if (diagrams_) {
    diagrams_->setGeometry(l.diagrams);
    diagrams_->setVisible(diagramsShown_ && !l.diagrams.isEmpty());
  }
}

void ClientArea::resizeEvent(QResizeEvent*) { relayout(); }

}  // namespace pm
