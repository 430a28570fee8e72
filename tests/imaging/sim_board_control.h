// sim_board_control.h - test access to the control entry points of the simulated board library.
#pragma once

#include <dlfcn.h>

#include <string>

#include "imaging/board_library.h"
#include "sim/tyxapi32/tyxapi32_sim.h"

// The controls come from the very library the program's binding loaded, so
// a test changes the boards the program sees.
struct SimBoardControl {
  decltype(&tyxSimControl) control = nullptr;
  decltype(&tyxSimReadLog) readLog = nullptr;
  decltype(&tyxSimStep) step = nullptr;
  decltype(&tyxSimFrameCount) frameCount = nullptr;

  bool bind() {
    if (!BoardLibrary::instance().ensureLoaded()) return false;
    void* handle = dlopen(BoardLibrary::defaultFileName(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return false;
    control = reinterpret_cast<decltype(control)>(dlsym(handle, "tyxSimControl"));
    readLog = reinterpret_cast<decltype(readLog)>(dlsym(handle, "tyxSimReadLog"));
    step = reinterpret_cast<decltype(step)>(dlsym(handle, "tyxSimStep"));
    frameCount = reinterpret_cast<decltype(frameCount)>(dlsym(handle, "tyxSimFrameCount"));
    // Drop the extra reference; the binding keeps the library loaded.
    dlclose(handle);
    return control && readLog && step && frameCount;
  }

  std::string log() const {
    const int32_t n = readLog(nullptr, 0);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    readLog(s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
  }
};
