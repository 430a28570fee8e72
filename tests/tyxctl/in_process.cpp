// in_process.cpp - the tool's function with a counting clock and collected streams.
#include "in_process.h"

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "tools/tyxctl/console.h"
#include "tools/tyxctl/terminal_desktop.h"
#include "tools/tyxctl/tyxctl.h"

namespace {

class BufferConsole : public Console {
 public:
  void out(const QString& line) override { out_ += line + '\n'; }
  void err(const QString& line) override { err_ += line + '\n'; }
  QString out_;
  QString err_;
};

}  // namespace

ToolRun runInProcess(SimCamera& simulator, const QStringList& args, const std::string& sim,
                     const std::function<void(int ms)>& onSleep, Desktop* after) {
  simulator.reset();
  if (!sim.empty()) simulator.control(sim);
  BufferConsole console;
  ToolRun run;
  TerminalDesktop desktop(console, [&](int ms) {
    run.sleeps.push_back(ms);
    if (onSleep) onSleep(ms);
  });
  Desktop::install(&desktop);
  run.exitCode = tyxctl::run(args, console);
  Desktop::install(after);
  run.out = console.out_;
  run.err = console.err_;
  for (const SimCamera::Call& call : simulator.log()) run.log << QString::fromStdString(call.line);
  // Whatever the command left behind must not reach the next test.
  cameraState().reset();
  CameraLibrary::instance().resetForTests();
  return run;
}
