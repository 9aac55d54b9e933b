// Label tables of the labelled point circles.
#include "draw/label_tables.h"

#include <string_view>

#include "script/codes.h"

namespace pm {
namespace {

struct Label {
  char32_t operand;
  std::u32string_view text;
};

constexpr Label kPoles[] = {{U'A', U"Pab"}, {U'B', U"Pbc"}, {U'D', U"Pac"},
                            {U'P', U"Pbd"}, {U'X', U"Pad"}, {U'Y', U"Pcd"}};

constexpr Label kPositions[] = {{U'A', U"I=A1"}, {U'B', U"J=A2"}, {U'C', U"K=A3"}, {U'D', U"L=A4"},
                                {U'E', U"M=B1"}, {U'F', U"N=B2"}, {U'G', U"O=B3"}, {U'H', U"R=B4"},
                                {U'M', U"P12"},  {U'N', U"P23"},  {U'O', U"P34"},  {U'P', U"P41"},
                                {U'o', U"P31"},  {U'p', U"P42"}};

constexpr Label kConstruction[] = {{U'O', U"P'"},  {U'Q', U"Q''"},  {U'U', U"Q"},    {U'W', U"Wp"},
                                   {U'9', U"A''"}, {U'6', U"B''"},  {U'8', U"C''"},  {U'j', U"A'"},
                                   {U'k', U"B'"},  {U'l', U"C'"},   {U'J', U"Co"},   {U'V', U"Rpo"},
                                   {U'Æ', U"P''"}, {U'L', U"(B)'"}, {U'S', U"(B)''"}};

template <std::size_t N>
std::u32string lookUp(const Label (&table)[N], int operand) {
  const char32_t c = charOfCode(operand);
  for (const Label& l : table)
    if (l.operand == c) return std::u32string(l.text);
  return std::u32string(1, c);
}

}  // namespace

std::u32string labelText(int mn1, int mn2, int operand) {
  if (mn1 == 1 && mn2 == 2) return lookUp(kPoles, operand);
  if (mn1 == 10) return lookUp(kPositions, operand);
  // The coupler-curve group names its points by their own letters: its 6 and
  // 8 are points of the stretched positions, its J and L joints of the
  // cognates, not the plan points and the centre of curvature of the table.
  if (mn1 == 5) return std::u32string(1, charOfCode(operand));
  return lookUp(kConstruction, operand);
}

std::u32string positionLabel(int operand) {
  std::u32string text = lookUp(kPositions, operand);
  if (text.size() > 2 && text[1] == U'=') text.erase(0, 2);  // "I=A1" → "A1"
  return text;
}

}  // namespace pm
