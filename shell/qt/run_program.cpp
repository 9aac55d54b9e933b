#include "shell/qt/run_program.h"

#include <QtCore/QSet>
#include <QtCore/QStringList>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "shell/qt/main_window.h"

namespace pm {

namespace {

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
  return app.exec();
}

}  // namespace pm
