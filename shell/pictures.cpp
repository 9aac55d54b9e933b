#include "shell/pictures.h"

#include <algorithm>
#include <system_error>

namespace pm {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool isRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && !ec;
}

// The file of the folder whose name matches up to ASCII case; the smallest such
// name when several do, so that the choice does not depend on directory order.
fs::path findIgnoringCase(const fs::path& folder, std::string_view fileName) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return {};
  fs::path best;
  for (const fs::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    if (!equalIgnoringAsciiCase(name, fileName)) continue;
    if (!isRegularFile(entry.path())) continue;
    if (best.empty() || name < best.filename().string()) best = entry.path();
  }
  return best;
}

}  // namespace

fs::path executableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}

std::vector<fs::path> pictureFolders() {
  std::vector<fs::path> folders;
  folders.emplace_back(".");
  const fs::path exeFolder = executableFolder();
  if (!exeFolder.empty()) {
    folders.push_back(exeFolder / ".." / "share" / "planimove" / "pictures");
    folders.push_back(exeFolder / ".." / "data" / "pictures");
    folders.push_back(exeFolder / ".." / ".." / "data" / "pictures");
  }
#ifdef PLANIMOVE_DATA_DIR
  folders.push_back(fs::path(PLANIMOVE_DATA_DIR) / "pictures");
#endif
  return folders;
}

std::vector<fs::path> editionFolders(const std::vector<fs::path>& folders, std::string_view editionFolder) {
  if (editionFolder.empty() || !isPlainPictureName(editionFolder)) return folders;
  std::vector<fs::path> out;
  for (const fs::path& f : folders) {
    out.push_back(f / std::string(editionFolder));
    out.push_back(f);
  }
  return out;
}

bool isPlainPictureName(std::string_view fileName) {
  if (fileName.empty() || fileName == "." || fileName == "..") return false;
  for (char c : fileName) {
    if (c == '/' || c == '\\' || c == ':') return false;
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

std::string findPicture(std::string_view fileName, const std::vector<fs::path>& folders) {
  if (!isPlainPictureName(fileName)) return {};
  for (const fs::path& folder : folders) {
    const fs::path exact = folder / fs::path(std::string(fileName));
    if (isRegularFile(exact)) return exact.string();
  }
  // Second pass: tolerate a different letter case, still in folder order.
  for (const fs::path& folder : folders) {
    const fs::path other = findIgnoringCase(folder, fileName);
    if (!other.empty()) return other.string();
  }
  return {};
}

std::string findPicture(std::string_view fileName) {
  return findPicture(fileName, pictureFolders());
}

PictureFinder::PictureFinder(std::vector<fs::path> folders) : folders_(std::move(folders)) {}

const std::string& PictureFinder::find(std::string_view fileName) {
  // A command asks for one or two pictures: a short list beats a map.
  for (const auto& [name, path] : found_)
    if (name == fileName) return path;
  found_.emplace_back(std::string(fileName), findPicture(fileName, folders_));
  return found_.back().second;
}

}  // namespace pm
