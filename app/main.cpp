// main.cpp - the application object: runs the main dialog modally.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/smoke_run.h"
#include "app/startup.h"
#include "app/tyx_vistrel_dlg.h"
#include "vistrel_build.h"

namespace {

std::string programName;

// Messages Qt gives while it connects to the display. When the connection
// fails Qt ends with a fatal message (advice to reinstall the program) and
// aborts; the user gets one line saying what failed and what to do instead.
// When it succeeds the held messages are printed after all.
struct HeldMessage {
  std::string category;
  std::string text;
};
std::vector<HeldMessage> heldMessages;

void holdStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "%s\n", noDisplayLine(programName, display ? display : "").c_str());
    std::fflush(stderr);
    // Qt is half initialised; leave without running its destructors.
    std::_Exit(2);
  }
  heldMessages.push_back({context.category ? context.category : "", message.toStdString()});
}

void releaseStartMessages() {
  qInstallMessageHandler(nullptr);
  for (const HeldMessage& m : heldMessages) {
    if (m.category.empty() || m.category == "default")
      std::fprintf(stderr, "%s\n", m.text.c_str());
    else
      std::fprintf(stderr, "%s: %s\n", m.category.c_str(), m.text.c_str());
  }
  heldMessages.clear();
}

// Qt's own command-line options, which it also takes with two dashes.
bool isQtOption(const char* name) {
  static const char* const qt[] = {"platform",
                                   "platformpluginpath",
                                   "platformtheme",
                                   "plugin",
                                   "style",
                                   "stylesheet",
                                   "widgetcount",
                                   "reverse",
                                   "session",
                                   "display",
                                   "geometry",
                                   "title",
                                   "visual",
                                   "ncols",
                                   "cmap",
                                   "nograb",
                                   "dograb",
                                   "sync",
                                   "qwindowgeometry",
                                   "qwindowtitle",
                                   "qwindowicon"};
  for (const char* q : qt)
    if (std::strcmp(name, q) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  programName = argc > 0 && argv[0] != nullptr ? std::string(argv[0]) : std::string("vistrel");
  if (const size_t slash = programName.rfind('/'); slash != std::string::npos)
    programName.erase(0, slash + 1);

  // --smoke-shots DIR [--handshake]: the self-check of the installed program.
  QString smokeDir;
  bool handshake = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(helpText(programName).c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(versionText().c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--smoke-shots") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s: --smoke-shots needs a folder; see --help\n", programName.c_str());
        return 2;
      }
      smokeDir = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--handshake") == 0) {
      handshake = true;
    } else if (std::strncmp(argv[i], "--", 2) == 0 && !isQtOption(argv[i] + 2)) {
      std::fprintf(stderr, "%s: unknown option %s; see --help\n", programName.c_str(), argv[i]);
      return 2;
    }
  }

  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "%s\n", noDisplayLine(programName, "").c_str());
    return 2;
  }
  qInstallMessageHandler(holdStartMessages);
  QApplication app(argc, argv);
  releaseStartMessages();
  QApplication::setApplicationName("Vistrel");
  QApplication::setApplicationVersion(QStringLiteral(VISTREL_VERSION));
  // Whoever reads the terminal or a log learns at once whether the camera on
  // screen is real or simulated.
  std::fprintf(stderr, "%s: %s\n", programName.c_str(), libraryReportLine().c_str());

  CTyxVistrelDlg dialog;
  // As a dialog initialises before it is first shown, the discovery runs with
  // only the progress window on screen.
  dialog.initialise();
  if (!smokeDir.isEmpty()) return runSmokeShots(dialog, smokeDir, handshake);
  dialog.run();
  return 0;
}
