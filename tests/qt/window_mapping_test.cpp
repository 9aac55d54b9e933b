// Key translation, the user-scale mapping and the picture lookup of the window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/pictures.h"
#include "shell/qt/key_mapping.h"
#include "shell/qt/user_scale.h"

namespace pm {
namespace {

TEST(WindowKeyMapping, NamedKeysGetTheirVirtualKeyCodes) {
  const std::pair<int, int> named[] = {
      {Qt::Key_Backspace, 8}, {Qt::Key_Escape, 27}, {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},    {Qt::Key_Home, 36},  {Qt::Key_Left, 37},
      {Qt::Key_Up, 38},       {Qt::Key_Right, 39},  {Qt::Key_Down, 40},  {Qt::Key_0, 48},
      {Qt::Key_9, 57},        {Qt::Key_A, 65},      {Qt::Key_Z, 90},     {Qt::Key_F1, 112},
      {Qt::Key_F8, 119},      {Qt::Key_F9, 120},
  };
  for (const auto& [qtKey, code] : named) {
    const auto key = virtualKey(qtKey, Qt::NoModifier);
    ASSERT_TRUE(key.has_value()) << qtKey;
    EXPECT_EQ(key->keyCode, code) << qtKey;
    EXPECT_EQ(key->shift, 0);
  }
}

TEST(WindowKeyMapping, ModifiersBecomeTheShiftBitSet) {
  EXPECT_EQ(virtualKey(Qt::Key_Up, Qt::ShiftModifier), (VirtualKey{38, 1}));
  EXPECT_EQ(virtualKey(Qt::Key_Left, Qt::ControlModifier), (VirtualKey{37, 2}));
  EXPECT_EQ(virtualKey(Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier), (VirtualKey{38, 3}));
  EXPECT_EQ(virtualKey(Qt::Key_Right, Qt::AltModifier), (VirtualKey{39, 4}));
  EXPECT_EQ(virtualKey(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
            (VirtualKey{40, 7}));
  // Keypad, AltGr and Meta are no part of the bit set.
  EXPECT_EQ(virtualKey(Qt::Key_Left, Qt::KeypadModifier | Qt::MetaModifier | Qt::ShiftModifier),
            (VirtualKey{37, 1}));
  EXPECT_EQ(virtualKey(Qt::Key_5, Qt::KeypadModifier), (VirtualKey{'5', 0}));
}

TEST(WindowKeyMapping, ModifierKeysAloneSendNothing) {
  for (int qtKey : {int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Alt), int(Qt::Key_AltGr),
                    int(Qt::Key_Meta), int(Qt::Key_CapsLock), int(Qt::Key_NumLock),
                    int(Qt::Key_Super_L), 0, -1}) {
    EXPECT_FALSE(virtualKey(qtKey, Qt::NoModifier).has_value()) << qtKey;
    EXPECT_FALSE(virtualKey(qtKey, Qt::ShiftModifier).has_value()) << qtKey;
  }
}

TEST(WindowKeyMapping, KeysOutsideTheTableGetCodesOfTheirOwn) {
  EXPECT_EQ(virtualKey(Qt::Key_Return, Qt::NoModifier), (VirtualKey{13, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_Enter, Qt::KeypadModifier), (VirtualKey{13, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_Tab, Qt::NoModifier), (VirtualKey{9, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_Backtab, Qt::ShiftModifier), (VirtualKey{9, 1}));
  EXPECT_EQ(virtualKey(Qt::Key_F10, Qt::NoModifier), (VirtualKey{121, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_F12, Qt::ControlModifier), (VirtualKey{123, 2}));
  EXPECT_EQ(virtualKey(Qt::Key_Delete, Qt::NoModifier), (VirtualKey{46, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_Plus, Qt::KeypadModifier), (VirtualKey{107, 0}));
  // Punctuation by the key's position where the X11 key code is known …
  EXPECT_EQ(virtualKey(Qt::Key_Comma, Qt::NoModifier, 59), (VirtualKey{0xBC, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_Semicolon, Qt::ShiftModifier, 59), (VirtualKey{0xBC, 1}));
  EXPECT_EQ(virtualKey(Qt::Key_Slash, Qt::ShiftModifier, 61), (VirtualKey{0xBD, 1}));
  // … and by the German layout's symbols where it is not.
  EXPECT_EQ(virtualKey(Qt::Key_Adiaeresis, Qt::NoModifier), (VirtualKey{0xDE, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_ssharp, Qt::NoModifier), (VirtualKey{0xDB, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_NumberSign, Qt::NoModifier), (VirtualKey{0xBF, 0}));
  // A symbol typed without Shift is no digit, and a key without a name of
  // its own still arrives.
  EXPECT_EQ(virtualKey(Qt::Key_Exclam, Qt::NoModifier), (VirtualKey{0xFF, 0}));
  EXPECT_EQ(virtualKey(Qt::Key_unknown, Qt::NoModifier), (VirtualKey{0xFF, 0}));
}

TEST(WindowKeyMapping, NoOtherKeyHitsARuleOfTheKeyTable) {
  // Codes the key table or the character commands act on.
  auto acted = [](int code) {
    return code == 8 || code == 27 || (code >= 32 && code <= 40) || (code >= 48 && code <= 57) ||
           (code >= 65 && code <= 90) || (code >= 112 && code <= 120);
  };
  for (int qtKey : {int(Qt::Key_Return), int(Qt::Key_Tab), int(Qt::Key_F10), int(Qt::Key_F11),
                    int(Qt::Key_F12), int(Qt::Key_F24), int(Qt::Key_Insert), int(Qt::Key_Delete),
                    int(Qt::Key_Print), int(Qt::Key_Pause), int(Qt::Key_Menu), int(Qt::Key_Comma),
                    int(Qt::Key_Period), int(Qt::Key_NumberSign), int(Qt::Key_Dollar),
                    int(Qt::Key_Percent), int(Qt::Key_Apostrophe), int(Qt::Key_ParenLeft),
                    int(Qt::Key_Exclam), int(Qt::Key_Less), int(Qt::Key_Udiaeresis),
                    int(Qt::Key_Dead_Circumflex), int(Qt::Key_VolumeUp)}) {
    for (Qt::KeyboardModifiers m : {Qt::KeyboardModifiers(Qt::NoModifier),
                                    Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
      const auto key = virtualKey(qtKey, m);
      ASSERT_TRUE(key.has_value()) << qtKey;
      EXPECT_FALSE(acted(key->keyCode)) << qtKey << " gives " << key->keyCode;
    }
  }
}

TEST(WindowKeyMapping, ShiftedDigitsStayDigits) {
  // X11 top-row key codes 10 … 19 are the digits 1 … 9, 0 on every layout.
  EXPECT_EQ(virtualKey(Qt::Key_At, Qt::ShiftModifier, 11), (VirtualKey{'2', 1}));
  EXPECT_EQ(virtualKey(Qt::Key_ParenRight, Qt::ShiftModifier, 19), (VirtualKey{'0', 1}));
  // A known key code that is no digit does not fall back to the symbol table.
  EXPECT_EQ(virtualKey(Qt::Key_Slash, Qt::ShiftModifier, 61), (VirtualKey{0xBD, 1}));
  // Without a key code the German layout's symbols are recognised.
  EXPECT_EQ(virtualKey(Qt::Key_Exclam, Qt::ShiftModifier), (VirtualKey{'1', 1}));
  EXPECT_EQ(virtualKey(Qt::Key_Percent, Qt::ShiftModifier), (VirtualKey{'5', 1}));
  EXPECT_EQ(virtualKey(Qt::Key_Equal, Qt::ShiftModifier), (VirtualKey{'0', 1}));
}

TEST(WindowUserScale, FitsTheScaleCentredWithItsAspectRatio) {
  // Exactly the scale's size: one pixel per unit, no margins.
  QRectF r = userScaleRect(QSizeF(1022, 691));
  EXPECT_DOUBLE_EQ(r.left(), 0);
  EXPECT_DOUBLE_EQ(r.width(), 1022);
  EXPECT_DOUBLE_EQ(widgetToDrawing(QPointF(0, 0), r).y(), 40);
  EXPECT_DOUBLE_EQ(widgetToDrawing(QPointF(1022, 691), r).x(), 1022);
  EXPECT_DOUBLE_EQ(widgetToDrawing(QPointF(1022, 691), r).y(), 731);

  // Twice as wide as needed: height limits, margins left and right.
  r = userScaleRect(QSizeF(2 * 1022 + 200, 2 * 691));
  EXPECT_DOUBLE_EQ(r.left(), 100);
  EXPECT_DOUBLE_EQ(r.top(), 0);
  EXPECT_DOUBLE_EQ(widgetPixelsPerUnit(r), 2);
  const QPointF d = widgetToDrawing(QPointF(100 + 2 * 511, 2 * 300), r);
  EXPECT_DOUBLE_EQ(d.x(), 511);
  EXPECT_DOUBLE_EQ(d.y(), 340);
  const QPointF w = drawingToWidget(d, r);
  EXPECT_DOUBLE_EQ(w.x(), 100 + 2 * 511);
  EXPECT_DOUBLE_EQ(w.y(), 600);

  // Tall and narrow: width limits, margins above and below.
  r = userScaleRect(QSizeF(511, 1000));
  EXPECT_DOUBLE_EQ(r.left(), 0);
  EXPECT_DOUBLE_EQ(r.top(), (1000 - 345.5) / 2);
}

TEST(WindowUserScale, EmptyWidgetMapsToTheScaleCorner) {
  for (QSizeF size : {QSizeF(0, 0), QSizeF(0, 500), QSizeF(-5, 300)}) {
    const QRectF r = userScaleRect(size);
    EXPECT_TRUE(r.isEmpty());
    const QPointF d = widgetToDrawing(QPointF(10, 10), r);
    EXPECT_DOUBLE_EQ(d.x(), 0);
    EXPECT_DOUBLE_EQ(d.y(), 40);
  }
}

class PictureLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("planimove-pictures-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "first");
    std::filesystem::create_directories(root_ / "second");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  void touch(const std::filesystem::path& p) { std::ofstream(p) << "GIF89a"; }
  std::vector<std::filesystem::path> folders() const {
    return {root_ / "missing", root_ / "first", root_ / "second"};
  }
  std::filesystem::path root_;
};

TEST_F(PictureLookup, FirstFolderHoldingThePictureWins) {
  touch(root_ / "second" / "Bild120.gif");
  EXPECT_EQ(findPicture("Bild120.gif", folders()), (root_ / "second" / "Bild120.gif").string());
  touch(root_ / "first" / "Bild120.gif");
  EXPECT_EQ(findPicture("Bild120.gif", folders()), (root_ / "first" / "Bild120.gif").string());
  EXPECT_EQ(findPicture("Bild121.gif", folders()), "");
  EXPECT_EQ(findPicture("Bild120.gif", {}), "");
  // A finder answers from memory (the frames of a run) until it forgets.
  PictureFinder finder(folders());
  EXPECT_EQ(finder.find("Bild121.gif"), "");
  touch(root_ / "second" / "Bild121.gif");
  std::filesystem::remove(root_ / "first" / "Bild120.gif");
  EXPECT_EQ(finder.find("Bild121.gif"), "");
  finder.forget();
  EXPECT_EQ(finder.find("Bild121.gif"), (root_ / "second" / "Bild121.gif").string());
  EXPECT_EQ(finder.find("Bild120.gif"), (root_ / "second" / "Bild120.gif").string());
}

TEST_F(PictureLookup, AnEditionsOwnPageComesBeforeTheSharedOne) {
  std::filesystem::create_directories(root_ / "second" / "rautenwerk");
  touch(root_ / "second" / "Bild110.gif");
  touch(root_ / "second" / "Bild120.gif");
  touch(root_ / "second" / "rautenwerk" / "Bild110.gif");
  const auto rautenwerk = editionFolders(folders(), "rautenwerk");
  EXPECT_EQ(findPicture("Bild110.gif", rautenwerk), (root_ / "second" / "rautenwerk" / "Bild110.gif").string());
  EXPECT_EQ(findPicture("Bild120.gif", rautenwerk), (root_ / "second" / "Bild120.gif").string());
  EXPECT_EQ(findPicture("Bild110.gif", editionFolders(folders(), "")), (root_ / "second" / "Bild110.gif").string());
}

TEST_F(PictureLookup, LetterCaseIsToleratedButExactNamesComeFirst) {
  touch(root_ / "first" / "bildf1.GIF");
  EXPECT_EQ(findPicture("BildF1.gif", folders()), (root_ / "first" / "bildf1.GIF").string());
  touch(root_ / "second" / "BildF1.gif");
  EXPECT_EQ(findPicture("BildF1.gif", folders()), (root_ / "second" / "BildF1.gif").string());
}

TEST_F(PictureLookup, OnlyPlainFileNamesAreLookedUp) {
  touch(root_ / "first" / "Bild1.gif");
  std::filesystem::create_directories(root_ / "first" / "Bild2.gif");  // a folder, not a file
  EXPECT_EQ(findPicture("Bild2.gif", folders()), "");
  for (const char* bad : {"", ".", "..", "../first/Bild1.gif", "first/Bild1.gif", "..\\Bild1.gif",
                          "C:Bild1.gif", "Bild1.gif\n"}) {
    EXPECT_FALSE(isPlainPictureName(bad)) << bad;
    EXPECT_EQ(findPicture(bad, {root_, root_ / "first"}), "") << bad;
  }
  EXPECT_EQ(findPicture(std::string_view("Bild1.gif\0x", 11), folders()), "");
  EXPECT_TRUE(isPlainPictureName("Bild000.gif"));
}

}  // namespace
}  // namespace pm
