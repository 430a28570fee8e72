// library_loader.h - loading the maker's libraries by file name.
#pragma once

#include <string>

// Loads a shared library by file name: first the dynamic loader's own search
// (LD_LIBRARY_PATH first, so a real library placed there wins, then the run
// path), then explicitly beside the executable and in ../lib/vistrel. The
// explicit folders matter where the loader's run-path search does not apply
// to our call: sanitizer runtimes intercept dlopen, so the run path consulted
// is theirs, not the program's. A name with a '/' is loaded as given.
void* loadSharedLibrary(const std::string& fileName);
void unloadSharedLibrary(void* handle);
void* sharedLibrarySymbol(void* handle, const char* name);
