/* tyxapi64_sim.h - control entry points of the simulated 64-bit board library.
 *
 * Not part of the maker's ABI. Tests call them directly (or resolve them with
 * dlsym from the loaded library) to place boards, remove ordinals, make the
 * serial read misbehave and read back every serial parameter that was set.
 * The environment variables described in clser/README.md configure the same
 * things when the library is loaded.
 */
#ifndef TYXAPI64_SIM_H
#define TYXAPI64_SIM_H

#include <stdint.h>

#include "abi/tyxapi64.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One call of set-serial-parameter, in the order received. */
typedef struct Tyx64ParamRecord {
  const void* ref; /* the reference the call named (may be stale or null) */
  int32_t board;   /* board index behind it, -1 when the reference was unknown */
  int32_t channel; /* channel selected on that reference at the time, -1 if unknown */
  int32_t index;   /* parameter index */
  int32_t value;   /* value passed */
  int32_t status;  /* status the call left */
} Tyx64ParamRecord;

/* Runs commands separated by ';'. Returns 1 when all were understood, else 0
 * (the bad command is reported on stderr).
 *
 *   reset                   configuration from the environment again, all
 *                           references closed, log and faults cleared
 *   boards LIST             replace the boards (LIST as TYXAPI64_SIM_BOARDS);
 *                           closes every reference
 *   immediate on|off        camera replies at once, time-outs do not wait
 *   delay MS                camera reply delay in milliseconds
 *   missing LIST            ordinals (comma separated, or "all"/"none") that
 *                           tyxapi64Ordinal returns null for
 *   read-result N           the next serial read returns N (without touching
 *                           more than the requested bytes)
 *   log-clear               forget the recorded parameter sets
 */
TYXAPI64_API int32_t tyxSim64Control(const char* commands);

/* Number of recorded set-serial-parameter calls, and one of them. Returns 1
 * when I is a valid position, else 0. */
TYXAPI64_API uint32_t tyxSim64ParamCount(void);
TYXAPI64_API int32_t tyxSim64ParamAt(uint32_t i, Tyx64ParamRecord* out);

/* Number of references currently open, and whether REF is one of them. */
TYXAPI64_API uint32_t tyxSim64OpenCount(void);
TYXAPI64_API int32_t tyxSim64IsOpen(const void* ref);

/* The current line setting of one channel of a board (index as for
 * set-serial-parameter). Returns 1 and stores it in *value, or 0 when the
 * board, channel or index does not exist. */
TYXAPI64_API int32_t tyxSim64LineSetting(uint32_t board, uint32_t channel, int32_t index, int32_t* value);

/* Copies the bytes the camera on a board's channel has received so far
 * (at most SIZE) and returns the full number. */
TYXAPI64_API uint32_t tyxSim64Received(uint32_t board, uint32_t channel, char* buffer, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif
