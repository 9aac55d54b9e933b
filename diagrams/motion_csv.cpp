#include "diagrams/motion_csv.h"

#include <cmath>
#include <cstdio>

namespace pm {

std::string csvNumber(double v) {
  if (!std::isfinite(v)) return {};
  const double magnitude = std::fabs(v);
  int decimals = 3;
  if (magnitude >= 1) decimals = std::max(0, 5 - static_cast<int>(std::floor(std::log10(magnitude))));
  if (magnitude > 0 && magnitude < 1) decimals = std::min(9, 5 - static_cast<int>(std::floor(std::log10(magnitude))));
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string out = buf;
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  if (out == "-0") out = "0";
  for (char& c : out)
    if (c == '.') c = ',';
  return out;
}

std::string motionCsv(const kinematics::MotionTable& table) {
  std::string out = "\xEF\xBB\xBF";  // byte-order mark: spreadsheets then read UTF-8
  for (std::size_t k = 0; k < table.columns.size(); ++k) {
    if (k > 0) out += ';';
    out += table.columns[k].header();
  }
  out += "\r\n";
  for (const std::vector<double>& row : table.rows) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k > 0) out += ';';
      out += csvNumber(row[k]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace pm
