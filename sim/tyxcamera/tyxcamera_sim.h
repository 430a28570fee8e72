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

#include "abi/tyxcamera.h"

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
 *
 * Further commands of this library:
 *
 *   fail OP=CODE                OP memorize, recall, save, load or open:
 *                               that operation fails with CODE
 *   delay MS                    every open, write, memory, file and scan call
 *                               waits MS milliseconds (0 by default; never
 *                               while "fast" is given)
 *   gamma-choice MODE VALUE     what the simulated user picks in the gamma
 *                               dialog: mode 1..4 and gamma value (default
 *                               2 and 45)
 *   log -                       stop appending to the log file
 *   keep DIR                    the cameras keep their settings and memory in
 *                               DIR between runs: written when a handle is
 *                               closed (or the library unloaded with one
 *                               open), read back when the camera is placed;
 *                               a file of another type or version, or a
 *                               damaged one, is ignored ("keep -" stops;
 *                               "reset" forgets the folder)
 *
 * Notes: "reset" also closes every handle still open (their capture stops)
 * so the default ports are free; "unfail" also brings vanished cameras back.
 * A camera whose type code the library does not know can be placed, but
 * opening it fails with 124.
 */
TYXCAM_API int32_t tyxSimControl(const char* commands);

/* The call log has exactly one line per ABI call (tyxCamGetLastError and
 * the frame-block functions Lock, Unlock, Size and Free are not logged):
 *
 *   <name> <key=value ...> -> <result>
 *
 * <name> is the function name without its "tyxCam" prefix (OpenCamera,
 * SetConfigParam, GammaDlgCallback, ...). Calls with a handle start with
 * port=<port of the handle's camera> (port=- for a null handle, port=? for
 * one the library does not know); then come the arguments, for example
 *
 *   SetConfigParam port=COM1 id=1 value=330 mode=0 -> 1
 *   SetConfigParam port=COM1 id=-2 value=block mode=2 -> 1
 *   GetConfigParam port=COM1 id=-1 mode=0 -> 1
 *   OpenCamera port=CamLink1 type=-2 channel=0 baudrate=9600 ... -> 1
 *   FunctionTag port=COM1 tag=31 -> 1
 *   SetTargetRect port=USB1 rect=0,0,640,480 -> 1
 *   GammaDlgCallback port=COM1 count=1024 bits=10 flag=1 check=1011 value=45 mode=2 -> 1
 *
 * OpenCamera logs the port text before the comma, the requested type and
 * each serial setting as its own key; its result is 1 for a handle, 0 for
 * none. Floating-point results are printed with %g. The gamma dialog line
 * carries the radio id its check callback returned and the value and mode
 * given to its apply callback; calls the program makes from inside those
 * callbacks come before it in the log. Values are printed as passed, with
 * control characters replaced by '?', so a line never breaks. */

/* Copies the in-memory call log (one line per call, '\n' separated) into
 * buffer, NUL-terminated and cut to size. Returns the full length. */
TYXCAM_API int32_t tyxSimReadLog(char* buffer, int32_t size);

/* What an open camera sends down its video cable. The simulated frame
 * grabber reads it for every frame it converts, so the settings made on the
 * pages show in its live picture as they would from a real camera: level
 * maps each scene level to the level sent, with the camera's own gain
 * (330 is unity), black level ((black - 32) / 2 levels) and negative, as its
 * USB frames have them; the inverses mirror the picture, output mode 2
 * replaces the scene by the camera's own test bars, and a colour camera's
 * R/G/B gains (128 is unity) weigh its channels. */
typedef struct TyxSimVideoSignal {
  uint8_t level[256];
  int32_t hInverse, vInverse;
  int32_t rGain, gGain, bGain;
  int32_t outputMode;
  int32_t colour; /* 1 for a colour camera */
} TyxSimVideoSignal;

/* Fills *signal with the settings of the most recently opened camera that
 * is still open, reachable and not a USB image camera (those deliver their
 * frames through this library instead). Returns 1, or 0 when there is no
 * such camera (signal untouched). */
TYXCAM_API int32_t tyxSimVideoSignal(TyxSimVideoSignal* signal);

#ifdef __cplusplus
}
#endif

#endif
