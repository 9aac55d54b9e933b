#include "shell/qt/diagram_files.h"

#include <QtCore/QFileInfo>
#include <QtCore/QRectF>
#include <QtCore/QString>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_csv.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "shell/atomic_file.h"

namespace pm {

DisplayList diagramSheet(const ShownTable& shown, QSize size) {
  RecordingCanvas canvas(qtFontMetrics());
  drawDiagrams(canvas, shown, {static_cast<double>(size.width()), static_cast<double>(size.height())});
  return canvas.list();
}

bool writeDiagrams(const ShownTable& shown, const std::string& file, QSize size, std::string& error) {
  const QString suffix = QFileInfo(QString::fromStdString(file)).suffix().toLower();
  std::string reason;
  if (suffix == QStringLiteral("csv")) {
    if (!shown.table) {
      error = "Keine Tabelle: " + shown.reason + ".";
      return false;
    }
    if (writeFileAtomically(file, motionCsv(*shown.table), reason)) return true;
    error = "Die Tabelle konnte nicht als „" + file + "“ gespeichert werden: " + reason + ".";
    return false;
  }
  if (suffix != QStringLiteral("png") && suffix != QStringLiteral("svg")) {
    error = "Die Diagramme werden als PNG, SVG oder CSV gespeichert: Der Dateiname muss auf „.png“, "
            "„.svg“ oder „.csv“ enden.";
    return false;
  }
  const DisplayList list = diagramSheet(shown, size);
  const QRectF frame(0, 0, size.width(), size.height());
  const bool ok = suffix == QStringLiteral("png")
                      ? writePng(list, nullptr, file, reason, size, rgb(255, 255, 255), frame)
                      : writeSvg(list, nullptr, file, reason, size, rgb(255, 255, 255), frame);
  if (!ok) error = "Die Diagramme konnten nicht als „" + file + "“ gespeichert werden: " + reason + ".";
  return ok;
}

}  // namespace pm
