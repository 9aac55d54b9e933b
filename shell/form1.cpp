// Placeholder so that the tree links while this file is being written.
#include "shell/form1.h"
namespace pm {
Form1::Form1(Canvas& c, Host& h, const Edition& e) : drawing(engine, c), canvas(c), host(h), edition(e) {}
void Form1::Form_Activate() {}
void Form1::Form_KeyDown(int, int) {}
bool Form1::menuCommand(std::string_view) { return false; }
void Form1::run(std::u32string_view s) { engine.run(s); }
void Form1::setPosition(double, double) {}
void Form1::printNumber(double, bool) {}
void Form1::print(std::u32string_view, bool) {}
void Form1::logo(std::string_view) {}
std::u32string numberItem(double) { return U""; }
}  // namespace pm
namespace pm {
bool Form1::menuChecked(std::string_view) const { return false; }
}  // namespace pm
