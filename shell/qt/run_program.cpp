#include "shell/qt/run_program.h"

#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>
#include <QtCore/QSet>
#include <QtCore/QStringList>
#include <QtCore/QTranslator>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <cstdio>
#include <cstdlib>
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

// What keeps the pictures from showing as they should, as one message: a
// display of too few colours, or no fonts for the texts. Empty when all is well.
QString displayProblems(const QScreen* screen) {
  QStringList problems;
  if (screen && screen->depth() < 16)
    problems << QStringLiteral("Die Anzeige hat nur %1 Bit Farbtiefe; die Bilder brauchen "
                               "mindestens 16, besser 24 Bit. Bitte die Farbtiefe der Anzeige "
                               "erhöhen.")
                    .arg(screen->depth());
  // Without any usable font Qt draws every character as a box.
  if (!QFontMetrics(QFont(QStringLiteral("Liberation Sans"))).inFontUcs4(U'A')) {
    problems << QStringLiteral("Es ist keine Schrift installiert: Alle Texte erscheinen als "
                               "Kästchen. Bitte die Schrift „Liberation Sans“ installieren "
                               "(Debian-Paket fonts-liberation2).");
  } else if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")) &&
             !QFontDatabase::hasFamily(QStringLiteral("Arial"))) {
    problems << QStringLiteral("Die Schriften „Liberation Sans“ und „Arial“ fehlen: Die Texte "
                               "erscheinen in einer Ersatzschrift und können verrutschen. Bitte "
                               "„Liberation Sans“ installieren (Debian-Paket fonts-liberation2).");
  }
  return problems.join(QLatin1Char('\n'));
}

// Qt repeats a warning for every frame on a display it cannot paint well;
// after the message above, each warning is said once.
void warnOnce(QtMsgType type, const QMessageLogContext&, const QString& text) {
  static QSet<QString> said;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (said.size() < 1000 && !said.contains(text)) {
    said.insert(text);
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
  if (type == QtFatalMsg) std::abort();
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
  const QString problems = displayProblems(window.screen());
  if (!problems.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(problems));
    qInstallMessageHandler(warnOnce);
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromStdString(edition.name),
                                problems, QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);  // the program goes on beside it
    box->show();
  }
  window.activate();
  // Esc or closing the window during start-up ends the program before the
  // event loop has started.
  if (window.hasEnded()) return 0;
  if (!arguments.isEmpty()) window.openSetup(arguments.front());
  if (window.hasEnded()) return 0;
  return app.exec();
}

}  // namespace pm
