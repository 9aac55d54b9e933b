// The files the program saves: the one writer leaves the old file byte for
// byte and no partial file behind when a write fails, names are used byte for
// byte, and each saved name gets exactly one extension.
#include "shell/atomic_file.h"
#include "shell/file_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/file_size_limit.h"

namespace pm {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("planimove-atomic-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  static std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
    return out;
  }

  fs::path folder;
};

TEST_F(AtomicFile, ReplacesCompletelyKeepingModeAndLinksWithoutLeftovers) {
  std::string reason;
  // A new file, with a name that is not UTF-8, gets exactly that name.
  const fs::path odd = folder / "x\xff.png";
  ASSERT_TRUE(writeFileAtomically(odd, "first", reason)) << reason;
  EXPECT_EQ(names(), std::vector<std::string>{"x\xff.png"});
  EXPECT_EQ(read(odd), "first");

  // An existing file is replaced and keeps its permissions.
  ::chmod(odd.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(odd, std::string(100000, 'b'), reason)) << reason;
  EXPECT_EQ(read(odd), std::string(100000, 'b'));
  struct stat st {};
  ASSERT_EQ(::stat(odd.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A link is written through; it stays a link.
  const fs::path link = folder / "link.png";
  fs::create_symlink(odd.filename(), link);
  ASSERT_TRUE(writeFileAtomically(link, "through", reason)) << reason;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read(odd), "through");
  EXPECT_EQ(names().size(), 2u) << "no temporary file remains";

  // A device is written in place and stays a device.
  ASSERT_TRUE(writeFileAtomically("/dev/null", "nothing", reason)) << reason;
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(AtomicFile, AFailedWriteLeavesTheOldFileByteForByte) {
  const fs::path file = folder / "Bild.png";
  const std::string old = "old picture " + std::string(5000, 'o');
  put(file, old);
  std::string reason;
  {
    // A disk that is full after 4096 bytes of a file.
    testing::FileSizeLimit full(4096);
    ASSERT_TRUE(full.active());
    EXPECT_FALSE(writeFileAtomically(file, std::string(70000, 'n'), reason));
  }
  EXPECT_EQ(reason, "die Datei wird zu groß");
  EXPECT_EQ(read(file), old);
  EXPECT_EQ(names(), std::vector<std::string>{"Bild.png"}) << "no partial file remains";

  // Targets that cannot be written name their reason and change nothing.
  const struct {
    fs::path path;
    const char* reason;
  } cases[] = {
      {folder / "missing" / "x.png", "der Ordner existiert nicht"},
      {folder, "der Name gehört einem Ordner"},
      {file / "x.png", "ein Teil des Pfades ist kein Ordner"},
      {folder / (std::string(300, 'n') + ".png"), "der Name ist zu lang"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(writeFileAtomically(c.path, "new", reason)) << c.path;
    EXPECT_EQ(reason, c.reason) << c.path;
  }
  EXPECT_EQ(read(file), old);
  EXPECT_EQ(names(), std::vector<std::string>{"Bild.png"});
}

TEST(SavedFileNames, GetExactlyTheExtensionOfTheirContents) {
  const struct {
    const char* typed;
    const char* extension;
    const char* saved;
  } cases[] = {
      {"Bild", "png", "Bild.png"},
      {"trail.", "png", "trail.png"},
      {"trail...", "svg", "trail.svg"},
      {"Bild.PNG", "png", "Bild.PNG"},
      {"anim.png", "gif", "anim.gif"},
      {"anim.GIF", "gif", "anim.GIF"},
      {"/tmp/a.b/Umlauf", "gif", "/tmp/a.b/Umlauf.gif"},
      {"/tmp/a.b/.hidden", "gif", "/tmp/a.b/.hidden.gif"},
      {"Getriebe 1.5", "png", "Getriebe 1.5.png"},
      {"x\xff.jpg", "png", "x\xff.png"},
  };
  for (const auto& c : cases) EXPECT_EQ(withExtension(c.typed, c.extension), c.saved) << c.typed;
  EXPECT_EQ(fileExtension("a.b/c"), "");
  EXPECT_EQ(fileExtension("a/b.tar.GZ"), "GZ");
}

}  // namespace
}  // namespace pm
