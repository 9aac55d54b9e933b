// Helpers shared by the engine tests: an engine started for a key event, a
// text output that records what is printed, and a drawing hook that counts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/engine.h"

namespace pm::testing {

struct TextCall {
  std::string what;  // "font", "pos", "print"
  double a = 0, b = 0;
  std::u32string text;
};

class TextRecorder : public TextOutput {
 public:
  std::vector<TextCall> calls;
  double x = 0, y = 0, size = 10;
  std::string font = "Areal";

  void setTextPosition(double nx, double ny) override {
    x = nx;
    y = ny;
    calls.push_back({"pos", nx, ny, {}});
  }
  void setFont(std::string_view name, double s) override {
    font = std::string(name);
    size = s;
    calls.push_back({"font", s, 0, std::u32string(name.begin(), name.end())});
  }
  double fontSize() const override { return size; }
  std::string fontName() const override { return font; }
  double textX() const override { return x; }
  double textY() const override { return y; }
  void print(std::u32string_view text, bool) override {
    calls.push_back({"print", x, y, std::u32string(text)});
    x += 10.0 * static_cast<double>(text.size());  // fixed advance per character
  }
};

class CountingHook : public DrawingHook {
 public:
  struct Call {
    int operation;
    int length;
    std::u32string text;
  };
  std::vector<Call> calls;
  const char* answer = nullptr;
  const char* drawCommand(int operation, const int*, int length,
                          std::u32string_view text) override {
    calls.push_back({operation, length, std::u32string(text)});
    return answer;
  }
};

class EngineTest : public ::testing::Test {
 protected:
  Engine e;
  void SetUp() override { e.beginCommand(); }
  void point(char32_t c, double x, double y) { e.reg.setPoint(c, {x, y}); }
  Point at(char32_t c) const { return e.reg.point(c); }
};

#define EXPECT_POINT_NEAR(p, ex, ey) \
  do {                               \
    const ::pm::Point pp_ = (p);     \
    EXPECT_NEAR(pp_.x, (ex), 1e-9);  \
    EXPECT_NEAR(pp_.y, (ey), 1e-9);  \
  } while (0)

}  // namespace pm::testing
