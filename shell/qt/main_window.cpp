#include "shell/qt/main_window.h"

#include <QtCore/QThread>
#include <QtGui/QCloseEvent>
#include <QtGui/QCursor>
#include <QtGui/QKeyEvent>
#include <QtGui/QKeySequence>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <algorithm>
#include <iostream>
#include <map>

#include "draw/qt/qt_fonts.h"
#include "shell/menu_table.h"
#include "shell/pictures.h"
#include "shell/qt/key_mapping.h"
#include "shell/qt/picture_view.h"

namespace pm {

MainWindow::MainWindow(const Edition& edition, QWidget* parent)
    : QMainWindow(parent),
      canvas_((installFontSubstitutions(), qtFontMetrics())),
      form_(canvas_, *this, edition) {
  setWindowTitle(QStringLiteral("Form1"));
  setFont(QFont(QStringLiteral("Arial")));
  view_ = new PictureView(this);
  setCentralWidget(view_);
  buildMenuBar();
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
  for (const MenuEntry& entry : menuTree(form_.edition)) {
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
      // Opening a menu is its command (group headers set the topic group).
      connect(menu, &QMenu::aboutToShow, this, [this, command] { runMenuCommand(command); });
      if (!parentMenu) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
        if (!mnemonic.isEmpty()) {
          accessKeys_.push_back(mnemonic[0].key());
        }
      }
      continue;
    }
    QAction* action = parentMenu->addAction(caption);
    action->setObjectName(name);
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
    if (const auto key = virtualKey(*keyEvent)) {
      form_.Form_KeyDown(key->keyCode, key->shift);
      refreshCheckMarks();
    }
  }
  // Keys without a meaning are swallowed too: no widget may move the focus
  // or open the menu bar with them.
  return true;
}

// --- host -------------------------------------------------------------------

double MainWindow::cursorX() {
  return view_->toDrawing(view_->mapFromGlobal(QPointF(QCursor::pos()))).x();
}

double MainWindow::cursorY() {
  return view_->toDrawing(view_->mapFromGlobal(QPointF(QCursor::pos()))).y();
}

void MainWindow::processEvents() {
  if (ended_) return;
  QCoreApplication::processEvents();
}

void MainWindow::frameReady() {
  if (ended_) return;
  view_->showPicture(canvas_.list(), background_, canvas_.backgroundColour());
  view_->repaint();
  refreshCheckMarks();
  paceFrame();
}

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
  if (fileName.empty()) return;
  const std::string path = findPicture(fileName);
  // A missing or unreadable picture simply shows no picture.
  if (!path.empty()) background_.load(QString::fromStdString(path));
}

void MainWindow::quit() { endProgram(); }

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
