/* clsertyx.h - Camera Link serial interface of the tyx frame-grabber boards.
 *
 * Imaging software loads clsertyx.so (libclsertyx.so) and calls these
 * functions by name. A serial reference is the board reference returned by
 * clSerialInit and stays valid until clSerialClose.
 *
 * Besides the standard behaviour clSerialInit understands one extension:
 * with bit 31 of the serial index set, *serialRefPtr is not a reference slot
 * but the start of a settings string
 *   "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None"
 * (at most 255 characters, in a writable area of at least 8 bytes) whose
 * first eight bytes receive the reference once the settings are read.
 * Without the bit, the "Select a serial device" dialog asks for the settings
 * unless the caller's slot holds the 32-bit value -2 before the call.
 */
#ifndef CLSERTYX_H
#define CLSERTYX_H

#include <stdint.h>

#if defined(_WIN32)
#define CLSER_API __declspec(dllexport)
#else
#define CLSER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. */
#define CL_ERR_NO_ERR 0
#define CL_ERR_BUFFER_TOO_SMALL (-10001)
#define CL_ERR_MANU_DOES_NOT_EXIST (-10002)
#define CL_ERR_PORT_IN_USE (-10003)
#define CL_ERR_TIMEOUT (-10004)
#define CL_ERR_INVALID_INDEX (-10005)
#define CL_ERR_INVALID_REFERENCE (-10006)
#define CL_ERR_ERROR_NOT_FOUND (-10007)
#define CL_ERR_BAUD_RATE_NOT_SUPPORTED (-10008)
#define CL_ERR_OUT_OF_MEMORY (-10009)
#define CL_ERR_REGISTRY_KEY_NOT_FOUND (-10010)
#define CL_ERR_INVALID_PTR (-10011)
#define CL_ERR_PARAM_NOT_SUPPORTED (-10012)
#define CL_ERR_UNABLE_TO_LOAD_DLL (-10098)
#define CL_ERR_FUNCTION_NOT_FOUND (-10099)

/* Baud-rate bits, as passed to clSetBaudRate and reported by
 * clGetSupportedBaudRates. clSetBaudRate also takes a rate of 300 bits per
 * second or more as a plain number. */
#define CL_BAUDRATE_9600 0x01u
#define CL_BAUDRATE_19200 0x02u
#define CL_BAUDRATE_38400 0x04u
#define CL_BAUDRATE_57600 0x08u
#define CL_BAUDRATE_115200 0x10u
#define CL_BAUDRATE_230400 0x20u
#define CL_BAUDRATE_460800 0x40u
#define CL_BAUDRATE_921600 0x80u

/* Interface version reported by clGetManufacturerInfo. */
#define CLSERTYX_INTERFACE_VERSION 1u

CLSER_API int32_t clSerialInit(uint32_t serialIndex, void** serialRefPtr);
CLSER_API void clSerialClose(void* serialRef);
CLSER_API int32_t clSerialRead(void* serialRef, char* buffer, uint32_t* bufferSize,
                               uint32_t serialTimeout);
CLSER_API int32_t clSerialWrite(void* serialRef, char* buffer, uint32_t* bufferSize,
                                uint32_t serialTimeout);
CLSER_API int32_t clSetBaudRate(void* serialRef, uint32_t baudRate);
CLSER_API int32_t clGetManufacturerInfo(char* manufacturerName, uint32_t* bufferSize,
                                        uint32_t* version);

CLSER_API int32_t clGetNumSerialPorts(uint32_t* numSerialPorts);
CLSER_API int32_t clGetSerialPortIdentifier(uint32_t serialIndex, char* portId,
                                            uint32_t* bufferSize);
CLSER_API int32_t clGetErrorText(int32_t errorCode, char* errorText, uint32_t* errorTextSize);
CLSER_API int32_t clGetSupportedBaudRates(void* serialRef, uint32_t* baudRates);
CLSER_API int32_t clGetNumBytesAvail(void* serialRef, uint32_t* numBytes);
CLSER_API int32_t clFlushPort(void* serialRef);

#ifdef __cplusplus
}
#endif

#endif
