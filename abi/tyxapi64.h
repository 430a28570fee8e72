/* tyxapi64.h - the 64-bit board library ABI that clsertyx binds by ordinal.
 *
 * The maker's library is imported by ordinal number, not by name. On Linux
 * our stand-in exports a single function, tyxapi64Ordinal(), that hands out
 * the entry for an ordinal the way GetProcAddress(module, MAKEINTRESOURCE(n))
 * does on Windows; it returns null for an ordinal the library does not have.
 * The typedefs below are the signatures behind each ordinal that clsertyx
 * uses. All integers are fixed width; C linkage, default visibility.
 */
#ifndef TYXAPI64_H
#define TYXAPI64_H

#include <stdint.h>

#if defined(_WIN32)
#define TYXAPI64_API __declspec(dllexport)
#else
#define TYXAPI64_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal numbers. */
enum {
  TYX64_ORD_OPEN_BOARD = 1,
  TYX64_ORD_CLOSE_BOARD = 3,
  TYX64_ORD_LAST_STATUS = 4,
  TYX64_ORD_BOARD_TYPE = 9,
  TYX64_ORD_BOARD_TABLE = 66,
  TYX64_ORD_SET_SERIAL_PARAM = 122,
  TYX64_ORD_SERIAL_READ = 123,
  TYX64_ORD_SERIAL_WRITE = 124
};

/* 1: opens the board whose index *boardIndex holds; null on failure. */
typedef void* (*Tyx64OpenBoardFn)(uint64_t* boardIndex);
/* 3: releases a board reference. Returns a status. */
typedef int32_t (*Tyx64CloseBoardFn)(void* board);
/* 4: status of the last operation (see TYX64_STATUS_*). */
typedef int32_t (*Tyx64LastStatusFn)(void);
/* 9: the board's type code in the low 16 bits (the high bits are not part of
 * the code). The second argument is always 0. */
typedef int32_t (*Tyx64BoardTypeFn)(void* board, int32_t zero);
/* 66: stores the address of the board table in *table and returns the number
 * of entries; each entry is TYX64_BOARD_ENTRY_SIZE bytes. The table stays
 * valid until the board configuration changes. */
typedef int32_t (*Tyx64BoardTableFn)(void** table, int32_t zero);
/* 122: sets serial parameter INDEX (0 channel, 1 baud rate, 2 data bits,
 * 3 stop bits, 4 parity) of the board to VALUE. The value -1 leaves the
 * parameter as it is and re-programs the line with the current settings.
 * Returns a status. */
typedef int32_t (*Tyx64SetSerialParamFn)(void* board, int32_t index, int32_t value);
/* 123: reads up to COUNT bytes, waiting at most TIMEOUTMS for all of them.
 * Returns the number of bytes read (0 when nothing arrived in time), or a
 * negative value when the reference or the buffer is unusable. */
typedef int32_t (*Tyx64SerialReadFn)(void* ref, char* buffer, uint32_t count, uint32_t timeoutMs);
/* 124: writes COUNT bytes. Returns the number of bytes written, or a negative
 * value on failure; the status of the last operation tells why. */
typedef int32_t (*Tyx64SerialWriteFn)(void* ref, const char* buffer, uint32_t count, uint32_t timeoutMs);

/* Board table entry layout (TYX64_BOARD_ENTRY_SIZE bytes, little endian). */
enum {
  TYX64_BOARD_ENTRY_SIZE = 128,
  TYX64_BOARD_ENTRY_INDEX = 0,    /* uint32_t board index */
  TYX64_BOARD_ENTRY_TYPE = 4,     /* int32_t type code */
  TYX64_BOARD_ENTRY_CHANNELS = 8, /* int32_t number of serial channels */
  TYX64_BOARD_ENTRY_NAME = 12,    /* NUL-terminated name, to the end of the entry */
  TYX64_BOARD_NAME_MAX = TYX64_BOARD_ENTRY_SIZE - TYX64_BOARD_ENTRY_NAME - 1
};

/* Statuses of the last operation. They use the numbers of the Camera Link
 * serial status codes because clsertyx hands them to its callers unchanged;
 * a refused value has no published code and uses clsertyx's own
 * CLSERTYX_ERR_VALUE_NOT_SUPPORTED, so no published number changes meaning. */
enum {
  TYX64_STATUS_OK = 0,
  TYX64_STATUS_TIMEOUT = -10004,
  TYX64_STATUS_INVALID_INDEX = -10005,
  TYX64_STATUS_INVALID_REFERENCE = -10006,
  TYX64_STATUS_BAUD_RATE_NOT_SUPPORTED = -10008,
  TYX64_STATUS_INVALID_POINTER = -10011,
  TYX64_STATUS_INVALID_VALUE = -10201
};

#if defined(_WIN32)
/* On Windows the eight entries are exported by ordinal only (tyxapi64.def):
 * these names exist for the import library a caller links, never in the
 * DLL's export table. */
void* tyx64OpenBoard(uint64_t* boardIndex);
int32_t tyx64CloseBoard(void* board);
int32_t tyx64LastStatus(void);
int32_t tyx64BoardType(void* board, int32_t zero);
int32_t tyx64BoardTable(void** table, int32_t zero);
int32_t tyx64SetSerialParam(void* board, int32_t index, int32_t value);
int32_t tyx64SerialRead(void* ref, char* buffer, uint32_t count, uint32_t timeoutMs);
int32_t tyx64SerialWrite(void* ref, const char* buffer, uint32_t count, uint32_t timeoutMs);
#else
TYXAPI64_API void* tyxapi64Ordinal(uint32_t ordinal);
#endif

#ifdef __cplusplus
}
#endif

#endif
