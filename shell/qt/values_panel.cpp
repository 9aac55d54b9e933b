#include "shell/qt/values_panel.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <algorithm>


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
  values_ = std::move(values);
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
  update();
}

void ValuesPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPanelBackground);
  p.setPen(kPanelRule);
  p.drawLine(0, 0, 0, height());
  QFont plain(QStringLiteral("Arial"));
  plain.setPixelSize(textPixels_);
  QFont bold = plain;
  bold.setBold(true);
  const int margin = textPixels_ / 2 + 2;
  const int lineHeight = QFontMetrics(plain).lineSpacing();
  int y = margin;
  QFont title = bold;
  title.setPixelSize(textPixels_ * 5 / 4);
  p.setPen(kPanelText);
  p.setFont(title);
  p.drawText(QRect(margin, y, width() - 2 * margin, QFontMetrics(title).lineSpacing()),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Messwerte"));
  y += QFontMetrics(title).lineSpacing() + lineHeight / 3;
  for (const MeasuredValue& v : values_) {
    if (y + lineHeight > height()) break;
    const QString name = QString::fromStdString(v.name);
    const QRect line(margin, y, width() - 2 * margin, lineHeight);
    if (v.value.empty()) {
      // A heading: bold, a little space above it, unless it is the first line.
      if (&v != &values_.front()) {
        y += lineHeight / 3;
        if (y + lineHeight > height()) break;
      }
      p.setFont(bold);
      p.drawText(line.translated(0, y - line.top()), Qt::AlignLeft | Qt::AlignVCenter,
                 QFontMetrics(bold).elidedText(name, Qt::ElideRight, line.width()));
    } else {
      p.setFont(plain);
      const QFontMetrics m(plain);
      const QString value = QString::fromStdString(v.value);
      const int valueWidth = std::min(m.horizontalAdvance(value), line.width());
      p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, value);
      p.drawText(QRect(line.left(), line.top(), line.width() - valueWidth - textPixels_ / 2,
                       line.height()),
                 Qt::AlignLeft | Qt::AlignVCenter,
                 m.elidedText(name, Qt::ElideRight, line.width() - valueWidth - textPixels_ / 2));
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

ClientArea::ClientArea(QWidget* drawing, ValuesPanel* panel, QWidget* parent)
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
