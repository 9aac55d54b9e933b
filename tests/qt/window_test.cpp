// The main window driven through its real widgets: keys, menus, the picture
// view on the user scale, and ending the program in the middle of a run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QtCore/QDir>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QImage>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "draw/qt/painter_backend.h"
#include "shell/menu_table.h"
#include "qt/counting_window.h"
#include "shell/qt/main_window.h"
#include "shell/qt/picture_view.h"

namespace pm {
namespace {


class WindowTest : public ::testing::Test {
 protected:
  void start(const Edition& edition = planimoveEdition()) {
    window = std::make_unique<CountingWindow>(edition);
    window->setFrameInterval(0);
    window->resize(1100, 800);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activate();
  }
  void SetUp() override { start(); }
  void TearDown() override {
    closeMenus();
    window.reset();
  }
  static void closeMenus() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  StateRecord& st() { return window->form().st; }
  QWidget* view() { return window->view(); }
  QMenu* menu(const char* name) { return window->findChild<QMenu*>(QString::fromLatin1(name)); }
  QAction* item(const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name), Qt::FindChildrenRecursively);
  }

  std::unique_ptr<CountingWindow> window;
};

// --- keys -----------------------------------------------------------------

TEST_F(WindowTest, ArrowsAndModifierKeysReachTheCommandHandler) {
  ASSERT_EQ(st().mn1, 1);
  QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);  // next topic group
  EXPECT_EQ(st().mn1, 2);
  QTest::keyClick(view(), Qt::Key_Left, Qt::AltModifier);  // qv := qv - qss
  EXPECT_EQ(st().qv, -1);
  QTest::keyClick(view(), Qt::Key_Up, Qt::ShiftModifier | Qt::AltModifier);  // qa + 1
  EXPECT_EQ(st().qa, 1);
  QTest::keyClick(view(), Qt::Key_Up, Qt::ControlModifier);  // zoom by 2^(1/12)
  EXPECT_NEAR(st().qzz, std::pow(2.0, 1.0 / 12), 1e-12);
  QTest::keyClick(view(), Qt::Key_F4);
  EXPECT_EQ(st().qsc, 1);
  QTest::keyClick(view(), Qt::Key_F1, Qt::ShiftModifier);  // coupler triangles flipped
  EXPECT_EQ(st().qff, -1);
}

TEST_F(WindowTest, KeysWinOverTheMenuBarAndTheFocusChain) {
  // Even with the menu bar as the receiver, arrows and Tab are commands, not
  // menu or focus navigation.
  const int before = window->frames;
  QTest::keyClick(window->menuBar(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(st().qv, 1);
  QTest::keyClick(window->menuBar(), Qt::Key_Tab);  // outside the key table: a rebuild
  EXPECT_EQ(window->frames, before + 2);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  // A modifier key alone runs no command; F12 rebuilds and hides the help.
  QTest::keyClick(view(), Qt::Key_F1);
  EXPECT_EQ(st().qst, 1);
  QTest::keyClick(view(), Qt::Key_Shift);
  EXPECT_EQ(window->frames, before + 3);
  QTest::keyClick(view(), Qt::Key_F12);
  EXPECT_EQ(window->frames, before + 4);
  EXPECT_EQ(st().qst, 0);
}

TEST_F(WindowTest, AltWithAMenuLetterOpensThatMenuInsteadOfTheLetterCommand) {
  const double wxx = st().wxx;
  const int before = window->frames;
  QTest::keyClick(view(), Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), menu("mnu20"));
  EXPECT_EQ(window->frames, before);  // the letter key "A" did not run
  EXPECT_EQ(st().wxx, wxx);
  closeMenus();
  // Alt with a letter that is no access letter is a command.
  QTest::keyClick(view(), Qt::Key_Q, Qt::AltModifier);
  EXPECT_EQ(window->frames, before + 1);
}

// --- menus ----------------------------------------------------------------

void expectMenuBarEqualsTable(MainWindow& window, const Edition& edition) {
  // Walk the real widgets and rebuild (name, caption, parent, submenu).
  std::vector<MenuEntry> shown;
  std::function<void(const QList<QAction*>&, const std::string&)> walk =
      [&](const QList<QAction*>& actions, const std::string& parent) {
        for (QAction* a : actions) {
          MenuEntry e;
          e.name = a->objectName().toStdString();
          e.caption = a->text().toStdString();
          e.parent = parent;
          e.hasSubmenu = a->menu() != nullptr;
          e.checkable = a->isCheckable();
          shown.push_back(e);
          if (a->menu()) walk(a->menu()->actions(), e.name);
        }
      };
  walk(window.menuBar()->actions(), "");
  // Items of the page alone (copying its link) are not in the window.
  auto table = menuBarTree(edition);
  std::erase_if(table, [](const MenuEntry& m) { return m.pageOnly; });
  ASSERT_EQ(shown.size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(shown[i].name, table[i].name) << i;
    // A key of the command handler stands beside the caption, after a tab.
    const bool keyShown = table[i].windowCommand == WindowCommand::None && !table[i].shortcut.empty();
    EXPECT_EQ(shown[i].caption, table[i].caption + (keyShown ? "\t" + table[i].shortcut : "")) << table[i].name;
    EXPECT_EQ(shown[i].parent, table[i].parent) << table[i].name;
    EXPECT_EQ(shown[i].hasSubmenu, table[i].hasSubmenu || table[i].parent.empty()) << table[i].name;
    EXPECT_EQ(shown[i].checkable, table[i].checkable) << table[i].name;
  }
}

TEST_F(WindowTest, MenuBarShowsTheTableOfEachEdition) {
  expectMenuBarEqualsTable(*window, planimoveEdition());
  ASSERT_EQ(window->menuBar()->actions().size(), 8);  // the specified six, "E&xtras", "Ü&bungen"
  EXPECT_EQ(window->menuBar()->actions()[3]->text(), QString::fromUtf8(" A&nzeigen    "));
  start(rautenwerkEdition());
  expectMenuBarEqualsTable(*window, rautenwerkEdition());
  EXPECT_EQ(item("mnu74")->text(), QStringLiteral("Zweischlag spiegeln"));
}

TEST_F(WindowTest, TopicChosenThroughTheMenusByKeyboard) {
  st().mn5 = 3;
  QTest::keyClick(view(), Qt::Key_A, Qt::AltModifier);  // "&Analyse    "
  QMenu* analysis = menu("mnu20");
  ASSERT_EQ(QApplication::activePopupWidget(), analysis);
  const int before = window->frames;
  QTest::keyClick(analysis, Qt::Key_G);  // "&Geschwindigkeit" opens
  QMenu* velocity = menu("mnu22");
  ASSERT_EQ(QApplication::activePopupWidget(), velocity);
  EXPECT_EQ(st().mn1, 1);  // opening a menu changes nothing
  EXPECT_EQ(st().mn5, 3);
  EXPECT_EQ(window->frames, before);
  QTest::keyClick(velocity, Qt::Key_P);  // "&Polstrahlen": group, topic and page 0
  EXPECT_EQ(st().mn1, 2);
  EXPECT_EQ(st().mn2, 4);
  EXPECT_EQ(st().mn5, 0);
  EXPECT_EQ(window->frames, before + 1);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(WindowTest, MenuItemsSetTheirFieldsAndCheckMarksFollowTheState) {
  // Mechanism type from its menu.
  menu("mnu1")->popup(QPoint(0, 0));
  item("mnu18")->trigger();  // "S&chubkurbel"
  EXPECT_EQ(st().mn0, 8);
  closeMenus();
  // "Hilfe" shows whether the help picture is on.
  QAction* help = item("mnu61");
  ASSERT_TRUE(help && help->isCheckable());
  EXPECT_FALSE(help->isChecked());
  EXPECT_EQ(st().qst, 0);
  help->trigger();
  EXPECT_EQ(st().qst, 1);
  EXPECT_TRUE(help->isChecked());
  help->trigger();
  EXPECT_EQ(st().qst, 0);
  EXPECT_FALSE(help->isChecked());
  // An assembly item sends its Shift+F-key.
  item("mnu72")->trigger();
  EXPECT_EQ(st().qcc, -1);
  // The marks are refreshed after key commands as well.
  QAction* joints = item("mnu64");
  for (int i = 0; i < 2; ++i) {
    joints->trigger();
    EXPECT_EQ(joints->isChecked(), window->form().menuChecked("mnu64"));
    EXPECT_EQ(st().qsc, (i + 1) % 2);
  }
}

// --- picture and user scale -------------------------------------------------

// Pixel of the view's rendering at a drawing point.
QColor pixelAt(PictureView& view, QPointF drawing) {
  const QRectF r = view.scaleRect();
  const double unit = std::min(view.width() / 1022.0, view.height() / 691.0);
  const QPointF centre(view.width() / 2.0, view.height() / 2.0);
  const QPointF p = centre + (drawing - QPointF(511, 385.5)) * unit;
  EXPECT_TRUE(r.contains(p));
  const QImage image = view.grab().toImage();
  return image.pixelColor((p * image.devicePixelRatio()).toPoint());
}

TEST_F(WindowTest, CursorAndPictureFollowTheUserScaleAtAnySize) {
  for (QSize size : {QSize(700, 900), QSize(1500, 600)}) {
    window->resize(size);
    QApplication::processEvents();
    PictureView& v = *window->view();
    // The centre of the view is the centre of the scale; the unit is the
    // smaller of the two ratios, whichever side limits.
    const double unit = std::min(v.width() / 1022.0, v.height() / 691.0);
    const QPointF centre(v.width() / 2.0, v.height() / 2.0);
    const QPoint target = (centre + QPointF(100, -50)).toPoint();
    QCursor::setPos(v.mapToGlobal(target));
    EXPECT_NEAR(window->cursorX(), 511 + (target.x() - centre.x()) / unit, 1e-6) << size.width();
    EXPECT_NEAR(window->cursorY(), 385.5 + (target.y() - centre.y()) / unit, 1e-6) << size.width();
    // The emblem's yellow plate (drawing (870 … 985, 60 … 100)) sits where the
    // scale puts it; resizing shows the same picture without rebuilding it.
    const QColor plate = pixelAt(v, QPointF(920, 80));
    EXPECT_GT(plate.red(), 200);
    EXPECT_GT(plate.green(), 200);
    EXPECT_LT(plate.blue(), 80);
  }
  EXPECT_EQ(window->frames, 1);
}

// The window's drawing area, grabbed with the menu bar above it, is the
// renderer's picture of the same display list at the same size: small circles
// drawn from stamps and one-pixel points sit where the renderer puts them.
TEST_F(WindowTest, DrawingAreaEqualsTheRenderedPictureOfTheSameSize) {
  QTest::keyClick(view(), Qt::Key_F3);  // texts off: Down walks the topics
  for (int i = 0; i < 6; ++i) QTest::keyClick(view(), Qt::Key_Down);  // coupler curve
  QTest::keyClick(view(), Qt::Key_Space);
  ASSERT_EQ(st().mn2, 6);
  for (QSize size : {QSize(1100, 800), QSize(900, 560), QSize(1366, 749)}) {
    window->resize(size);
    QApplication::processEvents();
    PictureView& v = *window->view();
    ASSERT_GT(v.mapTo(window.get(), QPoint(0, 0)).y(), 0) << "the menu bar stands above the drawing area";
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage area = shot.copy(QRect(v.mapTo(window.get(), QPoint(0, 0)) * shot.devicePixelRatio(),
                                        v.size() * shot.devicePixelRatio()));
    const QImage rendered =
        renderImage(v.shownList(), nullptr, v.size(), shot.devicePixelRatio())
            .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(area.size(), rendered.size());
    int differing = 0;
    for (int y = 0; y < area.height(); ++y) {
      for (int x = 0; x < area.width(); ++x) {
        const QRgb a = area.pixel(x, y), b = rendered.pixel(x, y);
        if (std::abs(qRed(a) - qRed(b)) > 48 || std::abs(qGreen(a) - qGreen(b)) > 48 ||
            std::abs(qBlue(a) - qBlue(b)) > 48)
          ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << size.width() << "x" << size.height();
  }
}

TEST_F(WindowTest, OnlyCompletePicturesAreShown) {
  const DisplayList shown = window->view()->shownList();
  ASSERT_FALSE(shown.empty());
  // A command in progress clears and redraws the canvas; the view keeps the
  // previous picture until the command says its picture is complete.
  window->form().canvas.clear();
  window->form().canvas.line(0, 40, 100, 100, rgb(0, 0, 0));
  window->view()->repaint();
  EXPECT_EQ(window->view()->shownList().size(), shown.size());
  window->frameReady();
  EXPECT_EQ(window->view()->shownList().size(), 1u);
}

TEST_F(WindowTest, BackgroundPicturesAreLookedUpAndMissingOnesShowNothing) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("planimove-window-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const QString oldCurrent = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.string())));
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(Qt::red);
  // Image files are recognised by their content, whatever the extension.
  ASSERT_TRUE(picture.save(QStringLiteral("BildTest.gif"), "PNG"));
  { std::ofstream(folder / "BildKaputt.gif") << "no picture"; }

  window->setBackgroundPicture("BildTest.gif");
  EXPECT_NE(window->view()->shownBackground().size(), QSize(40, 30));  // not before the frame
  window->frameReady();
  EXPECT_EQ(window->view()->shownBackground().size(), QSize(40, 30));
  for (const char* name : {"BildFehlt.gif", "BildKaputt.gif", "../BildTest.gif", ""}) {
    window->setBackgroundPicture("BildTest.gif");
    window->setBackgroundPicture(name);
    window->frameReady();
    EXPECT_TRUE(window->view()->shownBackground().isNull()) << name;
  }
  QDir::setCurrent(oldCurrent);
  std::filesystem::remove_all(folder);
}

// --- ending -----------------------------------------------------------------

TEST_F(WindowTest, KeyDuringARunIsANestedCommand) {
  QTimer::singleShot(0, window.get(), [this] { QTest::keyClick(view(), Qt::Key_F4); });
  QTest::keyClick(view(), Qt::Key_F7);  // full-revolution run
  EXPECT_EQ(st().qsc, 1);
  EXPECT_GT(window->frames, 10);
  EXPECT_FALSE(window->hasEnded());
}

TEST_F(WindowTest, ClosingTheWindowDuringARunEndsEverythingCleanly) {
  QSignalSpy ended(window.get(), &MainWindow::programEnded);
  QTimer::singleShot(0, window.get(), [this] { window->close(); });
  const int before = window->frames;
  QTest::keyClick(view(), Qt::Key_F7);
  // The run stopped at the next frame, the window is gone from the screen but
  // still alive until the command has unwound; now it can be destroyed.
  EXPECT_TRUE(window->hasEnded());
  EXPECT_TRUE(window->form().ending);
  EXPECT_FALSE(window->isVisible());
  EXPECT_LE(window->frames - before, 2);
  EXPECT_EQ(ended.count(), 1);
  // Nothing more is run after the end.
  QTest::keyClick(view(), Qt::Key_F4);
  EXPECT_EQ(st().qsc, 0);
  window.reset();
}

TEST_F(WindowTest, EscInsideANestedRunEndsTheProgram) {
  QSignalSpy ended(window.get(), &MainWindow::programEnded);
  QTimer::singleShot(0, window.get(), [this] { QTest::keyClick(view(), Qt::Key_Escape); });
  QTest::keyClick(view(), Qt::Key_F7);
  EXPECT_TRUE(window->hasEnded());
  EXPECT_EQ(ended.count(), 1);
  QTest::keyClick(view(), Qt::Key_End);
  EXPECT_EQ(ended.count(), 1);
}

}  // namespace
}  // namespace pm
