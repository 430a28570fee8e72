// library_loader.h - loading the maker's libraries by file name.
#pragma once

#include <string>

// The file names the program loads. The maker's installers put libraries of
// these names on the system's library path; the simulators carry the same
// names so that either can stand in for the other.
#ifdef _WIN32
inline constexpr const char* kCameraLibraryFile = "tyxcamera.dll";
inline constexpr const char* kBoardLibraryFile = "TYXAPI32.DLL";
#else
inline constexpr const char* kCameraLibraryFile = "libtyxcamera.so";
inline constexpr const char* kBoardLibraryFile = "libtyxapi32.so";
#endif

// Loads a shared library by file name, the maker's real library first:
// the dynamic loader's own search (LD_LIBRARY_PATH, then the libraries
// registered with ldconfig and the system folders), and only when that finds
// nothing the bundled simulators: beside the executable (the build tree) and
// in the installed simulator folder. The program itself carries no run path
// to the simulators, because a run path is searched before the system's
// libraries and would hide a real library installed system-wide from a
// program started from the menu, which cannot set LD_LIBRARY_PATH.
// A name with a '/' is loaded as given.
void* loadSharedLibrary(const std::string& fileName);
void unloadSharedLibrary(void* handle);
void* sharedLibrarySymbol(void* handle, const char* name);

// The file a loaded library was mapped from, as the loader found it.
std::string sharedLibraryFile(void* handle);
// True for our simulators: they export the control entry point tyxSimControl,
// which no library of the maker has.
bool isSimulatedLibrary(void* handle);

// What loading fileName gives right now: the file found and whether it is a
// simulator, or the loader's complaint when nothing was found. The library
// is loaded for the question and released again.
struct LibraryProbe {
  bool found = false;
  std::string file;
  bool simulated = false;
  std::string error;
};
LibraryProbe probeSharedLibrary(const std::string& fileName);

// "camera library /path/libtyxcamera.so (simulated)", or "... not found".
std::string describeProbe(const char* role, const std::string& fileName, const LibraryProbe& probe);
