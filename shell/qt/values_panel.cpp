#include "shell/qt/values_panel.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <algorithm>

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

// Height the lines need at a font size: lines, the space above headings and
// the title.
int neededHeight(const std::vector<MeasuredValue>& values, int pixels, bool title) {
  QFont plain(QStringLiteral("Arial"));
  plain.setPixelSize(pixels);
  const int line = QFontMetrics(plain).lineSpacing();
  int h = pixels + 2 + line * static_cast<int>(values.size());
  for (std::size_t i = 1; i < values.size(); ++i)
    if (values[i].value.empty()) h += line / 3;
  if (title) {
    plain.setPixelSize(pixels * 5 / 4);
    h += QFontMetrics(plain).lineSpacing() + line / 3;
  }
  return h;
}

}  // namespace

int ValuesPanel::preferredHeight() const {
  return neededHeight(values_, textPixels_, ownTitle(values_)) + textPixels_;
}

void ValuesPanel::setSmallestTextPixels(int pixels) {
  if (pixels == smallestPixels_) return;
  smallestPixels_ = pixels;
  updateGeometry();
  update();
}

QSize ValuesPanel::minimumSizeHint() const {
  const int pixels = std::min(smallestPixels_, textPixels_);
  return {0, neededHeight(values_, pixels, ownTitle(values_)) + pixels};
}

void ValuesPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPanelBackground);
  p.setPen(kPanelRule);
  p.drawLine(0, 0, 0, height());
  // The font of the window height, smaller where the lines would not fit.
  const bool title = ownTitle(values_);
  int pixels = textPixels_;
  while (pixels > std::min(smallestPixels_, textPixels_) && neededHeight(values_, pixels, title) > height()) --pixels;
  QFont plain(QStringLiteral("Arial"));
  plain.setPixelSize(pixels);
  QFont bold = plain;
  bold.setBold(true);
  const int margin = pixels / 2 + 1;
  const int lineHeight = QFontMetrics(plain).lineSpacing();
  int y = margin;
  p.setPen(kPanelText);
  if (title) {
    QFont big = bold;
    big.setPixelSize(pixels * 5 / 4);
    p.setFont(big);
    p.drawText(QRect(margin, y, width() - 2 * margin, QFontMetrics(big).lineSpacing()),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Messwerte"));
    y += QFontMetrics(big).lineSpacing() + lineHeight / 3;
  }
  for (const MeasuredValue& v : values_) {
    if (v.value.empty() && &v != &values_.front()) y += lineHeight / 3;  // space above a heading
    if (y + lineHeight > height()) break;
    const QString name = QString::fromStdString(v.name);
    const QRect line(margin, y, width() - 2 * margin, lineHeight);
    if (v.value.empty()) {
      p.setFont(bold);
      p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                 QFontMetrics(bold).elidedText(name, Qt::ElideRight, line.width()));
    } else {
      p.setFont(plain);
      const QFontMetrics m(plain);
      const QString value = QString::fromStdString(v.value);
      const int valueWidth = std::min(m.horizontalAdvance(value), line.width());
      const int nameWidth = line.width() - valueWidth - pixels / 2;
      p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, value);
      p.drawText(QRect(line.left(), line.top(), std::max(0, nameWidth), line.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, m.elidedText(name, Qt::ElideRight, nameWidth));
    }
    y += lineHeight;
  }
}

ClientLayout layoutClientArea(QSize area, bool panelShown, int panelWidth) {
  ClientLayout out;
  out.drawing = QRect(QPoint(0, 0), area);
  if (!panelShown || area.isEmpty()) return out;
  // The drawing area keeps at least half of the width.
  const int width = std::clamp(panelWidth, 0, area.width() / 2);
  out.drawing = QRect(0, 0, area.width() - width, area.height());
  out.panel = QRect(area.width() - width, 0, width, area.height());
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

void ClientArea::relayout() {
  const int pixels = ValuesPanel::textPixels(window() ? window()->height() : height());
  panel_->setTextPixels(pixels);
  const ClientLayout l = layoutClientArea(size(), panelShown_, ValuesPanel::widthFor(pixels));
  drawing_->setGeometry(l.drawing);
  panel_->setGeometry(l.panel);
  panel_->setVisible(panelShown_ && !l.panel.isEmpty());
}

void ClientArea::resizeEvent(QResizeEvent*) { relayout(); }

}  // namespace pm
