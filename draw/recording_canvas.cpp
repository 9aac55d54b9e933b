// Placeholder so that the tree links while this file is being written.
#include "draw/recording_canvas.h"
namespace pm {
namespace {
struct Fixed : FontMetrics {
  double width(std::string_view, double s, std::u32string_view t) const override { return s * 0.6 * t.size(); }
  double lineHeight(std::string_view, double s) const override { return s * 96 / 72 * 1.15; }
};
}  // namespace
const FontMetrics& builtinArialMetrics() { static Fixed f; return f; }
RecordingCanvas::RecordingCanvas(const FontMetrics& m) : metrics_(m) {}
void RecordingCanvas::clear() { list_.clear(); }
void RecordingCanvas::setBackgroundColour(Rgb c) { background_ = c; }
Rgb RecordingCanvas::backgroundColour() const { return background_; }
void RecordingCanvas::setTextColour(Rgb c) { text_ = c; }
Rgb RecordingCanvas::textColour() const { return text_; }
void RecordingCanvas::setLineWidth(double w) { width_ = w; }
void RecordingCanvas::setFillStyle(int s) { fillStyle_ = s; }
void RecordingCanvas::setFillColour(Rgb c) { fill_ = c; }
void RecordingCanvas::point(double x, double y, Rgb) { curX_ = x; curY_ = y; }
void RecordingCanvas::line(double, double, double x2, double y2, Rgb) { curX_ = x2; curY_ = y2; }
void RecordingCanvas::box(double, double, double, double, Rgb, bool) {}
void RecordingCanvas::circle(double, double, double, Rgb) {}
void RecordingCanvas::arc(double, double, double, Rgb, double, double) {}
double RecordingCanvas::textWidth(std::u32string_view t) const { return metrics_.width(font_, size_, t); }
std::string RecordingCanvas::fontName() const { return font_; }
void RecordingCanvas::setTextPosition(double x, double y) { curX_ = x; curY_ = y; }
void RecordingCanvas::setFont(std::string_view n, double s) { font_ = n; size_ = s; }
double RecordingCanvas::fontSize() const { return size_; }
double RecordingCanvas::textX() const { return curX_; }
double RecordingCanvas::textY() const { return curY_; }
void RecordingCanvas::print(std::u32string_view, bool) {}
const char* kindName(Primitive::Kind) { return "line"; }
}  // namespace pm
