// The one application object the Qt benchmarks need: created on first use,
// offscreen unless QT_QPA_PLATFORM says otherwise, with the picture fonts.
#pragma once

#include <QGuiApplication>

#include "draw/qt/qt_fonts.h"

namespace pm::bench {

inline void ensureQtApplication() {
  static int argc = 1;
  static char name[] = "planimove_bench";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(argc, argv);
  installFontSubstitutions();
}

}  // namespace pm::bench
