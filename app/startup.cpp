// startup.cpp - version, help, library report and the no-display message.
#include "app/startup.h"

#include "app/library_loader.h"
#include "vistrel_build.h"

namespace {
struct Probes {
  LibraryProbe camera = probeSharedLibrary(kCameraLibraryFile);
  LibraryProbe board = probeSharedLibrary(kBoardLibraryFile);
};
}  // namespace

std::string libraryReportLine() {
  const Probes p;
  return describeProbe("camera library", kCameraLibraryFile, p.camera) + "; " +
         describeProbe("board library", kBoardLibraryFile, p.board);
}

std::string libraryReportText(bool chinese) {
  const Probes p;
  auto line = [chinese](const char* en, const char* zh, const char* name, const LibraryProbe& probe) {
    std::string text = std::string(chinese ? zh : en) + (chinese ? "：" : ": ");
    if (!probe.found) return text + name + (chinese ? "（未找到）" : " (not found)");
    return text + probe.file + (probe.simulated ? (chinese ? "（模拟）" : " (simulated)") : "");
  };
  return line("Camera library", "相机库", kCameraLibraryFile, p.camera) + "\n" +
         line("Board library", "采集卡库", kBoardLibraryFile, p.board);
}

std::string versionText() {
  const Probes p;
  return std::string("vistrel ") + VISTREL_VERSION + "\n" +
         describeProbe("camera library", kCameraLibraryFile, p.camera) + "\n" +
         describeProbe("board library", kBoardLibraryFile, p.board) + "\n";
}

std::string helpText(const std::string& program) {
  return "Usage: " + program +
         " [option]\n"
         "Control panel for industrial cameras and frame grabbers.\n"
         "\n"
         "Options:\n"
         "  --help                 show this text and exit\n"
         "  --version              show the version and the camera and board libraries\n"
         "                         the program loads (marked \"simulated\" for the\n"
         "                         simulators), and exit\n"
         "\n"
         "The camera library libtyxcamera.so and the board library libtyxapi32.so are\n"
         "taken from LD_LIBRARY_PATH, then from the system's library path, and only then\n"
         "from the bundled simulators. The interface language follows the locale\n"
         "(LC_ALL=zh_CN.UTF-8 for Chinese). Without a desktop, run it on a virtual\n"
         "display: xvfb-run -a " +
         program +
         " (package xvfb).\n"
         "See vistrel(1) and vistrel-simulators(7).\n";
}

std::string noDisplayLine(const std::string& program, const std::string& display) {
  const std::string what = display.empty() ? std::string("no display to open (DISPLAY is not set)")
                                           : "cannot open the display \"" + display + "\"";
  return program + ": " + what + "; run it on a desktop, or on a virtual display with: xvfb-run -a " +
         program + " (package xvfb)";
}
