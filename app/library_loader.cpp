// library_loader.cpp - dlopen, the maker's libraries before the simulators.
#include "app/library_loader.h"

#include "vistrel_build.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#endif

#ifndef _WIN32
namespace {
std::string executableFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return {};
  std::string full(path, static_cast<size_t>(n));
  const size_t slash = full.rfind('/');
  return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

std::string lastLoadError;
}  // namespace
#endif

void* loadSharedLibrary(const std::string& fileName) {
#ifdef _WIN32
  return reinterpret_cast<void*>(LoadLibraryA(fileName.c_str()));
#else
  void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle != nullptr || fileName.find('/') != std::string::npos) return handle;
  // Keep the loader's complaint about the name itself: it says what the
  // system search found (or did not), which is what a user needs to read.
  const char* why = dlerror();
  lastLoadError = why ? why : fileName + ": cannot open shared object file";
  const std::string folder = executableFolder();
  if (folder.empty()) return nullptr;
  // Beside the executable is the build tree's layout; the second folder is
  // where the simulator package installs, relative to the installed program.
  for (const std::string& dir : {folder, folder + "/" + VISTREL_SIMULATOR_DIR_FROM_BIN}) {
    std::string path = dir;
    path += '/';
    path += fileName;
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) return handle;
  }
  return nullptr;
#endif
}

void unloadSharedLibrary(void* handle) {
  if (handle == nullptr) return;
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

void* sharedLibrarySymbol(void* handle, const char* name) {
  if (handle == nullptr) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

std::string sharedLibraryFile(void* handle) {
  if (handle == nullptr) return {};
#ifdef _WIN32
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), path, MAX_PATH);
  return std::string(path, n);
#else
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr) return {};
  // The loader names the file by the path it opened; resolve the links so
  // the user sees the real file (a versioned name behind a link, say).
  char real[PATH_MAX];
  if (realpath(map->l_name, real) != nullptr) return real;
  return map->l_name;
#endif
}

bool isSimulatedLibrary(void* handle) { return sharedLibrarySymbol(handle, "tyxSimControl") != nullptr; }

LibraryProbe probeSharedLibrary(const std::string& fileName) {
  LibraryProbe probe;
  void* handle = loadSharedLibrary(fileName);
  if (handle == nullptr) {
#ifndef _WIN32
    probe.error = lastLoadError.empty() ? fileName + ": not found" : lastLoadError;
#else
    probe.error = fileName + ": not found";
#endif
    return probe;
  }
  probe.found = true;
  probe.file = sharedLibraryFile(handle);
  if (probe.file.empty()) probe.file = fileName;
  probe.simulated = isSimulatedLibrary(handle);
  unloadSharedLibrary(handle);
  return probe;
}

std::string describeProbe(const char* role, const std::string& fileName, const LibraryProbe& probe) {
  if (!probe.found) return std::string(role) + " " + fileName + " not found";
  return std::string(role) + " " + probe.file + (probe.simulated ? " (simulated)" : "");
}
