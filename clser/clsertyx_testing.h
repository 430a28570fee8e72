// clsertyx_testing.h - seams for tests of clsertyx; not for imaging software.
//
// They live in the library's objects but are not exported from the shipped
// library: tests link the objects. They replace the one-second wait of
// clSerialInit, point the library at a stand-in dialog program and start
// from a clean library state.
#pragma once

#include <cstdint>
#include <string>

#include "clsertyx.h"

// Called instead of sleeping; null restores the real sleep.
typedef void (*ClsertyxSleepFn)(uint32_t milliseconds);
void clsertyxTestingSetSleep(ClsertyxSleepFn sleepFn);

// Forgets the current board, the board index and every buffered byte (it
// closes nothing), and lets the no-display note be printed again.
void clsertyxTestingReset();

namespace clser::testing {
// Runs this program instead of the dialog program beside the library; an
// empty path restores the real one. Not available on Windows, where the
// dialog lives inside the library.
void setDialogProgram(std::string path);
// Loads the board library from this path only, instead of searching; must be
// called before the first call that needs the board library.
void setBoardLibraryPath(std::string path);
}  // namespace clser::testing
