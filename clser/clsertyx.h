/* clsertyx.h - Camera Link serial interface of the tyx frame-grabber boards.
 *
 * Imaging software loads clsertyx.so (libclsertyx.so.1) or clsertyx.dll and
 * calls these functions by name. A serial reference is the board reference
 * returned by clSerialInit and stays valid until clSerialClose.
 *
 * Besides the standard behaviour clSerialInit understands one extension:
 * with bit 31 of the serial index set, *serialRefPtr is not a reference slot
 * but the start of a settings string
 *   "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None"
 * (at most 255 characters, in a writable area of at least 8 bytes) whose
 * first eight bytes receive the reference once the settings are read.
 * Without the bit, the "Select a serial device" dialog asks for the settings
 * unless the caller's slot holds the 32-bit value -2 before the call, or the
 * environment variable CLSERTYX_NO_DIALOG is set to a non-empty value other
 * than 0.
 *
 * The status and baud-rate names carry the published values. Each is defined
 * only when no other Camera Link header has defined it, so a host may include
 * this header beside another maker's.
 */
#ifndef CLSERTYX_H
#define CLSERTYX_H

#include <stdint.h>

#if defined(_WIN32)
#ifdef CLSERTYX_BUILDING
#define CLSER_API __declspec(dllexport)
#else
#define CLSER_API __declspec(dllimport)
#endif
#define CLSER_CALL __cdecl
#else
#define CLSER_API __attribute__((visibility("default")))
#define CLSER_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. Spelt exactly as the published headers spell them (a bare
 * negative number), so that another maker's header included after this one
 * redefines them identically, which C and C++ allow without a warning. */
/* NOLINTBEGIN(bugprone-macro-parentheses) */
#ifndef CL_ERR_NO_ERR
#define CL_ERR_NO_ERR 0
#endif
#ifndef CL_ERR_BUFFER_TOO_SMALL
#define CL_ERR_BUFFER_TOO_SMALL -10001
#endif
#ifndef CL_ERR_MANU_DOES_NOT_EXIST
#define CL_ERR_MANU_DOES_NOT_EXIST -10002
#endif
#ifndef CL_ERR_PORT_IN_USE
#define CL_ERR_PORT_IN_USE -10003
#endif
#ifndef CL_ERR_TIMEOUT
#define CL_ERR_TIMEOUT -10004
#endif
#ifndef CL_ERR_INVALID_INDEX
#define CL_ERR_INVALID_INDEX -10005
#endif
#ifndef CL_ERR_INVALID_REFERENCE
#define CL_ERR_INVALID_REFERENCE -10006
#endif
#ifndef CL_ERR_ERROR_NOT_FOUND
#define CL_ERR_ERROR_NOT_FOUND -10007
#endif
#ifndef CL_ERR_BAUD_RATE_NOT_SUPPORTED
#define CL_ERR_BAUD_RATE_NOT_SUPPORTED -10008
#endif
#ifndef CL_ERR_OUT_OF_MEMORY
#define CL_ERR_OUT_OF_MEMORY -10009
#endif
#ifndef CL_ERR_REGISTRY_KEY_NOT_FOUND
#define CL_ERR_REGISTRY_KEY_NOT_FOUND -10010
#endif
#ifndef CL_ERR_INVALID_PTR
#define CL_ERR_INVALID_PTR -10011
#endif
#ifndef CL_ERR_IN_USE
#define CL_ERR_IN_USE -10012
#endif
#ifndef CL_ERR_UNABLE_TO_LOAD_DLL
#define CL_ERR_UNABLE_TO_LOAD_DLL -10098
#endif
#ifndef CL_ERR_FUNCTION_NOT_FOUND
#define CL_ERR_FUNCTION_NOT_FOUND -10099
#endif
/* NOLINTEND(bugprone-macro-parentheses) */

/* Our own status, outside the published range: clSetParity was given a
 * value other than 0, 1 or 2, or the board refused a serial setting. */
#define CLSERTYX_ERR_VALUE_NOT_SUPPORTED (-10201)

/* Baud-rate bits, as passed to clSetBaudRate and reported by
 * clGetSupportedBaudRates. clSetBaudRate also takes a rate of 300 bits per
 * second or more as a plain number. */
#ifndef CL_BAUDRATE_9600
#define CL_BAUDRATE_9600 0x01
#endif
#ifndef CL_BAUDRATE_19200
#define CL_BAUDRATE_19200 0x02
#endif
#ifndef CL_BAUDRATE_38400
#define CL_BAUDRATE_38400 0x04
#endif
#ifndef CL_BAUDRATE_57600
#define CL_BAUDRATE_57600 0x08
#endif
#ifndef CL_BAUDRATE_115200
#define CL_BAUDRATE_115200 0x10
#endif
#ifndef CL_BAUDRATE_230400
#define CL_BAUDRATE_230400 0x20
#endif
#ifndef CL_BAUDRATE_460800
#define CL_BAUDRATE_460800 0x40
#endif
#ifndef CL_BAUDRATE_921600
#define CL_BAUDRATE_921600 0x80
#endif
#ifndef CL_BAUDRATE_AUTOMAX
#define CL_BAUDRATE_AUTOMAX 0x40000000
#endif

/* Interface version reported by clGetManufacturerInfo. */
#define CLSERTYX_INTERFACE_VERSION 1u

CLSER_API int32_t CLSER_CALL clSerialInit(uint32_t serialIndex, void** serialRefPtr);
CLSER_API void CLSER_CALL clSerialClose(void* serialRef);
CLSER_API int32_t CLSER_CALL clSerialRead(void* serialRef, char* buffer, uint32_t* bufferSize,
                                          uint32_t serialTimeout);
CLSER_API int32_t CLSER_CALL clSerialWrite(void* serialRef, char* buffer, uint32_t* bufferSize,
                                           uint32_t serialTimeout);
CLSER_API int32_t CLSER_CALL clSetBaudRate(void* serialRef, uint32_t baudRate);
CLSER_API int32_t CLSER_CALL clGetManufacturerInfo(char* manufacturerName, uint32_t* bufferSize,
                                                   uint32_t* version);

CLSER_API int32_t CLSER_CALL clGetNumSerialPorts(uint32_t* numSerialPorts);
CLSER_API int32_t CLSER_CALL clGetSerialPortIdentifier(uint32_t serialIndex, char* portId,
                                                       uint32_t* bufferSize);
CLSER_API int32_t CLSER_CALL clGetErrorText(int32_t errorCode, char* errorText, uint32_t* errorTextSize);
CLSER_API int32_t CLSER_CALL clGetSupportedBaudRates(void* serialRef, uint32_t* baudRates);
CLSER_API int32_t CLSER_CALL clGetNumBytesAvail(void* serialRef, uint32_t* numBytes);
CLSER_API int32_t CLSER_CALL clFlushPort(void* serialRef);

/* Extension: sets the parity of the line behind serialRef. 0 none, 1 odd,
 * 2 even (the codes of the settings string). Any other value sets nothing
 * and returns CLSERTYX_ERR_VALUE_NOT_SUPPORTED; otherwise the board's status. */
CLSER_API int32_t CLSER_CALL clSetParity(void* serialRef, uint32_t parityOn);

#ifdef __cplusplus
}
#endif

#endif
