// The diagrams over the crank angle as files: the table as CSV, the sheet as
// PNG or SVG, chosen by the file's extension. The window's "Diagramme
// speichern …" and planimove-render write through here.
#pragma once

#include <QtCore/QSize>
#include <string>

#include "diagrams/motion_of_form.h"
#include "draw/display_list.h"

namespace pm {

// The sheet of the diagrams as a display list of width × height units.
DisplayList diagramSheet(const ShownTable& shown, QSize size);

// Writes `file` (.csv, .png or .svg); false and a German message in `error`
// when the extension is none of these, there is no table to write as CSV,
// or the file cannot be written.
bool writeDiagrams(const ShownTable& shown, const std::string& file, QSize size, std::string& error);

}  // namespace pm
