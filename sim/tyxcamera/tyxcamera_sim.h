/* tyxcamera_sim.h - control entry points of the simulated camera library.
 *
 * These are not part of the maker's ABI. Tests resolve them with dlsym from
 * the same loaded library the program uses, to place cameras, inject faults
 * and read the log of calls the library received. The same commands can be
 * given at load time in the TYXCAM_SIM environment variable, separated by
 * ';' (see the README).
 */
#ifndef TYXCAMERA_SIM_H
#define TYXCAMERA_SIM_H

#include <stdint.h>

#include "tyxcamera.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one or more commands separated by ';'. Returns 1 when every command
 * was understood, 0 otherwise (the bad command is reported on stderr).
 *
 *   reset                       default camera set, no faults, empty log
 *   clear                       no cameras at all
 *   camera PORT=TYPE[/VERSION]  place (or replace) a camera on a port,
 *                               e.g. "camera COM3=212630/4"
 *   remove PORT                 unplug the camera on PORT
 *   second-pass PORT            the camera on PORT answers only from its
 *                               second open attempt on
 *   fail ID=CODE                every set/get of parameter ID fails with
 *                               last error CODE ("fail *=106" for all ids,
 *                               "fail read=103" for whole-record reads)
 *   unfail                      remove every injected fault
 *   vanish CODE                 the open camera disappears: every call on a
 *                               handle fails with CODE (103 or 120)
 *   driver MAJOR.MINOR          driver version reported by GetDriverVer
 *   tag PORT:TAG=VALUE          override one function tag of a camera
 *   model PORT=TEXT             model text ("-" for none)
 *   log FILE                    also append every call to FILE
 *   log-clear                   empty the in-memory log
 *   fast                        no simulated delays (tests)
 */
TYXCAM_API int32_t tyxSimControl(const char* commands);

/* Copies the in-memory call log (one line per call, '\n' separated) into
 * buffer, NUL-terminated and cut to size. Returns the full length. */
TYXCAM_API int32_t tyxSimReadLog(char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
