/* tyxapi32.h - the frame-grabber board library ABI that vistrel binds by name.
 *
 * Our simulated library and the maker's real one both honour these
 * prototypes. vistrel never links against them: it looks every entry point up
 * by name at run time, so any library with the same exported names and
 * signatures can stand in. All integers are fixed width, every function has C
 * linkage, and only the functions below have default visibility.
 */
#ifndef TYXAPI32_H
#define TYXAPI32_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define TYXAPI32_API __declspec(dllexport)
#define TYXAPI32_CALL __stdcall
#else
#define TYXAPI32_API __attribute__((visibility("default")))
#define TYXAPI32_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One entry of the board list that tyxGetImageDevice hands out: a 32-bit
 * board id at byte 0 and a NUL-terminated board name at byte 12. */
typedef struct TyxBoardRecord {
  int32_t id;
  uint8_t reserved[8];
  char name[116];
} TyxBoardRecord;

/* Rectangles are left, top, right, bottom; right and bottom are exclusive,
 * so the width is right - left. A rectangle whose right edge is -1 asks
 * tyxSetTargetRect to fill in the current one instead of setting it. */
typedef struct TyxRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
} TyxRect;

/* Destination of tyxConvertRect. The program fills type (always 0), width,
 * height and bits per pixel as 16-bit fields at bytes 0, 2, 4 and 6 and the
 * 64-bit address of its pixel area at byte 24; all other bytes are 0.
 *
 * A negative height asks for rows stored bottom-up, the order of a
 * device-independent bitmap with a positive height; a positive height asks
 * for top-down rows. Each row is padded to a whole number of 32-bit words.
 *
 * The library takes the size of the pixel area from width, height and bits
 * per pixel alone; the caller makes sure the frame fits. Bytes 8 to 23 are
 * not the caller's to use: the simulated library refuses a descriptor in
 * which any of them is not 0, as a library that gives them a meaning of its
 * own would misread it. */
typedef struct TyxConvertDesc {
  int16_t type;
  int16_t width;
  int16_t height;
  int16_t bitsPerPixel;
  uint8_t reserved[16]; /* bytes 8-23, always 0 */
  uint64_t address;
} TyxConvertDesc;

/* Sequence callbacks; each returns 1. They are called on the library's own
 * capture thread, never on the thread that started the capture. */
typedef int32_t(TYXAPI32_CALL* TyxSeqBeginCallback)(void* board);
typedef int32_t(TYXAPI32_CALL* TyxSeqFrameCallback)(void* board, uint16_t frameIndex);
typedef int32_t(TYXAPI32_CALL* TyxSeqEndCallback)(void* board);

/* Frame formats of capture parameter 3: the format code sits in the low 16
 * bits and the bits per pixel in the high 16 bits. */
enum {
  TYX_FORMAT_GREY8 = 1,  /* 8-bit grey */
  TYX_FORMAT_RGB24 = 2,  /* blue, green, red bytes */
  TYX_FORMAT_RGB565 = 3, /* 16-bit 5-6-5, always 16 bits whatever the high half says */
  TYX_FORMAT_RGB32 = 4,  /* blue, green, red, unused */
  TYX_FORMAT_RGB32A = 18 /* blue, green, red, alpha (alpha is not filled) */
};

/* Fills *list with the library's own array of board records (valid until the
 * next call) and returns the number of boards. list may be null. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxGetImageDevice(TyxBoardRecord** list, int32_t reserved);
/* Opens the board at *index; null on failure (see tyxGetLastError). */
TYXAPI32_API void* TYXAPI32_CALL tyxOpenBoard(int32_t* index);
/* Non-zero on success. Stops a running capture first. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxCloseBoard(void* board);
/* 1: no board of the family; 2: the board driver failed to open; other: the
 * open (or the last failing call) failed. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxGetLastError(void);
TYXAPI32_API void* TYXAPI32_CALL tyxGetBufferAddr(void* board, int32_t reserved);
/* Value -1 reads the current setting without changing it. A write returns a
 * non-negative value on success and a negative one on failure. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxSetVideoParam(void* board, uint16_t id, int32_t value);
TYXAPI32_API int32_t TYXAPI32_CALL tyxSetCaptureParam(void* board, uint16_t id, int32_t value);
TYXAPI32_API int32_t TYXAPI32_CALL tyxSetConvertParam(void* board, uint16_t id, int32_t value);
/* -1 means not supported or unknown. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxGetSignalParam(void* board, int32_t id);
TYXAPI32_API int32_t TYXAPI32_CALL tyxPutSignalParam(void* board, int32_t id, int32_t value);
TYXAPI32_API int32_t TYXAPI32_CALL tyxWaitSignalEvent(void* board, int32_t event, int32_t timeoutMs);
/* Target 1 is the capture buffer, 0 the display window, -1 the signal's own
 * window. Returns 1 on success, 0 for a bad target or rectangle. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxSetTargetRect(void* board, int32_t target, TyxRect* rect);
/* Installs the three callbacks, or removes them when all are null. Removing
 * them from any thread but the capture thread waits until a callback that is
 * running has returned, so afterwards none of them runs. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxSetSeqCallback(void* board, TyxSeqBeginCallback begin,
                                                     TyxSeqFrameCallback frame, TyxSeqEndCallback end);
/* Starts sequence capture into the capture buffer (buffer 1); it runs until
 * stopped. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxCaptureByBuffer(void* board, int32_t buffer, int32_t reserved1,
                                                      int32_t reserved2);
/* Stops the capture. Called from outside the capture thread it returns once
 * the capture thread has finished; called from a callback it only asks the
 * thread to finish. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxStopCapture(void* board);
/* Converts captured frame frameIndex into the descriptor's pixel area in the
 * format of capture parameter 3. Returns 1 on success, 0 on failure. */
TYXAPI32_API int32_t TYXAPI32_CALL tyxConvertRect(void* board, TyxConvertDesc* dest, int32_t reserved1,
                                                  int32_t reserved2, int32_t frameIndex, int32_t reserved3);

#ifdef __cplusplus
}
static_assert(sizeof(TyxBoardRecord) == 128, "board record is 128 bytes");
static_assert(offsetof(TyxBoardRecord, name) == 12, "board name at byte 12");
static_assert(sizeof(TyxConvertDesc) == 32, "descriptor is 32 bytes");
static_assert(offsetof(TyxConvertDesc, address) == 24, "pixel address at byte 24");
#endif

#endif
