// board_api_win32.cpp - finds tyxapi64.dll and binds its ordinals on
// Windows.
//
// clsertyx.dll imports the eight operations by ordinal through a
// delay-loaded import library (windows.cmake), so it loads on a machine
// without the board DLL. Before the first call goes through the import, this
// file loads the board DLL itself, beside clsertyx.dll first (hosts load us
// from their serial-library folder, not from their own), then by the normal
// search, and hands that module to the delay-load helper. An ordinal the DLL
// lacks leaves its pointer null, so the helper is never asked for it.

#include <windows.h>

#include <delayimp.h>
#include <string.h>

#include <cstdio>
#include <string>

#include "board_api.h"
#include "clsertyx_testing.h"
#include "library_location.h"

namespace clser {

namespace {

constexpr const char* kBoardDll = "tyxapi64.dll";

HMODULE boardModule = nullptr;
std::string pathOverride;

FARPROC WINAPI useLoadedBoard(unsigned notify, PDelayLoadInfo info) {
  if (notify == dliNotePreLoadLibrary && boardModule && _stricmp(info->szDll, kBoardDll) == 0)
    return reinterpret_cast<FARPROC>(boardModule);
  return nullptr;
}

std::wstring widen(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

HMODULE loadBoardDll(std::string& tried) {
  if (!pathOverride.empty()) {
    tried = pathOverride;
    return LoadLibraryExW(widen(pathOverride).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  const std::string dir = libraryDirectory();
  if (!dir.empty()) {
    const std::string beside = dir + "\\" + kBoardDll;
    tried = beside + " or ";
    // The altered search path lets the board DLL find its own dependencies
    // in its folder too.
    if (HMODULE h = LoadLibraryExW(widen(beside).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return h;
  }
  tried += kBoardDll;
  return LoadLibraryA(kBoardDll);
}

bool has(uint32_t ordinal) {
  return GetProcAddress(boardModule, MAKEINTRESOURCEA(static_cast<WORD>(ordinal))) != nullptr;
}

BoardApi resolve() {
  BoardApi api;
  std::string tried;
  boardModule = loadBoardDll(tried);
  if (!boardModule) {
    std::fprintf(stderr, "clsertyx: board library not found (%s): error %lu; no serial ports\n",
                 tried.c_str(), GetLastError());
    return api;
  }
  __pfnDliNotifyHook2 = useLoadedBoard;
  api.present = true;
  // Each pointer calls through the ordinal import, so the import table is
  // what binds the board DLL.
  if (has(TYX64_ORD_OPEN_BOARD)) api.openBoard = [](uint64_t* i) { return tyx64OpenBoard(i); };
  if (has(TYX64_ORD_CLOSE_BOARD)) api.closeBoard = [](void* b) { return tyx64CloseBoard(b); };
  if (has(TYX64_ORD_LAST_STATUS)) api.lastStatus = [] { return tyx64LastStatus(); };
  if (has(TYX64_ORD_BOARD_TYPE)) api.boardType = [](void* b, int32_t z) { return tyx64BoardType(b, z); };
  if (has(TYX64_ORD_BOARD_TABLE)) api.boardTable = [](void** t, int32_t z) { return tyx64BoardTable(t, z); };
  if (has(TYX64_ORD_SET_SERIAL_PARAM))
    api.setSerialParam = [](void* b, int32_t i, int32_t v) { return tyx64SetSerialParam(b, i, v); };
  if (has(TYX64_ORD_SERIAL_READ))
    api.serialRead = [](void* r, char* buf, uint32_t n, uint32_t t) { return tyx64SerialRead(r, buf, n, t); };
  if (has(TYX64_ORD_SERIAL_WRITE))
    api.serialWrite = [](void* r, const char* buf, uint32_t n, uint32_t t) {
      return tyx64SerialWrite(r, buf, n, t);
    };
  return api;
}

}  // namespace

const BoardApi& boardApi() {
  static const BoardApi api = resolve();
  return api;
}

namespace testing {
void setBoardLibraryPath(std::string path) { pathOverride = std::move(path); }
}  // namespace testing

}  // namespace clser
