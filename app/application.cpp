// application.cpp - the display connection and the start-up line.
#include "app/application.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/startup.h"
#include "vistrel_build.h"

namespace {

std::string startingProgram;

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
    std::fprintf(stderr, "%s\n", noDisplayLine(startingProgram, display ? display : "").c_str());
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

}  // namespace

std::string programNameOf(int argc, char** argv) {
  std::string name = argc > 0 && argv[0] != nullptr ? std::string(argv[0]) : std::string("vistrel");
  if (const size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
  return name;
}

std::unique_ptr<QApplication> startApplication(int& argc, char** argv, const std::string& program) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fprintf(stderr, "%s\n", noDisplayLine(program, "").c_str());
    return nullptr;
  }
  startingProgram = program;
  qInstallMessageHandler(holdStartMessages);
  auto app = std::make_unique<QApplication>(argc, argv);
  releaseStartMessages();
  QApplication::setApplicationName("Vistrel");
  QApplication::setApplicationVersion(QStringLiteral(VISTREL_VERSION));
  // Whoever reads the terminal or a log learns at once whether the camera on
  // screen is real or simulated.
  std::fprintf(stderr, "%s: %s\n", program.c_str(), libraryReportLine().c_str());
  return app;
}
