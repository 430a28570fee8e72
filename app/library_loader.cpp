// library_loader.cpp - dlopen with the program's own folders as fallback.
#include "app/library_loader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
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
}  // namespace
#endif

void* loadSharedLibrary(const std::string& fileName) {
#ifdef _WIN32
  return reinterpret_cast<void*>(LoadLibraryA(fileName.c_str()));
#else
  void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle != nullptr || fileName.find('/') != std::string::npos) return handle;
  const std::string folder = executableFolder();
  if (folder.empty()) return nullptr;
  const std::string beside = folder + "/";
  const std::string installed = folder + "/../lib/vistrel/";
  for (const std::string& candidate : {beside + fileName, installed + fileName}) {
    handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
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
