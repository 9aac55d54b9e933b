// Lookup of the explanatory picture files ("Bild120.gif", "BildF1.gif"). The
// program names a picture by its bare file name; the file is searched in a
// short list of folders and the first hit wins:
//   1. the current folder,
//   2. <folder of the executable>/../share/planimove/pictures (a relocated or
//      uninstalled tree),
//   3. <folder of the executable>/../data/pictures and
//      <folder of the executable>/../../data/pictures (a build folder inside
//      the source tree, so that freshly built programs find the pictures: the
//      window in the build folder, the tools one folder below it),
//   4. the installed data folder PLANIMOVE_DATA_DIR/pictures.
// An exact name in any folder is preferred; failing that, a name that differs
// only in the case of ASCII letters is accepted (again in folder order), because
// the picture names come from a case-insensitive file system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pm {

// Folder of the running executable; empty when it cannot be determined.
std::filesystem::path executableFolder();

// The default search folders, in search order.
std::vector<std::filesystem::path> pictureFolders();

// The folders of an edition: before each folder its subfolder of the
// edition's own pictures (Edition::pictureFolder), when it has one.
std::vector<std::filesystem::path> editionFolders(const std::vector<std::filesystem::path>& folders,
                                                  std::string_view editionFolder);

// True for a bare file name: not empty, no folder separators, no "." or "..",
// no control characters. Only such names are looked up.
bool isPlainPictureName(std::string_view fileName);

// Path of the picture in the first folder that holds it; "" when no folder
// does or the name is not a plain file name.
std::string findPicture(std::string_view fileName,
                        const std::vector<std::filesystem::path>& folders);
std::string findPicture(std::string_view fileName);

// findPicture over a list of folders, remembering each answer (also "none")
// until forget(). Hosts forget when a command ends: the frames of a run ask
// for the same picture again and again and never search a folder twice, and
// a file added between commands is seen by the next one.
class PictureFinder {
 public:
  explicit PictureFinder(std::vector<std::filesystem::path> folders);
  const std::string& find(std::string_view fileName);
  void forget() { found_.clear(); }

 private:
  std::vector<std::filesystem::path> folders_;
  std::vector<std::pair<std::string, std::string>> found_;  // name, path
};

}  // namespace pm
