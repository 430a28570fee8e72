/* clsertyx_testing.h - seams for tests of clsertyx; not for imaging software.
 *
 * They let a test replace the one-second wait of clSerialInit, run the serial
 * device dialog without a modal loop, and start from a clean library state.
 */
#ifndef CLSERTYX_TESTING_H
#define CLSERTYX_TESTING_H

#include "clsertyx.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Called instead of sleeping; null restores the real sleep. */
typedef void (*ClsertyxSleepFn)(uint32_t milliseconds);
CLSER_API void clsertyxTestingSetSleep(ClsertyxSleepFn sleepFn);

/* Forgets the current board, the board index and every buffered byte (it
 * closes nothing), and lets the no-display note be printed again. */
CLSER_API void clsertyxTestingReset(void);

#ifdef __cplusplus
}

#include <functional>

class QDialog;

namespace clser::testing {
/* When set, clSerialInit hands the "Select a serial device" dialog to this
 * function instead of running it modally; the function may edit the boxes
 * and end the dialog. An empty function restores the modal dialog. */
CLSER_API void setDialogRunner(std::function<int(QDialog&)> runner);
}  // namespace clser::testing
#endif

#endif
