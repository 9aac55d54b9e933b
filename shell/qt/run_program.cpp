#include "shell/qt/run_program.h"

#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>
#include <QtCore/QStringList>
#include <QtCore/QTranslator>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <iostream>

#include "shell/qt/main_window.h"

namespace pm {

namespace {

// Qt's own texts (the file dialog, message boxes, the line edits' menus) in
// German, from Qt's translations (Debian: qt6-translations-l10n). Without
// them the dialogs stay in English; that is said once on stderr.
void loadQtTranslations(QApplication& app) {
  auto* translator = new QTranslator(&app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                       QStringLiteral("_"), folder)) {
    QCoreApplication::installTranslator(translator);
  } else {
    std::cerr << "Qt-Übersetzungen nicht gefunden (" << folder.toStdString()
              << "/qtbase_de.qm, Paket qt6-translations-l10n): Qts eigene Dialoge bleiben englisch.\n";
  }
}

}  // namespace

int runProgram(int argc, char** argv, const Edition& edition) {
  // Qt takes its own platform options (-platform, -display) out of argv; what
  // remains is at most one set-up file to open.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(edition.name));
  loadQtTranslations(app);
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.size() > 1)
    std::cerr << edition.name << ": nur eine Einstellungsdatei kann geöffnet werden; "
              << arguments.size() - 1 << " weitere Argumente bleiben unbeachtet.\n";

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
  if (!arguments.isEmpty()) window.openSetup(arguments.front());
  if (window.hasEnded()) return 0;
  return app.exec();
}

}  // namespace pm
