// planimove-pictures: renders the help pictures from their text sources.
//   planimove-pictures SOURCE.txt OUT.gif [SOURCE.txt OUT.gif …]
#include <QGuiApplication>
#include <cstdio>

#include "help_pictures.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: planimove-pictures SOURCE.txt OUT.gif [SOURCE.txt OUT.gif …]\n");
    return 2;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!pm::pictures::writeHelpPicture(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]))) {
      std::fprintf(stderr, "planimove-pictures: cannot turn %s into %s\n", argv[i], argv[i + 1]);
      return 1;
    }
  }
  return 0;
}
