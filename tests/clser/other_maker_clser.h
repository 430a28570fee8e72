/* other_maker_clser.h - a Camera Link serial header as another maker ships
 * it: unguarded macros with the published names and values, its own type
 * names and declarations of the same calls. A host may include it beside
 * clsertyx.h; the coexistence tests compile both orders with -Werror. */
#ifndef OTHER_MAKER_CLSER_H
#define OTHER_MAKER_CLSER_H

typedef int CLINT32;
typedef unsigned int CLUINT32;
typedef char CLINT8;
typedef void* hSerRef;

#define CL_ERR_NO_ERR 0
#define CL_ERR_BUFFER_TOO_SMALL -10001
#define CL_ERR_MANU_DOES_NOT_EXIST -10002
#define CL_ERR_PORT_IN_USE -10003
#define CL_ERR_TIMEOUT -10004
#define CL_ERR_INVALID_INDEX -10005
#define CL_ERR_INVALID_REFERENCE -10006
#define CL_ERR_ERROR_NOT_FOUND -10007
#define CL_ERR_BAUD_RATE_NOT_SUPPORTED -10008
#define CL_ERR_OUT_OF_MEMORY -10009
#define CL_ERR_REGISTRY_KEY_NOT_FOUND -10010
#define CL_ERR_INVALID_PTR -10011
#define CL_ERR_IN_USE -10012
#define CL_ERR_UNABLE_TO_LOAD_DLL -10098
#define CL_ERR_FUNCTION_NOT_FOUND -10099

#define CL_BAUDRATE_9600 0x01
#define CL_BAUDRATE_19200 0x02
#define CL_BAUDRATE_38400 0x04
#define CL_BAUDRATE_57600 0x08
#define CL_BAUDRATE_115200 0x10
#define CL_BAUDRATE_230400 0x20
#define CL_BAUDRATE_460800 0x40
#define CL_BAUDRATE_921600 0x80

#ifdef __cplusplus
extern "C" {
#endif
CLINT32 clSerialInit(CLUINT32 serialIndex, hSerRef* serialRefPtr);
CLINT32 clSerialRead(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize, CLUINT32 serialTimeout);
CLINT32 clGetErrorText(CLINT32 errorCode, CLINT8* errorText, CLUINT32* errorTextSize);
#ifdef __cplusplus
}
#endif

#endif
