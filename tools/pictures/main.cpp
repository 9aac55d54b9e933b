// planimove-pictures: renders the help pictures and the explanatory pages from
// their text sources.
//   planimove-pictures SOURCE.txt OUT.gif [SOURCE.txt OUT.gif …]
//   planimove-pictures --pages SOURCE_FOLDER OUT_FOLDER
// The second form renders every topic source Bild*.txt of the folder into its
// pages Bild<group><topic><page>.gif.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "explanatory_pages.h"
#include "help_pictures.h"

namespace {

int renderPages(const QString& sourceFolder, const QString& outFolder) {
  const QStringList sources = QDir(sourceFolder).entryList({"Bild*.txt"}, QDir::Files, QDir::Name);
  if (sources.isEmpty()) {
    std::fprintf(stderr, "planimove-pictures: no topic sources in %s\n", qPrintable(sourceFolder));
    return 1;
  }
  int pages = 0, failed = 0;
  for (const QString& name : sources) {
    QString error;
    const QStringList written = pm::pictures::writeTopicPages(QDir(sourceFolder).filePath(name), outFolder, &error);
    if (written.isEmpty()) {
      std::fprintf(stderr, "planimove-pictures: %s: %s\n", qPrintable(name), qPrintable(error));
      ++failed;  // the others are still rendered, so that one run reports every fault
    }
    pages += static_cast<int>(written.size());
  }
  std::printf("%d explanatory pages of %d topics\n", pages, static_cast<int>(sources.size()));
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc == 4 && QString::fromLocal8Bit(argv[1]) == "--pages")
    return renderPages(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr,
                 "usage: planimove-pictures SOURCE.txt OUT.gif [SOURCE.txt OUT.gif …]\n"
                 "       planimove-pictures --pages SOURCE_FOLDER OUT_FOLDER\n");
    return 2;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    QString error;
    if (!pm::pictures::writeHelpPicture(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]), &error)) {
      std::fprintf(stderr, "planimove-pictures: %s\n", qPrintable(error));
      return 1;
    }
  }
  return 0;
}
