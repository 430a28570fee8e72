// sim_library.h - loads the simulated camera library by name and resolves its entry points.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "abi/tyxcamera_entry_points.h"
#include "sim/tyxcamera/tyxcamera_sim.h"

// Every entry point the tests call, looked up by name in the library that
// dlopen finds through the test binary's run path, as the program does.
struct SimLibrary {
  void* handle = nullptr;
#define TYX_FN(name) decltype(&::name) name = nullptr;
  TYXCAM_ENTRY_POINTS(TYX_FN)
  TYX_FN(tyxSimControl)
  TYX_FN(tyxSimReadLog)
#undef TYX_FN

  static SimLibrary& get() {
    static SimLibrary lib;
    return lib;
  }

 private:
  SimLibrary() {
    handle = dlopen("libtyxcamera.so", RTLD_NOW);
    if (!handle) {
      // Under AddressSanitizer dlopen is intercepted and the caller's
      // $ORIGIN run path is lost; look beside the test binary, where the run
      // path points.
      char exe[4096];
      const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
      if (n > 0) {
        std::string dir(exe, static_cast<size_t>(n));
        dir.resize(dir.rfind('/') + 1);
        handle = dlopen((dir + "libtyxcamera.so").c_str(), RTLD_NOW);
      }
    }
    if (!handle) return;
#define TYX_FN(name) name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));
    TYXCAM_ENTRY_POINTS(TYX_FN)
    TYX_FN(tyxSimControl)
    TYX_FN(tyxSimReadLog)
#undef TYX_FN
  }
};

// Each test starts from the default camera set with no delays.
class SimTest : public ::testing::Test {
 protected:
  SimLibrary& lib = SimLibrary::get();

  void SetUp() override {
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    ASSERT_NE(lib.tyxSimControl, nullptr);
    ASSERT_EQ(lib.tyxSimControl("reset;fast"), 1);
  }

  void control(const char* commands) { ASSERT_EQ(lib.tyxSimControl(commands), 1) << commands; }

  // Opens a port with the serial type; fails the test when no handle comes back.
  void* open(const char* port, int32_t requested = -2) {
    int32_t type = requested;
    void* cam = lib.tyxCamOpenCamera(&type, port);
    EXPECT_NE(cam, nullptr) << port << " error " << lib.tyxCamGetLastError();
    return cam;
  }

  TyxCameraParams readParams(void* cam, int32_t mode = 0) {
    TyxCameraParams p{};
    p.size = sizeof p;
    p.marker = 0xFFFE;
    EXPECT_EQ(lib.tyxCamGetConfigParam(cam, -1, &p, mode), 1) << lib.tyxCamGetLastError();
    return p;
  }

  TyxLinearParams readLinear(void* cam, int32_t mode = 0) {
    TyxLinearParams p{};
    p.size = sizeof p;
    p.marker = 0xFFFE;
    EXPECT_EQ(lib.tyxCamGetConfigParam(cam, 100, &p, mode), 1) << lib.tyxCamGetLastError();
    return p;
  }

  TyxExtendedParams readExtended(void* cam) {
    TyxExtendedParams e{};
    e.size = sizeof e;
    EXPECT_EQ(lib.tyxCamGetConfigParam(cam, 34, &e, 0), 1) << lib.tyxCamGetLastError();
    return e;
  }

  std::vector<std::string> logLines() {
    const int32_t n = lib.tyxSimReadLog(nullptr, 0);
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    lib.tyxSimReadLog(buf.data(), n + 1);
    buf.resize(static_cast<size_t>(n));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < buf.size()) {
      size_t end = buf.find('\n', start);
      if (end == std::string::npos) end = buf.size();
      lines.push_back(buf.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  std::string lastLogLine() {
    auto lines = logLines();
    return lines.empty() ? std::string() : lines.back();
  }
};
