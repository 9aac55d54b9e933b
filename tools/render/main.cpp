// planimove-render: starts the program as the window does, applies a sequence
// of key and menu events, and writes the last picture (PNG, SVG), the frames of
// its runs (GIF) and the state (JSON) without a display.
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/qt/animation.h"
#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "draw/view.h"
#include "exercise/exercise.h"
#include "render_host.h"
#include "render_options.h"
#include "shell/atomic_file.h"
#include "shell/form1.h"
#include "shell/qt/diagram_files.h"
#include "shell/pictures.h"
#include "shell/setup.h"
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

// Room around the construction of a cropped picture, in units of the user scale.
constexpr double kCropMargin = 12;

// Whether a background picture is one of the edition's help pictures, which
// the projector mode keeps.
bool isHelpPicture(const std::string& path, const pm::Edition& edition) {
  const std::string name = std::filesystem::path(path).filename().string();
  return name == edition.helpPicture || name == edition.keyOverviewPicture;
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
  // A set-up is read and checked before anything starts, like every argument.
  std::optional<pm::Setup> setup;
  if (!o.setup.empty()) {
    std::string text, message;
    if (!pm::readSetupFile(o.setup, text, message) || !(setup = pm::parseSetup(text, *o.edition, message))) {
      std::cerr << "planimove-render: --setup " << o.setup << ": " << message << "\n";
      return 2;
    }
  }
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
  // The run frames as the window records them: the picture as it shows,
  // through the view and the projector mode, with its background picture;
  // they are drawn and encoded at the drawing area's size at the end.
  std::vector<pm::AnimationFrame> animation;
  std::string loadedPath;  // the background picture of the run frames
  QImage background;
  if (!o.gif.empty()) {
    host.onRunFrame = [&] {
      if (host.backgroundPath() != loadedPath) {
        loadedPath = host.backgroundPath();
        background = QImage();
        if (!loadedPath.empty()) background = pm::readImageFile(loadedPath);
      }
      pm::ViewOptions view;
      view.view = form->view;
      view.projector = o.projector;
      const bool help = !background.isNull() && isHelpPicture(loadedPath, *o.edition);
      animation.push_back({view.plain() ? canvas.list() : pm::presented(canvas.list(), view),
                           pm::showsBackground(view, help) ? background : QImage(),
                           canvas.backgroundColour()});
    };
  }
  host.beginEvent(false);
  form->Form_Activate();
  if (setup && !form->ending) pm::applySetup(*form, *setup);
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
    const bool haveBackground = !background.isNull();
    const bool help = haveBackground && isHelpPicture(host.backgroundPath(), *o.edition);
    pm::ViewOptions view;
    view.projector = o.projector;
    view.content = o.crop ? pm::Content::Construction : o.clean ? pm::Content::Clean : pm::Content::Whole;
    if (o.fit) {
      std::optional<pm::Area> page;
      if (haveBackground && !help && pm::showsBackground(view, false))
        page = pm::Area{pm::kScaleLeft, pm::kScaleTop, pm::kScaleLeft + background.width(),
                        pm::kScaleTop + background.height()};
      if (const auto framed = pm::framingView(picture, view, page))
        form->view = *framed;
    }
    view.view = form->view;
    const pm::DisplayList shownList = pm::presented(picture, view);
    const QImage* shown = haveBackground && pm::showsBackground(view, help) ? &background : nullptr;
    QSize size(o.width, o.height);
    QRectF source;
    if (o.crop) {
      // The construction alone, as large as fits into the size given.
      const auto crop = pm::cropArea(shownList, kCropMargin);
      if (!crop) {
        std::cerr << "planimove-render: --crop: the picture shows no construction\n";
        return 1;
      }
      source = QRectF(QPointF(crop->left, crop->top), QPointF(crop->right, crop->bottom));
      size = pm::fittedScaleRect(QRectF(0, 0, o.width, o.height), source).size().toSize();
      size = size.expandedTo(QSize(1, 1));
    }
    if (!o.png.empty())
      ok &= writePicture(pm::encodePng(shownList, shown, size, form->st.cb, source), o.png, "PNG", o);
    if (!o.svg.empty())
      ok &= writePicture(pm::encodeSvg(shownList, shown, size, form->st.cb, source), o.svg, "SVG", o);
  }
  if (!o.gif.empty()) {
    std::string error;
    const std::vector<std::uint8_t> bytes =
        animation.empty() ? std::vector<std::uint8_t>()
                          : pm::encodeAnimation(animation, QSize(o.width, o.height), 3, nullptr, error);
    if (animation.empty()) {
      std::cerr << "planimove-render: the events show no run frames; " << o.gif << " is not written\n";
      ok = false;
    } else if (bytes.empty()) {
      std::cerr << "planimove-render: " << error << "\n";
      ok = false;
    } else {
      ok &= writeFile(o.gif, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                              bytes.size()));
    }
  }
  if (!o.writeSetup.empty()) ok &= writeFile(o.writeSetup, pm::writeSetup(*form));
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
