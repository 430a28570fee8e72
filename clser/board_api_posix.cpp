// board_api_posix.cpp - loads the board library on Linux and binds its
// ordinals.
//
// The library is opened at run time rather than linked: a host must be able
// to load the serial library (and list zero ports) on a machine without the
// board library, and a host that reaches us through a soft link in its own
// folder must still find the board library beside our real file.

#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "board_api.h"
#include "clsertyx_testing.h"
#include "library_location.h"

namespace clser {

namespace {

constexpr const char* kBoardLibrary = "libtyxapi64.so";
// On Linux the maker's library hands out its entries by ordinal through
// this one exported function.
constexpr const char* kOrdinalEntry = "tyxapi64Ordinal";

std::string& pathOverride() {
  static std::string path;
  return path;
}

void* openBoardLibrary(std::string& tried) {
  if (!pathOverride().empty()) {
    tried = pathOverride();
    return dlopen(pathOverride().c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  const std::string dir = libraryDirectory();
  if (!dir.empty()) {
    const std::string beside = dir + "/" + kBoardLibrary;
    tried = beside;
    if (void* handle = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  }
  tried += tried.empty() ? kBoardLibrary : std::string(" or ") + kBoardLibrary;
  return dlopen(kBoardLibrary, RTLD_NOW | RTLD_LOCAL);
}

template <typename Fn>
Fn entry(void* (*ordinal)(uint32_t), uint32_t n) {
  return reinterpret_cast<Fn>(ordinal(n));
}

BoardApi resolve() {
  BoardApi api;
  std::string tried;
  void* handle = openBoardLibrary(tried);
  if (!handle) {
    const char* why = dlerror();
    std::fprintf(stderr, "clsertyx: board library not found (%s): %s; no serial ports\n", tried.c_str(),
                 why ? why : "unknown reason");
    return api;
  }
  // The handle stays open for the life of the process: the table below
  // points into the library.
  auto ordinal = reinterpret_cast<void* (*)(uint32_t)>(dlsym(handle, kOrdinalEntry));
  api.present = true;
  if (!ordinal) return api;
  api.openBoard = entry<Tyx64OpenBoardFn>(ordinal, TYX64_ORD_OPEN_BOARD);
  api.closeBoard = entry<Tyx64CloseBoardFn>(ordinal, TYX64_ORD_CLOSE_BOARD);
  api.lastStatus = entry<Tyx64LastStatusFn>(ordinal, TYX64_ORD_LAST_STATUS);
  api.boardType = entry<Tyx64BoardTypeFn>(ordinal, TYX64_ORD_BOARD_TYPE);
  api.boardTable = entry<Tyx64BoardTableFn>(ordinal, TYX64_ORD_BOARD_TABLE);
  api.setSerialParam = entry<Tyx64SetSerialParamFn>(ordinal, TYX64_ORD_SET_SERIAL_PARAM);
  api.serialRead = entry<Tyx64SerialReadFn>(ordinal, TYX64_ORD_SERIAL_READ);
  api.serialWrite = entry<Tyx64SerialWriteFn>(ordinal, TYX64_ORD_SERIAL_WRITE);
  return api;
}

}  // namespace

const BoardApi& boardApi() {
  // A function-local static is initialised exactly once, even with callers on
  // several threads.
  static const BoardApi api = resolve();
  return api;
}

namespace testing {
void setBoardLibraryPath(std::string path) { pathOverride() = std::move(path); }
}  // namespace testing

}  // namespace clser
