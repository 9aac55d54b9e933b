// The menu "E&xtras" of the real window: the values panel (F11, the menu
// item, the layout beside the drawing area), copying and saving the picture,
// the animation of one revolution against the renderer's frames, and the
// diagrams over the crank angle (F10, the cursor, picking an angle, saving).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtGui/QFontMetricsF>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QTextBrowser>
#include <filesystem>
#include <memory>
#include <numbers>

#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "kinematics/measured_values.h"
#include "qt/gif_decode.h"
#include "qt/counting_window.h"
#include "diagrams/motion_of_form.h"
#include "shell/qt/diagram_files.h"
#include "shell/qt/diagram_view.h"
#include "support/file_size_limit.h"
#include "shell/qt/main_window.h"
#include "shell/qt/picture_view.h"
#include "shell/qt/side_panel.h"
#include "shell/qt/values_panel.h"

namespace pm {
namespace {


class ExtrasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("planimove-extras-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    window = std::make_unique<CountingWindow>(planimoveEdition());
    window->setFrameInterval(0);
    window->setMessageBoxes(false);
    window->resize(1100, 800);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activate();
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove_all(folder);
  }
  static QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QString path(const char* name) const { return QString::fromStdString((folder / name).string()); }
  StateRecord& st() { return window->form().st; }
  PictureView& view() { return *window->view(); }
  QAction* item(const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name), Qt::FindChildrenRecursively);
  }
  // Pole rays of the crank-rocker, texts off, the crank turned a little.
  void showPoleRays() {
    Form1& f = window->form();
    f.Form_KeyDown(kKeyF1 + 2, 0);  // F3: no text pictures
    f.menuCommand("mnu22");
    f.menuCommand("mnu224");
    for (int i = 0; i < 3; ++i) f.Form_KeyDown(kKeySpace, 0);
  }

  std::filesystem::path folder;
  std::unique_ptr<CountingWindow> window;
};

TEST_F(ExtrasTest, F11AndTheMenuItemToggleThePanelWithoutACommand) {
  QAction* panelItem = item("mnu91");
  ASSERT_NE(panelItem, nullptr);
  EXPECT_TRUE(panelItem->isCheckable());
  EXPECT_EQ(panelItem->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_FALSE(window->valuesPanelShown());
  EXPECT_FALSE(window->valuesPanel()->isVisible());
  const int frames = window->frames;
  const double wxx = st().wxx;
  QTest::keyClick(&view(), Qt::Key_F11);
  EXPECT_TRUE(window->valuesPanelShown());
  EXPECT_TRUE(window->valuesPanel()->isVisible());
  EXPECT_TRUE(panelItem->isChecked());
  // F11 is no command: nothing rebuilt, the crank stands.
  EXPECT_EQ(window->frames, frames);
  EXPECT_EQ(st().wxx, wxx);
  EXPECT_EQ(window->valuesPanel()->values().size(), measuredValues(window->form()).size());
  // Every command and every frame refreshes the lines.
  QTest::keyClick(&view(), Qt::Key_Space);
  EXPECT_EQ(window->valuesPanel()->values().size(), measuredValues(window->form()).size());
  panelItem->trigger();
  EXPECT_FALSE(window->valuesPanelShown());
  EXPECT_FALSE(panelItem->isChecked());
  panelItem->trigger();
  EXPECT_TRUE(window->valuesPanelShown());
  QTest::keyClick(&view(), Qt::Key_F11, Qt::ShiftModifier);
  EXPECT_FALSE(window->valuesPanelShown());
  EXPECT_EQ(window->frames, frames + 1);  // only the Space
}

TEST_F(ExtrasTest, DrawingAreaKeepsItsAspectBesideThePanel) {
  const double aspect = 1022.0 / 691.0;
  // A window whose width limits the picture: the picture shrinks.
  window->resize(1100, 800);
  QApplication::processEvents();
  const QRectF before = view().scaleRect();
  const int viewWidth = view().width();
  window->setValuesPanelShown(true);
  QApplication::processEvents();
  const SidePanel& panel = *window->sidePanel();
  EXPECT_EQ(view().width() + panel.width(), viewWidth);
  EXPECT_EQ(panel.x(), view().width());
  EXPECT_EQ(panel.height(), view().height());
  const QRectF shrunk = view().scaleRect();
  EXPECT_LT(shrunk.width(), before.width());
  EXPECT_NEAR(shrunk.width() / shrunk.height(), aspect, 1e-9);
  // A wide window: the panel sits in the margin, the picture keeps its size.
  window->resize(1900, 700);
  QApplication::processEvents();
  const QRectF wide = view().scaleRect();
  window->setValuesPanelShown(false);
  QApplication::processEvents();
  EXPECT_NEAR(view().scaleRect().width(), wide.width(), 1e-9);
  EXPECT_NEAR(wide.width() / wide.height(), aspect, 1e-9);
  // The font follows the window height, the panel width the font.
  EXPECT_GT(ValuesPanel::textPixels(1080), ValuesPanel::textPixels(600));
  EXPECT_GE(ValuesPanel::textPixels(1080), 24);
  // The layout never gives the panel more than half the width.
  const ClientLayout narrow = layoutClientArea(QSize(400, 300), true, 350);
  EXPECT_EQ(narrow.panel.width(), 200);
  EXPECT_EQ(narrow.drawing, QRect(0, 0, 200, 300));
  EXPECT_TRUE(layoutClientArea(QSize(400, 300), false, 350).panel.isEmpty());
  // A value too long for the line beside its name (a class title) goes below
  // the name, wrapped: the lines need more height, not a value over the name.
  ValuesPanel lines;
  lines.setTextPixels(ValuesPanel::textPixels(768));
  lines.resize(ValuesPanel::widthFor(lines.textPixels()), 400);
  lines.setValues({{"Getriebeart", "Doppelkurbel"}});
  const int oneLine = lines.preferredHeight();
  lines.setValues({{"Getriebeart", "Doppelschwinge ohne umlauffähiges Glied, Kurbel am längsten"}});
  EXPECT_GT(lines.preferredHeight(), oneLine + 2 * lines.textPixels());
}

// The x of the cursor in a sheet: the black vertical line of the first plot.
double cursorX(const DisplayList& sheet) {
  for (const Primitive& p : sheet)
    if (p.kind == Primitive::Kind::Line && p.colour == rgb(0, 0, 0) && p.x1 == p.x2) return p.x1;
  return NAN;
}

TEST_F(ExtrasTest, F10ShowsTheDiagramsWhoseCursorFollowsTheCrankAndPicksAnAngle) {
  showPoleRays();
  QAction* diagramsItem = item("mnu9d");
  ASSERT_NE(diagramsItem, nullptr);
  EXPECT_TRUE(diagramsItem->isCheckable());
  EXPECT_EQ(diagramsItem->shortcut(), QKeySequence(Qt::Key_F10));
  DiagramView& diagrams = *window->diagramView();
  EXPECT_FALSE(diagrams.isVisible());
  const int frames = window->frames;
  const int viewWidth = view().width();
  QTest::keyClick(&view(), Qt::Key_F10);
  ASSERT_TRUE(window->diagramsShown());
  EXPECT_TRUE(diagrams.isVisible());
  EXPECT_TRUE(diagramsItem->isChecked());
  EXPECT_EQ(window->frames, frames);  // no command
  // Beside the drawing area, which shrinks by the diagrams' width.
  EXPECT_EQ(view().width() + diagrams.width(), viewWidth);
  EXPECT_EQ(diagrams.x(), view().width());
  // The renderer's sheet for the same state and size, primitive for primitive.
  EXPECT_EQ(diagrams.sheet(), diagramSheet(shownMotionTable(window->form()), diagrams.size()));
  // With the panel too: drawing area, diagrams, panel from left to right.
  window->setValuesPanelShown(true);
  QApplication::processEvents();
  EXPECT_EQ(window->sidePanel()->x(), diagrams.x() + diagrams.width());
  EXPECT_EQ(view().width() + diagrams.width() + window->sidePanel()->width(), viewWidth);

  // Space moves the cursor by the drive step.
  const DiagramLayout layout = diagrams.layout();
  ASSERT_FALSE(layout.plots.empty());
  const DiagramLayout::Box box = layout.plots.front();
  const double before = cursorX(diagrams.sheet());
  QTest::keyClick(&view(), Qt::Key_Space);
  const double step = (box.right - box.left) * 4 / (layout.last - layout.first);
  EXPECT_NEAR(std::fabs(cursorX(diagrams.sheet()) - before), step, 0.01);

  // A click in a plot turns the crank to the angle under the pointer.
  const QPoint at(qRound(box.left + 0.25 * (box.right - box.left)), qRound((box.top + box.bottom) / 2));
  const double picked = *crankAngleAt(layout, at.x(), at.y());
  QTest::mouseClick(&diagrams, Qt::LeftButton, {}, at);
  EXPECT_NEAR(std::remainder(window->form().cmd.shown.crankAngle * 180 / std::numbers::pi - picked, 360.0), 0, 1e-6);
  EXPECT_NEAR(cursorX(diagrams.sheet()), at.x(), 1.0);
  EXPECT_EQ(window->frames, frames + 2);  // the Space and the click
  QTest::keyClick(&view(), Qt::Key_F10);
  EXPECT_FALSE(window->diagramsShown());
  EXPECT_FALSE(diagrams.isVisible());
}

TEST_F(ExtrasTest, DiagramsSavedAsPictureOrTable) {
  showPoleRays();
  window->setDiagramsShown(true);
  QApplication::processEvents();
  const QSize size = window->diagramView()->size();
  ASSERT_TRUE(window->saveDiagrams(path("d.png")));
  EXPECT_EQ(QImage(path("d.png")).size(), size);
  ASSERT_TRUE(window->saveDiagrams(path("d.svg")));
  ASSERT_TRUE(window->saveDiagrams(path("d.csv")));
  QFile csv(path("d.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_TRUE(csv.readAll().startsWith("\xEF\xBB\xBF\xCF\x86 [\xC2\xB0];"));  // BOM, "φ [°];"
  EXPECT_FALSE(window->saveDiagrams(path("d.txt")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral(".csv")));
  EXPECT_FALSE(window->saveDiagrams(QStringLiteral("/nonexistent-folder/d.csv")));
  // Nothing to tabulate on the start page: the table is refused, the picture says why.
  window->form().menuCommand("mnu1");
  window->form().st.mn1 = 1;
  window->form().st.mn2 = 0;
  window->form().Form_KeyDown(kKeyRebuild, 0);
  EXPECT_FALSE(window->saveDiagrams(path("leer.csv")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("Kein Getriebe")));
  EXPECT_TRUE(window->saveDiagrams(path("leer.png")));
}

TEST(ValuesPanelLine, ALongValueIsElidedAndTheNameKept) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  const QFontMetricsF m(font);
  const QString longValue = QStringLiteral("die Kette schließt sich bei diesem Kurbelwinkel nicht");
  const QString longName = QStringLiteral("Übertragungswinkel zwischen Koppel und Schwinge");
  const int width = 280, gap = 8;
  // Short texts stay whole, however their advances round.
  for (const char* name : {"Kurbelwinkel φ", "ω Kurbel", "Längeneinheit", "α Koppel"}) {
    for (const char* value : {"66,0°", "1,60 1/s", "−0,0634 1/s²", "Zeichnungseinheit"}) {
      const PanelLine line = fitLine(font, QString::fromUtf8(name), QString::fromUtf8(value), width, gap);
      EXPECT_EQ(line.name, QString::fromUtf8(name));
      EXPECT_EQ(line.value, QString::fromUtf8(value));
    }
  }
  // A long value: elided, and the name kept whole.
  PanelLine line = fitLine(font, QStringLiteral("Grund"), longValue, width, gap);
  EXPECT_EQ(line.name, QStringLiteral("Grund"));
  EXPECT_TRUE(line.value.endsWith(QChar(0x2026)));
  EXPECT_TRUE(longValue.startsWith(line.value.chopped(1)));
  EXPECT_LE(m.horizontalAdvance(line.name) + m.horizontalAdvance(line.value), width - gap + 1);
  // A long name gives way to a short value; both long share the line.
  line = fitLine(font, longName, QStringLiteral("81,2°"), width, gap);
  EXPECT_EQ(line.value, QStringLiteral("81,2°"));
  EXPECT_TRUE(line.name.endsWith(QChar(0x2026)));
  line = fitLine(font, longName, longValue, width, gap);
  EXPECT_TRUE(line.name.endsWith(QChar(0x2026)));
  EXPECT_TRUE(line.value.endsWith(QChar(0x2026)));
  EXPECT_GT(m.horizontalAdvance(line.name), (width - gap) / 3);  // the name keeps about half
}

TEST_F(ExtrasTest, ThePanelShowsTheTopicsPageAndTheBandAboveThePictureStaysFree) {
  // The window looks for the pictures in the current folder first.
  const QString before = QDir::currentPath();
  QDir::setCurrent(QStringLiteral(PLANIMOVE_PICTURES_FOLDER));
  struct Back {
    QString folder;
    ~Back() { QDir::setCurrent(folder); }
  } back{before};
  window->resize(1366, 740);
  Form1& f = window->form();
  f.menuCommand("mnu222");  // 2.2, page 0 of two
  QApplication::processEvents();
  ASSERT_FALSE(view().shownBackground().isNull());  // the band shows the page
  window->setValuesPanelShown(true);
  QApplication::processEvents();
  QTextBrowser* page = window->sidePanel()->pageView();
  EXPECT_TRUE(view().shownBackground().isNull());
  EXPECT_TRUE(page->isVisible());
  EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("2.2 Vektorsumme")));
  EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("Tafel 1 von 2")));
  EXPECT_GE(page->document()->defaultFont().pixelSize(), 14);
  // The page follows the keys; the help picture is no page and stays in the band.
  f.Form_KeyDown(kKeyDown, 0);
  EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("Tafel 2 von 2")));
  f.Form_KeyDown(kKeyF1, 0);
  EXPECT_FALSE(page->isVisible());
  EXPECT_FALSE(view().shownBackground().isNull());
  f.Form_KeyDown(kKeyF1 + 2, 0);  // F3: pages off, the panel keeps only the values
  EXPECT_FALSE(page->isVisible());
  f.Form_KeyDown(kKeyF1 + 2, 0);
  window->setValuesPanelShown(false);
  QApplication::processEvents();
  EXPECT_FALSE(view().shownBackground().isNull());  // the page is back in the band
}

TEST_F(ExtrasTest, PictureSavedAsPngAndSvgAtTheAreaSizeOrAChosenWidth) {
  showPoleRays();
  const QImage shown = window->pictureImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), view().size() * view().devicePixelRatioF());
  ASSERT_TRUE(window->savePicture(path("bild.png")));
  // The pixels shown on screen, also at a scale factor of 2.
  QImage png = QImage(path("bild.png")).convertToFormat(QImage::Format_RGB32);
  png.setDevicePixelRatio(shown.devicePixelRatio());
  EXPECT_EQ(png, shown);
  // A chosen width keeps the drawing area's aspect.
  ASSERT_TRUE(window->savePicture(path("schmal.PNG"), 511));
  EXPECT_EQ(QImage(path("schmal.PNG")).size(),
            QSize(511, qRound(511.0 * view().height() / view().width())));
  ASSERT_TRUE(window->savePicture(path("bild.svg")));
  QFile svg(path("bild.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_TRUE(text.contains(QByteArray::number(view().width())));
  // Sizes beyond 10,000 pixels a side are refused with a message.
  EXPECT_FALSE(window->savePicture(path("riesig.png"), 10001));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("10.000")));
  EXPECT_FALSE(std::filesystem::exists(folder / "riesig.png"));
  // Other names and unwritable places are refused with a message.
  EXPECT_FALSE(window->savePicture(path("bild.jpg")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral(".png")));
  EXPECT_FALSE(std::filesystem::exists(folder / "bild.jpg"));
  EXPECT_FALSE(window->savePicture(QStringLiteral("/nonexistent-folder/bild.png")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("/nonexistent-folder/bild.png")));
  // A full disk: the old picture stays byte for byte, the message says why.
  const QByteArray old = readAll(path("schmal.PNG"));
  {
    testing::FileSizeLimit full(4096);
    ASSERT_TRUE(full.active());
    EXPECT_FALSE(window->savePicture(path("schmal.PNG")));
  }
  EXPECT_EQ(readAll(path("schmal.PNG")), old);
  EXPECT_TRUE(window->lastMessage().contains(path("schmal.PNG")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("zu groß")));
}

TEST_F(ExtrasTest, CopyPutsImageAndSvgOnTheClipboard) {
  showPoleRays();
  // Both parts come from memory: a temporary folder that cannot be written
  // to costs neither of them.
  const QByteArray tmp = qgetenv("TMPDIR");
  for (const char* temporary : {"", "/nonexistent-folder"}) {
    if (*temporary) qputenv("TMPDIR", temporary);
    QGuiApplication::clipboard()->clear();
    const bool copied = window->copyPicture();
    if (tmp.isNull())
      qunsetenv("TMPDIR");
    else
      qputenv("TMPDIR", tmp);
    ASSERT_TRUE(copied) << temporary;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/png"))) << temporary;
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg")) << temporary;
    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              window->pictureImage().convertToFormat(QImage::Format_RGB32));
  }
}

// A headless program that notes the display list of every run frame.
class RunFrames : public QuietHost {
 public:
  Form1* form = nullptr;
  std::vector<DisplayList> frames;
  void frameReady() override {
    if (form && form->runFrame > 0) frames.push_back(static_cast<RecordingCanvas&>(form->canvas).list());
  }
};

TEST_F(ExtrasTest, AnimationHoldsTheRunFramesAndLeavesEverythingAsItWas) {
  window->resize(700, 520);  // smaller frames: a quicker test
  QApplication::processEvents();
  showPoleRays();
  st().qgw = -1;  // backwards: the run turns backwards
  const StateRecord before = st();
  const std::size_t shownItems = view().shownList().size();
  const QSize size = view().size();
  const int frames = window->frames;
  ASSERT_TRUE(window->saveAnimation(path("umlauf.gif"))) << window->lastMessage().toStdString();
  // Nothing was shown, and everything stands as before.
  EXPECT_EQ(window->frames, frames + 90);  // handed to the host, recorded, not shown
  EXPECT_EQ(view().shownList().size(), shownItems);
  EXPECT_EQ(st().wxx, before.wxx);
  EXPECT_EQ(st().qgw, -1);
  EXPECT_EQ(st().mn2, before.mn2);

  const DecodedGif gif = decodeGifFile(path("umlauf.gif").toStdString());
  ASSERT_EQ(gif.frames.size(), 90u);
  EXPECT_TRUE(gif.loops);
  for (int d : gif.delays) ASSERT_EQ(d, 3);

  // The same run in a program without a window, frame by frame.
  RecordingCanvas canvas(qtFontMetrics());
  RunFrames host;
  Form1 form(canvas, host, planimoveEdition());
  host.form = &form;
  form.Form_Activate();
  form.Form_KeyDown(kKeyF1 + 2, 0);
  form.menuCommand("mnu22");
  form.menuCommand("mnu224");
  for (int i = 0; i < 3; ++i) form.Form_KeyDown(kKeySpace, 0);
  form.st.qgw = -1;
  form.Form_KeyDown('2', 0);
  ASSERT_EQ(host.frames.size(), 90u);
  for (std::size_t i = 0; i < 90; ++i) {
    const QImage rendered = renderImage(host.frames[i], nullptr, size, 1, canvas.backgroundColour());
    const PaletteImage expected = toPaletteImage(rendered);
    QImage want(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(want.scanLine(y));
      for (int x = 0; x < size.width(); ++x) {
        const auto& c = expected.palette[expected.pixels[static_cast<std::size_t>(y) * size.width() + x]];
        line[x] = qRgb(c[0], c[1], c[2]);
      }
    }
    ASSERT_EQ(gif.frames[i], want) << "frame " << i + 1;
  }
  // The frames differ: the crank turns.
  EXPECT_NE(gif.frames[0], gif.frames[45]);
}

TEST_F(ExtrasTest, NoAnimationForACrankThatCannotTurn) {
  window->form().menuCommand("mnu13");  // "D&oppelschwinge"
  const double wxx = st().wxx;
  EXPECT_FALSE(window->saveAnimation(path("nichts.gif")));
  EXPECT_FALSE(std::filesystem::exists(folder / "nichts.gif"));
  EXPECT_EQ(window->lastMessage(),
            QStringLiteral("Die Kurbel dieses Getriebes läuft nicht um; keine Animation."));
  EXPECT_EQ(st().wxx, wxx);
  // An unwritable file: a message, nothing else.
  window->form().menuCommand("mnu11");
  EXPECT_FALSE(window->saveAnimation(QStringLiteral("/nonexistent-folder/u.gif")));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("/nonexistent-folder/u.gif")));
  // A full disk leaves an older animation as it was.
  window->resize(300, 260);
  QApplication::processEvents();
  QFile older(path("u.gif"));
  ASSERT_TRUE(older.open(QIODevice::WriteOnly));
  older.write(QByteArray(3000, 'g'));
  older.close();
  {
    testing::FileSizeLimit full(4096);
    EXPECT_FALSE(window->saveAnimation(path("u.gif")));
  }
  EXPECT_EQ(readAll(path("u.gif")), QByteArray(3000, 'g'));
  EXPECT_TRUE(window->lastMessage().contains(QStringLiteral("bleibt unverändert")));
}

}  // namespace
}  // namespace pm
