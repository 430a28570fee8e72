// in_process.h - running tyxctl inside the test, on a counted clock.
#pragma once

#include <functional>

#include "app/desktop.h"
#include "common/sim_camera.h"
#include "tool_run.h"

// Runs the tool's own function with the terminal desktop whose waits are
// counted, not taken, against the simulator the test holds. The simulator is
// reset first and then given `sim`; onSleep runs at every wait (to change
// the camera meanwhile, say). `after` is the desktop installed again
// afterwards (a test's fake one; null: the program's own).
ToolRun runInProcess(SimCamera& simulator, const QStringList& args, const std::string& sim = {},
                     const std::function<void(int ms)>& onSleep = {}, Desktop* after = nullptr);
