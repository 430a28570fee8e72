// live_rate.cpp - the live windows against sources at their real pace: is every frame shown?
//
// Runs the grab video window on the simulated board (625-line interlaced
// signal at 50 fields/s, and a progressive 50 frames/s signal) and the
// capture image window on the simulated USB camera drawing 1920 x 1080 at
// 60 frames/s, each for a fixed time on the real clock with the windows
// shown (offscreen platform unless a display is given). Prints, per run, the
// frames the source delivered, the frames the window painted, the frames
// dropped, the source rate, the displayed rate and the figure the window's
// own "display fps" field shows.
//
//   live_rate [--seconds N]   (default 60)
//
// Not a test: the figures depend on the machine's load.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "imaging/board_library.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "sim/tyxapi32/tyxapi32_sim.h"

// Allocations are counted per thread kind: a shown frame's cost on the GUI
// thread (Qt's text fields and paint events included) and on the capture
// threads.
#include "alloc_counter.h"

namespace {

struct Result {
  std::string name;
  long long delivered = 0;
  long long painted = 0;
  double seconds = 0;
  double fpsField = 0;
  double libraryRate = -1;         // the camera library's own measured rate, USB only
  long long allocations = 0;       // GUI thread
  long long otherAllocations = 0;  // capture threads
};

// Serves the GUI thread for SECONDS on the real clock and counts the
// allocations made meanwhile into R.
void serve(double seconds, Result& r) {
  const long long total0 = alloc::total.load();
  const long long other0 = alloc::otherThreads.load();
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < seconds * 1000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  r.seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
  r.otherAllocations = alloc::otherThreads.load() - other0;
  r.allocations = alloc::total.load() - total0 - r.otherAllocations;
}

// The simulated board's control entry point, from the very library the
// program's binding loaded.
decltype(&tyxSimControl) boardControl() {
  if (!BoardLibrary::instance().ensureLoaded()) return nullptr;
  void* handle = dlopen(BoardLibrary::defaultFileName(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return nullptr;
  auto fn = reinterpret_cast<decltype(&tyxSimControl)>(dlsym(handle, "tyxSimControl"));
  dlclose(handle);  // the binding keeps the library loaded
  return fn;
}

Result runBoard(const char* name, const char* config, double seconds) {
  Result r;
  r.name = name;
  auto control = boardControl();
  if (!control || control("reset") != 1 || control(config) != 1) {
    std::fprintf(stderr, "%s: simulated board library not controllable\n", name);
    return r;
  }
  CDlgGrabVideo window(nullptr, nullptr);
  window.setSelectedBoard(0);
  if (!window.openSelectedBoard(nullptr)) {
    std::fprintf(stderr, "%s: board did not open\n", name);
    return r;
  }
  window.onAutoSet();
  window.show();
  window.onCaptureStart();
  // Frames counted from the first one painted, so the start-up of the
  // capture thread is not counted as a gap.
  while (window.paintedFrames() == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
  const long long delivered0 = window.frameCount();
  const long long painted0 = window.paintedFrames();
  serve(seconds, r);
  window.onCaptureStop();
  QApplication::processEvents();
  r.delivered = window.frameCount() - delivered0;
  r.painted = window.paintedFrames() - painted0;
  r.fpsField = window.control<QLineEdit>(1169)->text().toDouble();
  window.closeGrab();
  return r;
}

Result runUsb(const char* name, bool zoom, double seconds) {
  Result r;
  r.name = name;
  CameraLibrary& lib = CameraLibrary::instance();
  CameraState& s = cameraState();
  int32_t type = -2;
  s.handle = lib.openCamera(&type, "USB1");
  if (!s.handle) {
    std::fprintf(stderr, "%s: no USB camera on USB1\n", name);
    return r;
  }
  s.typeCode = type;
  s.versionCode = lib.getVerCode(s.handle, 0);
  {
    CDlgPaintUsb window(nullptr, nullptr);
    // Entered after showing: showing repaints, which writes the members
    // back into the fields.
    window.show();
    window.control<QLineEdit>(1106)->setText("1920");
    window.control<QLineEdit>(1033)->setText("1080");
    window.control<QRadioButton>(zoom ? 1111 : 1110)->setChecked(true);
    window.onVideo();
    while (window.paintedFrames() == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (const auto* b = static_cast<const uint8_t*>(lib.frameLock(window.frame()))) {
      int32_t w = 0, h = 0;
      std::memcpy(&w, b + 4, 4);
      std::memcpy(&h, b + 8, 4);
      lib.frameUnlock(window.frame());
      r.name += " (" + std::to_string(w) + "x" + std::to_string(h) + ")";
    }
    int32_t count0 = 0;
    lib.getCaptureRate(s.handle, nullptr, &count0);
    const long long painted0 = window.paintedFrames();
    serve(seconds, r);
    int32_t count1 = 0;
    r.libraryRate = lib.getCaptureRate(s.handle, nullptr, &count1);
    r.painted = window.paintedFrames() - painted0;
    window.onStop();
    r.delivered = count1 - count0;
    r.fpsField = window.control<QLineEdit>(1169)->text().toDouble();
  }
  lib.closeCamera(s.handle);
  s.handle = nullptr;
  return r;
}

void print(const Result& r) {
  const double source = r.seconds > 0 ? r.delivered / r.seconds : 0;
  const double shown = r.seconds > 0 ? r.painted / r.seconds : 0;
  std::printf("%-44s %6.1f s  source %6lld frames %6.2f/s  shown %6lld frames %6.2f/s  dropped %lld",
              r.name.c_str(), r.seconds, r.delivered, source, r.painted, shown,
              r.delivered > r.painted ? r.delivered - r.painted : 0);
  std::printf("  display fps field %.1f", r.fpsField);
  if (r.libraryRate >= 0) std::printf("  library rate %.2f", r.libraryRate);
  const double frames = r.painted ? static_cast<double>(r.painted) : 1.0;
  std::printf("  allocations/frame: capture threads %.2f, GUI thread %.1f\n", r.otherAllocations / frames,
              r.allocations / frames);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 60;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  alloc::markGuiThread();
  QApplication app(argc, argv);
  cameraState().language = 9;
  std::printf("live_rate: %.0f s per run\n", seconds);
  print(runBoard("board 625i, 50 fields/s (25 frames/s)", "pace=real", seconds));
  print(runBoard("board progressive, 50 frames/s", "pace=real;interlaced=0;rate=50", seconds));
  print(runUsb("USB 60 frames/s, zoomed", true, seconds));
  print(runUsb("USB 60 frames/s, actual size", false, seconds));
  return 0;
}
