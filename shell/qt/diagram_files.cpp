#include "shell/qt/diagram_files.h"

#include <QtCore/QFileInfo>
#include <QtCore/QRectF>
#include <QtCore/QString>
#include <vector>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_csv.h"
#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"

namespace pm {

DisplayList diagramSheet(const ShownTable& shown, QSize size) {
  RecordingCanvas canvas(qtFontMetrics());
  drawDiagrams(canvas, shown, {static_cast<double>(size.width()), static_cast<double>(size.height())});
  return canvas.list();
}

bool writeDiagrams(const ShownTable& shown, const std::string& file, QSize size, std::string& error) {
  const QString name = QString::fromStdString(file);
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (suffix == QStringLiteral("csv")) {
    if (!shown.table) {
      error = "Keine Tabelle: " + shown.reason + ".";
      return false;
    }
    const std::string text = motionCsv(*shown.table);
    if (writeBytes(file, std::vector<std::uint8_t>(text.begin(), text.end()), error)) return true;
    error = "Die Tabelle konnte nicht als „" + file + "“ gespeichert werden.";
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
                      ? writePng(list, nullptr, name, size, rgb(255, 255, 255), frame)
                      : writeSvg(list, nullptr, name, size, rgb(255, 255, 255), frame);
  if (!ok) error = "Die Diagramme konnten nicht als „" + file + "“ gespeichert werden.";
  return ok;
}

}  // namespace pm
