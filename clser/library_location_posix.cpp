// library_location_posix.cpp - the library's real folder on Linux.

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "library_location.h"

namespace clser {

std::string libraryDirectory() {
  Dl_info info{};
  // Any function of this library names the file it was loaded from; in a
  // test that links our objects, that file is the executable.
  if (dladdr(reinterpret_cast<void*>(&libraryDirectory), &info) == 0 || !info.dli_fname) return {};
  char resolved[PATH_MAX];
  const char* path = info.dli_fname;
  if (!realpath(path, resolved)) {
    if (!realpath("/proc/self/exe", resolved)) return {};
  }
  std::string dir(resolved);
  const auto slash = dir.rfind('/');
  if (slash == std::string::npos) return {};
  dir.resize(slash == 0 ? 1 : slash);
  return dir;
}

}  // namespace clser
