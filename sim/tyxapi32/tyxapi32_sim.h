/* tyxapi32_sim.h - control entry points of the simulated board library.
 *
 * These are not part of the maker's ABI. Tests resolve them with dlsym from
 * the same loaded library the program uses, to change the simulated boards
 * and signals, step a capture frame by frame and read the log of calls the
 * library received. The same commands can be given at load time in the
 * TYXAPI32_SIM environment variable (see README.md).
 */
#ifndef TYXAPI32_SIM_H
#define TYXAPI32_SIM_H

#include <stdint.h>

#include "abi/tyxapi32.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one or more KEY=VALUE commands separated by ';'. A command may start
 * with a board index and a colon ("1:lines=525") to change one board only.
 * Returns 1 when every command was understood and applied, 0 otherwise (the
 * bad command is reported on stderr). The keys are listed in README.md. */
TYXAPI32_API int32_t tyxSimControl(const char* commands);

/* Copies the in-memory call log (one line per call, '\n' separated) into
 * buffer, NUL-terminated and cut to size. Returns the full length. */
TYXAPI32_API int32_t tyxSimReadLog(char* buffer, int32_t size);

/* Lets a capture in pace=manual deliver frames more frames on its own
 * thread. Returns the number of frames still owed, or -1 for a bad board. */
TYXAPI32_API int32_t tyxSimStep(void* board, int32_t frames);

/* Frames delivered to the frame callback since the last capture start, or
 * -1 for a bad board. */
TYXAPI32_API int32_t tyxSimFrameCount(void* board);

#ifdef __cplusplus
}
#endif

#endif
