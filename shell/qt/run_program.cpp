#include "shell/qt/run_program.h"

#include <QtGui/QScreen>
#include <QtWidgets/QApplication>

#include "shell/qt/main_window.h"

namespace pm {

int runProgram(int argc, char** argv, const Edition& edition) {
  // The programs take no command-line arguments; Qt still sees argv for its
  // own platform options (-platform, -display).
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(edition.name));

  MainWindow window(edition);
  QObject::connect(&window, &MainWindow::programEnded, &app, [] { QCoreApplication::exit(0); });
  // Without a window manager "maximised" means nothing, so the window first
  // takes the whole available screen itself.
  if (const QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
  window.showMaximized();
  window.raise();
  window.activateWindow();
  window.activate();
  // Esc or closing the window during start-up ends the program before the
  // event loop has started.
  if (window.hasEnded()) return 0;
  return app.exec();
}

}  // namespace pm
