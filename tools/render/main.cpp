// planimove-render: starts the program as the window does, applies a sequence
// of key and menu events, and writes the last picture (PNG, SVG), the frames of
// its runs (GIF) and the state (JSON) without a display.
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "exercise/exercise.h"
#include "render_host.h"
#include "render_options.h"
#include "shell/atomic_file.h"
#include "shell/form1.h"
#include "shell/qt/diagram_files.h"
#include "shell/pictures.h"
#include "state_json.h"

namespace {

using pm::render::Event;
using pm::render::Options;

std::vector<std::filesystem::path> pictureFolders(const Options& o, const pm::Edition& edition) {
  std::vector<std::filesystem::path> folders;
  if (!o.pictures.empty()) folders.emplace_back(o.pictures);
  for (const auto& f : pm::pictureFolders()) folders.push_back(f);
  return pm::editionFolders(folders, edition.pictureFolder);
}

// Whether an event may start the demonstration, which only a key stops.
bool mayStartDemonstration(const Event& e, const pm::Edition& edition) {
  if (e.kind != Event::Kind::Key) return true;  // a menu item may send any key
  if (e.keyCode == '5') return true;
  if (e.keyCode >= pm::kKeyF1 && e.keyCode < pm::kKeyF1 + 9) {
    const auto& table = e.shift == 0 ? edition.functionKeys : edition.shiftFunctionKeys;
    return table[static_cast<std::size_t>(e.keyCode - pm::kKeyF1)] ==
           pm::FunctionKeyAction::Demonstration;
  }
  return false;
}

// Writes a file through the one atomic writer; a failure is reported with
// the file and the reason, and an existing file of that name stays as it was.
bool writeFile(const std::string& file, std::string_view bytes) {
  std::string reason;
  if (pm::writeFileAtomically(file, bytes, reason)) return true;
  std::cerr << "planimove-render: cannot write " << file << " (" << reason
            << "); an existing file of that name is unchanged\n";
  return false;
}

bool writeJson(const nlohmann::json& doc, const std::string& file) {
  const std::string text = doc.dump(1) + "\n";
  if (file != "-") return writeFile(file, text);
  // Standard output: a full disk, a closed output or a reader that went away
  // is reported, not taken for success.
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0)
    return true;
  std::cerr << "planimove-render: cannot write the state to standard output ("
            << pm::fileErrorReason(errno != 0 ? errno : EIO) << ")\n";
  return false;
}

bool writePicture(const QByteArray& bytes, const std::string& file, const char* kind,
                  const Options& o) {
  if (bytes.isEmpty()) {
    std::cerr << "planimove-render: no " << kind << " picture of " << o.width << "x" << o.height
              << " pixels; " << file << " is not written\n";
    return false;
  }
  return writeFile(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = pm::render::parseOptions(args, error);
  if (!options) {
    std::cerr << "planimove-render: " << error << "\n" << pm::render::usage();
    return 2;
  }
  const Options& o = *options;
  // A reader of --json - that goes away is an error to report, not a signal that ends the tool.
  std::signal(SIGPIPE, SIG_IGN);

  // Never needs a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  pm::installFontSubstitutions();

  pm::RecordingCanvas canvas(pm::qtFontMetrics());
  pm::render::RenderHost host(pictureFolders(o, *o.edition), o.maxFrames);
  auto form = std::make_unique<pm::Form1>(canvas, host, *o.edition);
  host.attach(*form);

  // The last complete picture: a command that ends the program (Esc, End)
  // clears the canvas first, so its predecessor's picture is kept.
  pm::DisplayList picture;
  host.beforeEnding = [&] { picture = canvas.list(); };
  // The run frames as the window records them: the picture with its
  // background at the drawing area's size.
  std::unique_ptr<pm::GifEncoder> animation;
  std::string loadedPath;  // the background picture of the run frames
  QImage background;
  if (!o.gif.empty()) {
    animation = std::make_unique<pm::GifEncoder>(o.width, o.height, true);
    host.onRunFrame = [&] {
      if (host.backgroundPath() != loadedPath) {
        loadedPath = host.backgroundPath();
        background = QImage();
        if (!loadedPath.empty()) background = pm::readImageFile(loadedPath);
      }
      const QImage frame = pm::renderImage(canvas.list(), background.isNull() ? nullptr : &background,
                                           QSize(o.width, o.height), 1, canvas.backgroundColour());
      animation->addFrame(pm::toPaletteImage(frame), 3);
    };
  }
  host.beginEvent(false);
  form->Form_Activate();
  if (!form->ending) picture = canvas.list();
  if (!o.exercise.empty() && !form->ending) {
    pm::startExercise(*form, pm::exerciseKindNamed(o.exercise), o.seed);
    if (!form->ending) picture = canvas.list();
  }
  for (const Event& e : o.events) {
    if (form->ending) break;
    if (e.cursorX) host.setCursor(*e.cursorX, *e.cursorY);
    host.beginEvent(mayStartDemonstration(e, *o.edition));
    if (e.kind == Event::Kind::Menu) {
      form->menuCommand(e.menu);
    } else {
      form->Form_KeyDown(e.keyCode, e.shift);
    }
    if (!form->ending) picture = canvas.list();
  }
  // The answer and the solution, in the exercise the events left open.
  if (o.answerX && !form->ending) {
    host.beginEvent(false);
    host.setCursor(*o.answerX, *o.answerY);
    if (form->exercise.open()) pm::exerciseAction(*form, pm::ExerciseAction::Answer);
    form->Form_KeyDown(pm::kKeyRebuild, 0);
    if (!form->ending) picture = canvas.list();
  }
  if (o.solution && !form->ending && form->exercise.open()) {
    host.beginEvent(false);
    if (!form->exercise.solutionShown) pm::exerciseAction(*form, pm::ExerciseAction::Solution);
    form->Form_KeyDown(pm::kKeyRebuild, 0);
    if (!form->ending) picture = canvas.list();
  }

  bool ok = true;
  if (!o.png.empty() || !o.svg.empty()) {
    background = QImage();
    if (!host.backgroundPath().empty()) background = pm::readImageFile(host.backgroundPath());
    const QImage* shown = background.isNull() ? nullptr : &background;
    if (!o.png.empty())
      ok &= writePicture(pm::encodePng(picture, shown, QSize(o.width, o.height), form->st.cb),
                         o.png, "PNG", o);
    if (!o.svg.empty())
      ok &= writePicture(pm::encodeSvg(picture, shown, QSize(o.width, o.height), form->st.cb),
                         o.svg, "SVG", o);
  }
  if (animation) {
    const int frames = animation->frameCount();
    const std::vector<std::uint8_t> bytes = animation->finish();
    if (frames == 0) {
      std::cerr << "planimove-render: the events show no run frames; " << o.gif << " is not written\n";
      ok = false;
    } else if (bytes.empty()) {
      std::cerr << "planimove-render: " << animation->error() << "\n";
      ok = false;
    } else {
      ok &= writeFile(o.gif, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                              bytes.size()));
    }
  }
  if (!o.json.empty()) ok &= writeJson(pm::render::stateJson(*form, picture), o.json);
  // The diagrams of the state after the events.
  for (const std::string* file : {&o.diagramCsv, &o.diagramSvg, &o.diagramPng}) {
    if (file->empty()) continue;
    std::string error;
    if (!pm::writeDiagrams(pm::shownMotionTable(*form), *file, QSize(o.diagramWidth, o.diagramHeight), error)) {
      std::cerr << "planimove-render: " << error << "\n";
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
