#include "shell/qt/main_window.h"

#include <QtCore/QBuffer>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QLocale>
#include <QtCore/QMimeData>
#include <QtCore/QThread>
#include <QtGui/QClipboard>
#include <QtGui/QCloseEvent>
#include <QtGui/QCursor>
#include <QtGui/QKeyEvent>
#include <QtGui/QKeySequence>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QProgressDialog>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>

#include "draw/qt/animation.h"
#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "exercise/exercise.h"
#include "kinematics/measured_values.h"
#include "shell/atomic_file.h"
#include "shell/file_names.h"
#include "shell/menu_table.h"
#include "shell/setup.h"
#include "shell/qt/dimensions_dialog.h"
#include "shell/pictures.h"
#include "shell/qt/diagram_files.h"
#include "shell/qt/diagram_view.h"
#include "shell/qt/key_mapping.h"
#include "shell/qt/picture_view.h"
#include "shell/qt/side_panel.h"
#include "shell/qt/user_scale.h"
#include "shell/qt/values_panel.h"

namespace pm {

namespace {
// The panel's font in the projector mode, against its size outside it.
constexpr double kProjectorPanelFont = 1.4;
// Room around the construction of a picture cropped to it, in drawing units.
constexpr double kCropMargin = 12;
// An animation shows a frame for 3/100 s, as the runs pace them on screen.
constexpr int kAnimationDelay = 3;
// Wider animations would take minutes and hundreds of megabytes.
constexpr int kMaxAnimationWidth = 4000;
}  // namespace

MainWindow::MainWindow(const Edition& edition, QWidget* parent)
    : QMainWindow(parent),
      canvas_((installFontSubstitutions(), qtFontMetrics())),
      form_(canvas_, *this, edition),
      pictures_(editionFolders(pictureFolders(), edition.pictureFolder)) {
  setWindowTitle(QStringLiteral("Form1"));
  setFont(QFont(QStringLiteral("Arial")));
  view_ = new PictureView(this);
  panel_ = new SidePanel(edition, this);
  client_ = new ClientArea(view_, panel_, this);
  diagrams_ = new DiagramView(this);
  client_->setDiagrams(diagrams_, &DiagramView::widthFor);
  connect(diagrams_, &DiagramView::crankAnglePicked, this, &MainWindow::crankAnglePicked);
  setCentralWidget(client_);
  connect(view_, &PictureView::zoomRequested, this,
          [this](QPointF p, double factor) { zoomView(p.x(), p.y(), factor); });
  connect(view_, &PictureView::shiftRequested, this, &MainWindow::shiftView);
  buildMenuBar();
  connect(view_, &PictureView::clicked, this, &MainWindow::answerExercise);
  view_->setFocus();
  // Keys reach the command handler before any widget (menus and focus
  // navigation would otherwise take arrows, Tab or Alt).
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::activate() {
  if (activated_ || ended_) return;
  activated_ = true;
  form_.Form_Activate();
  refreshCheckMarks();
}

// --- menu bar ---------------------------------------------------------------

void MainWindow::buildMenuBar() {
  std::map<std::string, QMenu*> menus;
  for (const MenuEntry& entry : menuBarTree(form_.edition)) {
    if (entry.pageOnly) continue;  // the window has no address to copy
    const QString caption = QString::fromStdString(entry.caption);
    const QString name = QString::fromStdString(entry.name);
    const std::string command = entry.name;
    QMenu* parentMenu = nullptr;
    if (!entry.parent.empty()) {
      const auto it = menus.find(entry.parent);
      if (it == menus.end()) {
        std::cerr << "Menü: Eintrag " << entry.name << " hat kein Obermenü " << entry.parent
                  << "\n";
        continue;
      }
      parentMenu = it->second;
    }
    if (entry.hasSubmenu || !parentMenu) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
      menu->setObjectName(name);
      menu->menuAction()->setObjectName(name);
      menus[entry.name] = menu;
      // Opening a menu changes nothing: the chosen item does what its menus set up.
      if (!parentMenu) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
        if (!mnemonic.isEmpty()) {
          accessKeys_.push_back(mnemonic[0].key());
        }
      }
      continue;
    }
    // A key of the command handler is shown beside the caption (after a tab),
    // not bound: the key filter gives it to the command handler.
    QAction* action = parentMenu->addAction(
        entry.windowCommand == WindowCommand::None && !entry.shortcut.empty()
            ? caption + QLatin1Char('\t') + QString::fromStdString(entry.shortcut)
            : caption);
    action->setObjectName(name);
    if (entry.windowCommand != WindowCommand::None) {
      const WindowCommand windowCommand = entry.windowCommand;
      action->setCheckable(entry.checkable);
      // The key is shown beside the caption; the key filter handles it.
      if (!entry.shortcut.empty()) {
        action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut)));
        action->setShortcutContext(Qt::WidgetShortcut);
      }
      if (windowCommand == WindowCommand::ValuesPanel) panelAction_ = action;
      if (windowCommand == WindowCommand::ProjectorMode) projectorAction_ = action;
      if (windowCommand == WindowCommand::Diagrams) diagramsAction_ = action;
      connect(action, &QAction::triggered, this,
              [this, windowCommand] { runWindowCommand(windowCommand); });
      continue;
    }
    if (entry.checkable) {
      action->setCheckable(true);
      checkableItems_.emplace_back(entry.name, action);
    }
    connect(action, &QAction::triggered, this, [this, command] { runMenuCommand(command); });
  }
  refreshCheckMarks();
}

void MainWindow::runMenuCommand(const std::string& name) {
  if (ended_) return;
  form_.menuCommand(name);
  refreshCheckMarks();
}

void MainWindow::refreshCheckMarks() {
  for (const auto& [name, action] : checkableItems_) {
    action->setChecked(form_.menuChecked(name));
  }
}

// --- keys -------------------------------------------------------------------

bool MainWindow::isOwnKeyEvent(QObject* watched) const {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  // An open menu keeps its own keys (navigation, its access letters).
  return QApplication::activePopupWidget() == nullptr;
}

bool MainWindow::isAccessLetter(const QKeyEvent& event) const {
  const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
  if (mods != Qt::AltModifier || !menuBar()->isVisible()) return false;
  return std::find(accessKeys_.begin(), accessKeys_.end(), event.key()) != accessKeys_.end();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (recording_ && isUserInput(type) && isOwnKeyEvent(watched)) {
    // A recording takes no keys, clicks or menu commands: they would change
    // the run. Esc and End still end the program.
    if (type == QEvent::KeyPress) {
      const auto key = virtualKey(*static_cast<QKeyEvent*>(event));
      if (key && (key->keyCode == kKeyEsc || key->keyCode == kKeyEnd) && key->shift == 0)
        form_.Form_KeyDown(key->keyCode, key->shift);
    }
    return true;
  }
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) {
    return QMainWindow::eventFilter(watched, event);
  }
  if (!isOwnKeyEvent(watched)) return QMainWindow::eventFilter(watched, event);
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  if (isAccessLetter(*keyEvent)) return false;  // the menu bar opens its menu
  if (type == QEvent::ShortcutOverride) {
    // Claim the key, so that no shortcut takes it; it arrives as a key press.
    event->accept();
    return true;
  }
  if (type == QEvent::KeyPress && !ended_) {
    // F11 belongs to the window (the values panel), not to the command handler.
    if (keyEvent->key() == Qt::Key_F11) {
      if (!keyEvent->isAutoRepeat()) setValuesPanelShown(!valuesPanelShown());
      return true;
    }
    // F10 too (the diagrams).
    if (keyEvent->key() == Qt::Key_F10) {
      if (!keyEvent->isAutoRepeat()) setDiagramsShown(!diagramsShown());
      return true;
    }
    if (const auto key = virtualKey(*keyEvent)) {
      form_.Form_KeyDown(key->keyCode, key->shift);
      refreshCheckMarks();
    }
  }
  // Keys without a meaning are swallowed too: no widget may move the focus
  // or open the menu bar with them.
  return true;
}

bool MainWindow::isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

// --- host -------------------------------------------------------------------

double MainWindow::cursorX() {
  if (clicked_) return clicked_->x();
  return view_->toDrawing(view_->mapFromGlobal(QPointF(QCursor::pos()))).x();
}

double MainWindow::cursorY() {
  if (clicked_) return clicked_->y();
  return view_->toDrawing(view_->mapFromGlobal(QPointF(QCursor::pos()))).y();
}

void MainWindow::processEvents() {
  if (ended_) return;
  // All events, also while recording: the key filter keeps keys and clicks
  // from the recorded run, and a request to close the window is no input to
  // hold back (the window system counts it as one).
  QCoreApplication::processEvents();
}

void MainWindow::frameReady() {
  if (ended_) return;
  if (recording_) {
    // Recorded, not shown: the screen keeps the picture of before. A frame
    // is kept as it would show, through the view and the projector mode.
    if (form_.runFrame > 0) {
      const ViewOptions o = viewOptions();
      const bool help = backgroundName_ == form_.edition.helpPicture ||
                        backgroundName_ == form_.edition.keyOverviewPicture;
      recording_->push_back({o.plain() ? canvas_.list() : presented(canvas_.list(), o),
                             showsBackground(o, help) ? shownBackground() : QImage(),
                             canvas_.backgroundColour()});
    }
    return;
  }
  const bool help = !backgroundName_.empty() && (backgroundName_ == form_.edition.helpPicture ||
                                                  backgroundName_ == form_.edition.keyOverviewPicture);
  view_->showPicture(canvas_.list(), shownBackground(), canvas_.backgroundColour(), help);
  refreshCheckMarks();
  refreshValues();
  refreshDiagrams();
  refreshPage();
  if (form_.depth == 0) {
    pictures_.forget();  // the next command looks the pictures up afresh
    // The picture at the end of a command is painted when the event loop
    // comes round: keys that arrived faster than frames are all carried out
    // first, and only the last picture is painted.
    view_->update();
    return;
  }
  // A frame of a run is painted now and held for the run's pace.
  view_->repaint();
  paceFrame();
}

ValuesPanel* MainWindow::valuesPanel() const { return panel_->values(); }

void MainWindow::refreshValues() {
  if (!valuesPanelShown()) return;
  panel_->values()->setValues(measuredValues(form_));
  panel_->values()->repaint();
}

void MainWindow::refreshDiagrams() {
  if (!diagramsShown()) return;
  diagrams_->showTable(shownMotionTable(form_));
  diagrams_->repaint();
}

void MainWindow::crankAnglePicked(double degrees) {
  if (ended_ || recording_) return;
  // Inside a run the crank belongs to the run.
  if (turnCrankTo(form_, degrees)) refreshCheckMarks();
}
const QImage& MainWindow::shownBackground() const {
  static const QImage kNone;
  return page_ && valuesPanelShown() ? kNone : background_;
}

void MainWindow::refreshPage() { panel_->setPage(valuesPanelShown() ? page_ : std::nullopt); }

void MainWindow::paceFrame() {
  if (frameIntervalMs_ <= 0) return;
  if (lastFrame_.isValid()) {
    const qint64 remaining = frameIntervalMs_ - lastFrame_.elapsed();
    if (remaining > 0) QThread::msleep(static_cast<unsigned long>(remaining));
  }
  lastFrame_.start();
}

void MainWindow::setBackgroundPicture(const std::string& fileName) {
  if (fileName == backgroundName_) return;
  backgroundName_ = fileName;
  background_ = QImage();
  page_ = pageOfFile(fileName);
  if (fileName.empty()) return;
  const std::string& path = pictures_.find(fileName);
  // A missing or unreadable picture simply shows no picture.
  if (!path.empty()) background_ = readImageFile(path);
}

void MainWindow::quit() { endProgram(); }

// --- the menu "E&xtras" -------------------------------------------------------

void MainWindow::runWindowCommand(WindowCommand command) {
  if (ended_) return;
  switch (command) {
    case WindowCommand::ValuesPanel:
      setValuesPanelShown(!valuesPanelShown());
      break;
    case WindowCommand::CopyPicture:
      copyPicture();
      break;
    case WindowCommand::SavePicture:
      chooseAndSavePicture();
      break;
    case WindowCommand::SaveAnimation:
      chooseAndSaveAnimation();
      break;
    case WindowCommand::FitView:
      fitView();
      break;
    case WindowCommand::ResetView:
      resetView();
      break;
    case WindowCommand::ProjectorMode:
      setProjectorMode(!projector_);
      break;
    case WindowCommand::OpenSetup:
      chooseAndOpenSetup();
      break;
    case WindowCommand::SaveSetup:
      chooseAndSaveSetup();
      break;
    case WindowCommand::Dimensions:
      editDimensions();
      break;
    case WindowCommand::Diagrams:
      setDiagramsShown(!diagramsShown());
      break;
    case WindowCommand::SaveDiagrams:
      chooseAndSaveDiagrams();
      break;
    case WindowCommand::ExerciseNumber:
      chooseExercise();
      break;
    case WindowCommand::None:
    case WindowCommand::Menu:
    case WindowCommand::CopyLink:  // not in the window's menus
      break;
  }
}

// --- set-ups and dimensions -----------------------------------------------------

namespace {
const QString kSetupFilter = QStringLiteral("Planimove-Einstellung (*.planimove);;Alle Dateien (*)");
}  // namespace

bool MainWindow::idle(const QString& what) {
  if (ended_) return false;
  if (form_.depth > 0 || recording_) {
    report(QStringLiteral("Während eines Umlaufs %1.").arg(what), true);
    return false;
  }
  return true;
}

bool MainWindow::openSetup(const QString& file) {
  if (!idle(QStringLiteral("kann keine Einstellung geöffnet werden"))) return false;
  std::string text, message;
  std::optional<Setup> setup;
  if (!readSetupFile(QFile::encodeName(file).toStdString(), text, message) ||
      !(setup = parseSetup(text, form_.edition, message))) {
    report(QStringLiteral("Die Einstellung „%1“ wurde nicht geöffnet: %2 Das Bild bleibt, wie es war.")
               .arg(file, QString::fromStdString(message)),
           true);
    return false;
  }
  // The new view first: the picture of the set-up is shown through it.
  form_.view = setup->view;
  showViewOptions();
  applySetup(form_, *setup);
  refreshCheckMarks();
  return true;
}

bool MainWindow::saveSetup(const QString& file) {
  if (ended_) return false;
  return writeFile(file, writeSetup(form_), QStringLiteral("Die Einstellung"));
}

void MainWindow::chooseAndOpenSetup() {
  if (!idle(QStringLiteral("kann keine Einstellung geöffnet werden"))) return;
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Einstellung öffnen"),
                                                    QDir::currentPath(), kSetupFilter, nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (file.isEmpty() || ended_) return;
  openSetup(file);
}

void MainWindow::chooseAndSaveSetup() {
  QString file = QFileDialog::getSaveFileName(
      this, QStringLiteral("Einstellung speichern"),
      QDir::current().filePath(QStringLiteral("Einstellung.planimove")), kSetupFilter, nullptr,
      QFileDialog::DontUseNativeDialog);
  if (file.isEmpty() || ended_) return;
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".planimove");
  saveSetup(file);
}

void MainWindow::editDimensions() {
  if (!idle(QStringLiteral("lassen sich die Maße nicht ändern"))) return;
  DimensionsDialog dialog(form_, this);
  if (dialog.exec() != QDialog::Accepted || ended_ || !dialog.setup()) return;
  if (!idle(QStringLiteral("lassen sich die Maße nicht ändern"))) return;
  applySetup(form_, *dialog.setup());
  refreshCheckMarks();
}

// --- the view ------------------------------------------------------------------

ViewOptions MainWindow::viewOptions() const {
  ViewOptions o;
  o.view = form_.view;
  o.projector = projector_;
  return o;
}

void MainWindow::showViewOptions() {
  view_->setOptions(viewOptions());
  if (projectorAction_) projectorAction_->setChecked(projector_);
}

std::optional<Area> MainWindow::pageArea() const {
  const QImage& shown = view_->shownBackground();
  if (shown.isNull() || view_->backgroundIsHelp()) return std::nullopt;
  return Area{kScaleLeft, kScaleTop, kScaleLeft + shown.width(), kScaleTop + shown.height()};
}

void MainWindow::fitView() {
  if (const auto v = framingView(view_->recordedList(), viewOptions(), pageArea())) {
    form_.view = *v;
  } else {
    report(QStringLiteral("Einpassen: Das Bild zeigt keine Konstruktion."), false);
    return;
  }
  showViewOptions();
}

void MainWindow::resetView() {
  form_.view = View{};
  showViewOptions();
}

void MainWindow::zoomView(double pictureX, double pictureY, double factor) {
  if (ended_) return;
  form_.view = zoomedAbout(form_.view, {pictureX, pictureY}, factor);
  showViewOptions();
}

void MainWindow::shiftView(double dx, double dy) {
  if (ended_) return;
  form_.view = shifted(form_.view, dx, dy);
  showViewOptions();
}

void MainWindow::setProjectorMode(bool on) {
  projector_ = on;
  client_->setFontScale(on ? kProjectorPanelFont : 1.0);
  showViewOptions();
}

void MainWindow::setValuesPanelShown(bool shown) {
  client_->setPanelShown(shown);
  if (panelAction_) panelAction_->setChecked(shown);
  // The page moves between the band above the picture and the panel.
  view_->showPicture(view_->recordedList(), shownBackground(), view_->shownBackgroundColour(),
                     view_->backgroundIsHelp());
  view_->update();
  refreshValues();
  refreshPage();
}

bool MainWindow::valuesPanelShown() const { return client_->panelShown(); }

void MainWindow::setDiagramsShown(bool shown) {
  client_->setDiagramsShown(shown);
  if (diagramsAction_) diagramsAction_->setChecked(shown);
  refreshDiagrams();
}

bool MainWindow::diagramsShown() const { return client_->diagramsShown(); }

bool MainWindow::saveDiagrams(const QString& file) {
  const QSize size = diagramsShown() ? diagrams_->size() : QSize(DiagramView::widthFor(height()), view_->height());
  std::string error;
  if (!writeDiagrams(shownMotionTable(form_), QFile::encodeName(file).toStdString(), size, error)) {
    report(QString::fromStdString(error), true);
    return false;
  }
  return true;
}

void MainWindow::chooseAndSaveDiagrams() {
  const QString file = chooseSaveName(QStringLiteral("Diagramme speichern"), QStringLiteral("Diagramme.png"),
                                      QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;CSV-Tabelle (*.csv)"),
                                      {"png", "svg", "csv"});
  if (!file.isEmpty()) saveDiagrams(file);
}

QString MainWindow::chooseSaveName(const QString& title, const QString& suggested, const QString& filters,
                                   const std::vector<const char*>& extensions) {
  QString selected;
  const QString chosen = QFileDialog::getSaveFileName(this, title, QDir::current().filePath(suggested), filters,
                                                      &selected, QFileDialog::DontUseNativeDialog);
  if (chosen.isEmpty() || ended_) return {};
  // A name ending in one of the extensions chooses the format; any other gets
  // the extension of the format chosen in the dialog (the first by default).
  const QString suffix = QFileInfo(chosen).suffix().toLower();
  const char* extension = extensions.front();
  for (const char* e : extensions) {
    if (suffix == QLatin1String(e)) return chosen;
    if (selected.contains(QLatin1String(e))) extension = e;
  }
  return nameToSave(chosen, extension);
}

void MainWindow::report(const QString& message, bool error) {
  lastMessage_ = message;
  std::cerr << message.toStdString() << "\n";
  if (!messageBoxes_) return;
  if (error) {
    QMessageBox::warning(this, QStringLiteral("Extras"), message);
  } else {
    QMessageBox::information(this, QStringLiteral("Extras"), message);
  }
}

QImage MainWindow::pictureImage() const {
  const QImage& background = view_->shownBackground();
  return renderImage(view_->shownList(), background.isNull() ? nullptr : &background, view_->size(),
                     view_->devicePixelRatioF(), view_->shownBackgroundColour());
}

bool MainWindow::copyPicture() {
  const QImage image = pictureImage();
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
  }
  // The SVG from the one SVG writer, in memory.
  const QImage& background = view_->shownBackground();
  const QByteArray svg = encodeSvg(view_->shownList(), background.isNull() ? nullptr : &background,
                                   view_->size(), view_->shownBackgroundColour());
  if (image.isNull() || png.isEmpty()) {
    report(QStringLiteral("Das Bild konnte nicht in die Zwischenablage kopiert werden."), true);
    return false;
  }
  auto* mime = new QMimeData;
  mime->setImageData(image);
  mime->setData(QStringLiteral("image/png"), png);
  if (!svg.isEmpty()) mime->setData(QStringLiteral("image/svg+xml"), svg);
  QGuiApplication::clipboard()->setMimeData(mime);
  return true;
}

namespace {

// The pixels of a drawing area of that size at a device-pixel ratio, as
// renderImage makes them.
QSize shownPixels(QSize area, qreal ratio) {
  return QSize(static_cast<int>(std::ceil(area.width() * ratio)),
               static_cast<int>(std::ceil(area.height() * ratio)));
}

}  // namespace

bool MainWindow::savePicture(const QString& file, int width, Content content) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix != QStringLiteral("png") && suffix != QStringLiteral("svg")) {
    report(QStringLiteral("Das Bild wird als PNG oder SVG gespeichert: Der Dateiname muss auf "
                          "„.png“ oder „.svg“ enden."),
           true);
    return false;
  }
  const bool png = suffix == QStringLiteral("png");
  // Without a width the picture has the pixels shown on screen (at a scale
  // factor of 2 twice the area's size); an SVG has the area's size.
  const QSize area = view_->size();
  const qreal ratio = png ? view_->devicePixelRatioF() : 1;
  const QSize onScreen = shownPixels(area, ratio);
  QSize size = onScreen;
  if (width > 0 && width != size.width() && area.width() > 0)
    size = QSize(width, std::max(1, qRound(double(width) * area.height() / area.width())));
  // The picture as on screen, or without what the export leaves out.
  ViewOptions options = viewOptions();
  options.content = content;
  const DisplayList list = content == Content::Whole ? view_->shownList()
                                                     : presented(view_->recordedList(), options);
  const QImage& background = view_->backgroundPicture();
  const QImage* shown =
      !background.isNull() && showsBackground(options, view_->backgroundIsHelp()) ? &background : nullptr;
  QRectF source;
  if (content == Content::Construction) {
    const std::optional<Area> crop = cropArea(list, kCropMargin);
    if (!crop) {
      report(QStringLiteral("Das Bild zeigt keine Konstruktion; es wurde nichts gespeichert."), true);
      return false;
    }
    source = QRectF(QPointF(crop->left, crop->top), QPointF(crop->right, crop->bottom));
    // As wide as asked, or as large as the construction shows on screen.
    const int cropWidth = width > 0 ? width
                                    : std::max(16, qRound(source.width() * widgetPixelsPerUnit(view_->scaleRect())));
    size = sizeForWidth(source, cropWidth);
  }
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
    report(QStringLiteral("Das Bild wäre %1 × %2 Pixel groß; gespeichert werden Bilder bis %3 "
                          "Pixel Breite und Höhe.")
               .arg(size.width())
               .arg(size.height())
               .arg(QLocale(QLocale::German).toString(kMaxPictureSide)),
           true);
    return false;
  }
  QByteArray bytes;
  if (png && content == Content::Whole && size == onScreen) {
    // Exactly the pixels on screen, drawn as the view draws them.
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage image = renderImage(list, shown, area, ratio, view_->shownBackgroundColour());
    image.setDevicePixelRatio(1);
    if (image.isNull() || !image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"))
      bytes.clear();
  } else if (png) {
    bytes = encodePng(list, shown, size, view_->shownBackgroundColour(), source);
  } else {
    bytes = encodeSvg(list, shown, size, view_->shownBackgroundColour(), source);
  }
  if (bytes.isEmpty()) {
    report(QStringLiteral("Das Bild konnte nicht als „%1“ gespeichert werden: Ein Bild von %2 × %3 "
                          "Pixeln lässt sich nicht erzeugen.")
               .arg(file)
               .arg(size.width())
               .arg(size.height()),
           true);
    return false;
  }
  return writeFile(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                   QStringLiteral("Das Bild"));
}

bool MainWindow::writeFile(const QString& file, std::string_view bytes, const QString& what) {
  std::string reason;
  if (writeFileAtomically(QFile::encodeName(file).toStdString(), bytes, reason)) return true;
  report(QStringLiteral("%1 konnte nicht als „%2“ gespeichert werden: %3. Eine vorhandene Datei "
                        "dieses Namens bleibt unverändert.")
             .arg(what, file, QString::fromStdString(reason)),
         true);
  return false;
}

// The name chosen in a save dialog with exactly the extension of its
// contents; when that name differs from the chosen one and its file exists,
// the user is asked first (the dialog asked only about the chosen name).
QString MainWindow::nameToSave(const QString& chosen, const char* extension) {
  const QString file = QFile::decodeName(
      withExtension(QFile::encodeName(chosen).toStdString(), extension).c_str());
  if (file == chosen || !QFileInfo::exists(file) || !messageBoxes_) return file;
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Speichern"),
      QStringLiteral("„%1“ existiert bereits. Soll die Datei ersetzt werden?").arg(file),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return answer == QMessageBox::Yes && !ended_ ? file : QString();
}

void MainWindow::chooseAndSavePicture() {
  const QString file = chooseSaveName(QStringLiteral("Bild speichern"), QStringLiteral("Bild.png"),
                                      QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg)"), {"png", "svg"});
  const bool svg = QFileInfo(file).suffix().toLower() == QStringLiteral("svg");
  if (file.isEmpty()) return;
  // What the picture shows: for a slide or a course page without the page,
  // the emblem and the status lines, or the construction alone.
  static const QStringList kContents = {QStringLiteral("das ganze Bild"),
                                        QStringLiteral("ohne Texttafel, Emblem und Statuszeilen"),
                                        QStringLiteral("nur die Konstruktion")};
  bool ok = false;
  const QString content = QInputDialog::getItem(this, QStringLiteral("Bildinhalt"),
                                                QStringLiteral("Inhalt des Bildes:"), kContents, 0,
                                                false, &ok);
  if (!ok || ended_) return;
  const int choice = static_cast<int>(kContents.indexOf(content));
  const int shownWidth =
      shownPixels(view_->size(), svg ? 1 : view_->devicePixelRatioF()).width();
  const int width = QInputDialog::getInt(this, QStringLiteral("Bildbreite"),
                                         QStringLiteral("Breite in Pixeln:"), shownWidth, 16,
                                         kMaxPictureSide, 1, &ok);
  if (!ok || ended_) return;
  savePicture(file, width,
              choice == 2 ? Content::Construction : choice == 1 ? Content::Clean : Content::Whole);
}

std::vector<AnimationFrame> MainWindow::recordRevolution() {
  std::vector<AnimationFrame> frames;
  if (ended_) return frames;
  if (form_.depth > 0 || recording_) {
    report(QStringLiteral("Während eines Umlaufs kann keine Animation aufgenommen werden."), true);
    return frames;
  }
  if (form_.exercise.open()) {
    report(QStringLiteral("In einer Übung steht das Getriebe still; keine Animation."), false);
    return frames;
  }
  // The run hands its frames over as lists; drawing and encoding follow.
  recording_ = &frames;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  form_.replayRevolution();
  QApplication::restoreOverrideCursor();
  recording_ = nullptr;
  if (ended_) return {};
  refreshCheckMarks();
  refreshValues();
  if (frames.empty())
    report(QStringLiteral("Die Kurbel dieses Getriebes läuft nicht um; keine Animation."), false);
  return frames;
}

std::vector<std::uint8_t> MainWindow::encodeFrames(const std::vector<AnimationFrame>& frames,
                                                   int width, bool showProgress) {
  const QSize size = sizeForWidth(QRectF(), width);
  std::unique_ptr<QProgressDialog> progress;
  if (showProgress) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("Die Animation wird erstellt …"),
                                                 QStringLiteral("Abbrechen"), 0, 100, this);
    progress->setWindowTitle(QStringLiteral("Umlauf als Animation speichern"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
  }
  std::string error;
  std::vector<std::uint8_t> bytes = encodeAnimation(frames, size, kAnimationDelay, [&](int done, int total) {
    if (!progress) return !ended_;
    progress->setMaximum(total);
    progress->setValue(done);
    QCoreApplication::processEvents();
    return !progress->wasCanceled() && !ended_;
  }, error);
  if (bytes.empty() && !ended_) {
    if (progress && progress->wasCanceled()) {
      report(QStringLiteral("Die Animation wurde abgebrochen; es wurde nichts gespeichert."), false);
    } else {
      report(QStringLiteral("Die Animation konnte nicht erzeugt werden (%1 Bilder): %2")
                 .arg(frames.size())
                 .arg(QString::fromStdString(error)),
             true);
    }
  }
  return bytes;
}

bool MainWindow::saveAnimation(const QString& file, int width) {
  const std::vector<AnimationFrame> frames = recordRevolution();
  if (frames.empty()) return false;
  const std::vector<std::uint8_t> bytes = encodeFrames(frames, width, false);
  return !bytes.empty() && writeAnimation(bytes, file);
}

bool MainWindow::writeAnimation(const std::vector<std::uint8_t>& bytes, const QString& file) {
  return writeFile(file,
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   QStringLiteral("Die Animation"));
}

void MainWindow::chooseAndSaveAnimation() {
  // Recorded first: a crank that cannot turn round needs no file name.
  const std::vector<AnimationFrame> frames = recordRevolution();
  if (frames.empty()) return;
  QString file = QFileDialog::getSaveFileName(
      this, QStringLiteral("Umlauf als Animation speichern"),
      QDir::current().filePath(QStringLiteral("Umlauf.gif")),
      QStringLiteral("GIF-Animation (*.gif)"), nullptr, QFileDialog::DontUseNativeDialog);
  if (file.isEmpty() || ended_) return;
  file = nameToSave(file, "gif");  // the animation is always a GIF
  if (file.isEmpty()) return;
  bool ok = false;
  const int width = QInputDialog::getInt(this, QStringLiteral("Bildbreite"),
                                         QStringLiteral("Breite der Animation in Pixeln:"),
                                         kAnimationWidth, 16, kMaxAnimationWidth, 1, &ok);
  if (!ok || ended_) return;
  const std::vector<std::uint8_t> bytes = encodeFrames(frames, width, true);
  if (!bytes.empty() && !ended_) writeAnimation(bytes, file);
}

// --- the menu "Ü&bungen" -------------------------------------------------------

void MainWindow::chooseExercise() {
  if (ended_ || form_.depth > 0) return;
  const ExerciseState& e = form_.exercise;
  bool ok = false;
  const int seed = QInputDialog::getInt(
      this, QStringLiteral("Übung wählen"),
      QStringLiteral("Nummer der Übung (1 bis %1):").arg(kLastExerciseSeed),
      static_cast<int>(exerciseSeedToStart(e)), 1, static_cast<int>(kLastExerciseSeed), 1, &ok);
  if (!ok || ended_) return;
  const ExerciseKind kind = e.open() ? e.kind : e.lastKind != ExerciseKind::None ? e.lastKind
                                                                                : ExerciseKind::Pole;
  startExercise(form_, kind, seed);
  refreshCheckMarks();
}

void MainWindow::answerExercise(QPointF drawingPoint) {
  // Outside an exercise a click does nothing, as before.
  if (ended_ || form_.depth > 0 || !form_.exercise.open()) return;
  clicked_ = drawingPoint;
  form_.Form_KeyDown(13, 0);  // Enter: the answer at the cursor
  clicked_.reset();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  // Every running loop of the core returns; the window itself stays alive
  // until the commands on the stack have unwound and the event loop ends.
  form_.ending = true;
  hide();
  emit programEnded();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  endProgram();
}

}  // namespace pm
