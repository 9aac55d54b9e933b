#include "gif_writer.h"

#include <fstream>

namespace pm::pictures {
namespace {

// Packs variable-width codes LSB first into 255-byte sub-blocks.
class CodeWriter {
 public:
  explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void write(int code, int bits) {
    acc_ |= static_cast<std::uint32_t>(code) << nbits_;
    nbits_ += bits;
    while (nbits_ >= 8) {
      push(static_cast<std::uint8_t>(acc_ & 0xff));
      acc_ >>= 8;
      nbits_ -= 8;
    }
  }
  void finish() {
    if (nbits_ > 0) push(static_cast<std::uint8_t>(acc_ & 0xff));
    flushBlock();
    out_.push_back(0);  // block terminator
  }

 private:
  void push(std::uint8_t b) {
    block_.push_back(b);
    if (block_.size() == 255) flushBlock();
  }
  void flushBlock() {
    if (block_.empty()) return;
    out_.push_back(static_cast<std::uint8_t>(block_.size()));
    out_.insert(out_.end(), block_.begin(), block_.end());
    block_.clear();
  }
  std::vector<std::uint8_t>& out_;
  std::vector<std::uint8_t> block_;
  std::uint32_t acc_ = 0;
  int nbits_ = 0;
};

void put16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xff));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

}  // namespace

std::vector<std::uint8_t> encodeGif(const PaletteImage& image) {
  int tableBits = 1;
  while ((1u << tableBits) < image.palette.size() && tableBits < 8) ++tableBits;
  const int tableSize = 1 << tableBits;

  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  put16(out, image.width);
  put16(out, image.height);
  out.push_back(static_cast<std::uint8_t>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
  out.push_back(0);  // background colour index
  out.push_back(0);  // pixel aspect ratio
  for (int i = 0; i < tableSize; ++i) {
    const auto c = i < static_cast<int>(image.palette.size()) ? image.palette[i]
                                                               : std::array<std::uint8_t, 3>{};
    out.insert(out.end(), c.begin(), c.end());
  }
  if (image.transparentIndex >= 0 && image.transparentIndex < tableSize) {
    out.insert(out.end(), {0x21, 0xf9, 4, 0x01, 0, 0});  // graphic control extension, transparency on
    out.push_back(static_cast<std::uint8_t>(image.transparentIndex));
    out.push_back(0);
  }
  out.push_back(0x2c);  // image descriptor
  put16(out, 0);
  put16(out, 0);
  put16(out, image.width);
  put16(out, image.height);
  out.push_back(0);

  const int minCodeSize = tableBits < 2 ? 2 : tableBits;
  out.push_back(static_cast<std::uint8_t>(minCodeSize));
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;

  // Dictionary: code of (prefix code, next index); -1 where no entry exists.
  std::vector<std::int16_t> dict(4096 * 256, -1);
  CodeWriter writer(out);
  int codeSize = minCodeSize + 1;
  int maxCode = endCode;
  writer.write(clearCode, codeSize);

  if (!image.pixels.empty()) {
    int current = image.pixels[0];
    for (std::size_t i = 1; i < image.pixels.size(); ++i) {
      const int next = image.pixels[i];
      const std::int16_t found = dict[current * 256 + next];
      if (found >= 0) {
        current = found;
        continue;
      }
      writer.write(current, codeSize);
      dict[current * 256 + next] = static_cast<std::int16_t>(++maxCode);
      if (maxCode >= (1 << codeSize)) ++codeSize;
      if (maxCode == 4095) {
        writer.write(clearCode, codeSize);
        std::fill(dict.begin(), dict.end(), -1);
        codeSize = minCodeSize + 1;
        maxCode = endCode;
      }
      current = next;
    }
    writer.write(current, codeSize);
  }
  writer.write(clearCode, codeSize);
  writer.write(endCode, minCodeSize + 1);
  writer.finish();
  out.push_back(0x3b);  // trailer
  return out;
}

bool writeGif(const std::string& path, const PaletteImage& image) {
  const auto bytes = encodeGif(image);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace pm::pictures
