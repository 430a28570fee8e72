// clsertyx.cpp - the Camera Link serial functions over the board library.

#include "clsertyx.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "board_api.h"
#include "clsertyx_testing.h"
#include "device_dialog.h"
#include "serial_settings.h"

namespace {

using clser::boardApi;

constexpr char kManufacturer[] = "tyx - QVM";  // with its NUL, ten bytes
constexpr uint32_t kManufacturerSize = sizeof kManufacturer;
static_assert(kManufacturerSize == 10);

constexpr uint32_t kSettingsModeBit = 0x80000000u;
constexpr int32_t kNoDialog = -2;
constexpr uint32_t kInitWaitMs = 1000;
constexpr int32_t kKeep = -1;  // board library: re-program the line, keep the value

// clGetNumBytesAvail and clFlushPort read in chunks of this size, and stop
// buffering at kMaxPending so a chatty camera cannot exhaust memory.
constexpr uint32_t kPeekChunk = 4096;
constexpr size_t kMaxPending = 1u << 20;

// The boards' serial lines run from 300 to 921600 bits per second; every
// rate bit that clSetBaudRate translates lies in that range, so each is
// reported. The board library has no call that lists the rates.
constexpr uint32_t kBoardMinBaud = 300;
constexpr uint32_t kBoardMaxBaud = 921600;

struct Library {
  // Guards the members below. It is never held across a board library call
  // or the dialog, so a read blocked in the board library does not stop a
  // write from another thread.
  std::mutex mutex;
  void* currentBoard = nullptr;
  // Bytes that clGetNumBytesAvail took from the board and clSerialRead has
  // not handed out yet, per reference.
  std::unordered_map<void*, std::deque<char>> pending;
  ClsertyxSleepFn sleep = nullptr;
};

Library& lib() {
  static Library l;
  return l;
}

void* currentBoard() {
  std::lock_guard lock(lib().mutex);
  return lib().currentBoard;
}

void waitMs(uint32_t ms) {
  ClsertyxSleepFn fn;
  {
    std::lock_guard lock(lib().mutex);
    fn = lib().sleep;
  }
  if (fn)
    fn(ms);
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The board library's status after a failed read, or a time-out when it
// gives none, so a failure is never reported as success.
int32_t readFailureStatus() {
  const auto& api = boardApi();
  int32_t status = api.lastStatus ? api.lastStatus() : CL_ERR_NO_ERR;
  return status != CL_ERR_NO_ERR ? status : CL_ERR_TIMEOUT;
}

bool acceptedBoardType(int16_t code) {
  return (code >= 6101 && code <= 6199) || (code >= 6300 && code <= 6399);
}

// Bits per second for a clSetBaudRate argument, or 0 when it names none.
uint32_t bitsPerSecond(uint32_t baud) {
  switch (baud) {
    case CL_BAUDRATE_9600: return 9600;
    case CL_BAUDRATE_19200: return 19200;
    case CL_BAUDRATE_38400: return 38400;
    case CL_BAUDRATE_57600: return 57600;
    case CL_BAUDRATE_115200: return 115200;
    case CL_BAUDRATE_230400: return 230400;
    case CL_BAUDRATE_460800: return 460800;
    case CL_BAUDRATE_921600: return 921600;
    default: break;
  }
  // Larger numbers would turn negative in the board library's signed value.
  return baud >= 300 && baud <= INT32_MAX ? baud : 0;
}

// Every rate bit that clSetBaudRate takes and the boards' lines can run at.
uint32_t supportedRateMask() {
  uint32_t mask = 0;
  for (uint32_t bit = 1; bit <= CL_BAUDRATE_921600; bit <<= 1) {
    const uint32_t bps = bitsPerSecond(bit);
    if (bps >= kBoardMinBaud && bps <= kBoardMaxBaud) mask |= bit;
  }
  return mask;
}

// The board's name from the board table, or "" when there is none.
std::string boardName(uint32_t index) {
  const auto& api = boardApi();
  if (!api.boardTable) return {};
  void* table = nullptr;
  int32_t count = api.boardTable(&table, 0);
  if (!table || count <= 0 || index >= static_cast<uint32_t>(count)) return {};
  const char* name = static_cast<const char*>(table) + static_cast<size_t>(index) * TYX64_BOARD_ENTRY_SIZE +
                     TYX64_BOARD_ENTRY_NAME;
  return std::string(name, strnlen(name, TYX64_BOARD_ENTRY_SIZE - TYX64_BOARD_ENTRY_NAME));
}

void applyDialogSelection(const clser::DialogSelection& sel) {
  const auto& api = boardApi();
  void* board = currentBoard();
  if (!api.setSerialParam || !board) return;
  const int32_t channel = clser::leadingNumber(sel.channel);
  api.setSerialParam(board, 0, channel);
  api.setSerialParam(board, 0, kKeep);
  const int32_t baud = clser::leadingNumber(sel.baudRate);
  api.setSerialParam(board, 1, baud);
  api.setSerialParam(board, 1, baud);
  api.setSerialParam(board, 1, kKeep);
  const int32_t dataBits = clser::leadingNumber(sel.dataBits);
  api.setSerialParam(board, 2, dataBits);
  api.setSerialParam(board, 2, dataBits);
  api.setSerialParam(board, 2, kKeep);
  // The dialog passes the number in the stop-bits box as it stands ("1" is 1),
  // unlike the settings string, whose codes are 0, 1 and 2.
  api.setSerialParam(board, 3, clser::leadingNumber(sel.stopBits));
  api.setSerialParam(board, 4, clser::parityCodeOfText(sel.parity));
}

// Takes up to `wanted` buffered bytes of `ref` into `out`; returns how many.
uint32_t takePending(void* ref, char* out, uint32_t wanted) {
  std::lock_guard lock(lib().mutex);
  auto it = lib().pending.find(ref);
  if (it == lib().pending.end()) return 0;
  auto& q = it->second;
  uint32_t n = static_cast<uint32_t>(std::min<size_t>(wanted, q.size()));
  std::copy_n(q.begin(), n, out);
  q.erase(q.begin(), q.begin() + n);
  if (q.empty()) lib().pending.erase(it);
  return n;
}

// Puts bytes back in front of the buffer after a failed read, so none is lost.
void returnPending(void* ref, const char* bytes, uint32_t n) {
  if (n == 0) return;
  std::lock_guard lock(lib().mutex);
  auto& q = lib().pending[ref];
  q.insert(q.begin(), bytes, bytes + n);
}

}  // namespace

extern "C" {

CLSER_API int32_t CLSER_CALL clSerialInit(uint32_t serialIndex, void** serialRefPtr) {
  const auto& api = boardApi();
  const bool settingsMode = (serialIndex & kSettingsModeBit) != 0;
  const uint32_t index = serialIndex & ~kSettingsModeBit;
  {
    std::lock_guard lock(lib().mutex);
    lib().currentBoard = nullptr;
  }
  if (!serialRefPtr) return CL_ERR_INVALID_PTR;
  int32_t dialogSwitch = 0;
  std::memcpy(&dialogSwitch, serialRefPtr, sizeof dialogSwitch);
  const bool showDialog =
      !settingsMode && dialogSwitch != kNoDialog && !clser::dialogSuppressedByEnvironment();
  const bool needsSettings = settingsMode || showDialog;
  // Without the board library there are no boards, so no index is valid.
  if (!api.present) return CL_ERR_INVALID_INDEX;
  if (!api.openBoard || !api.closeBoard || !api.boardType || (needsSettings && !api.setSerialParam))
    return CL_ERR_FUNCTION_NOT_FOUND;

  uint64_t boardIndex = index;
  void* board = api.openBoard(&boardIndex);
  if (!board) return CL_ERR_INVALID_INDEX;
  const auto code = static_cast<int16_t>(static_cast<uint32_t>(api.boardType(board, 0)) & 0xFFFFu);
  if (!acceptedBoardType(code)) {
    api.closeBoard(board);
    return CL_ERR_INVALID_INDEX;
  }
  {
    std::lock_guard lock(lib().mutex);
    lib().currentBoard = board;
    // A fresh reference starts with nothing buffered.
    lib().pending.erase(board);
  }

  if (settingsMode) {
    // The string shares the caller's area with the reference slot: read it
    // whole before the reference overwrites its first bytes.
    const char* text = reinterpret_cast<const char*>(serialRefPtr);
    const std::string copy(text, strnlen(text, clser::kMaxSettingsLength));
    std::memcpy(serialRefPtr, &board, sizeof board);
    const clser::SerialSettings s = clser::parseSerialSettings(copy);
    api.setSerialParam(board, 0, s.channel);
    api.setSerialParam(board, 1, s.baudRate);
    api.setSerialParam(board, 2, s.dataBits);
    api.setSerialParam(board, 3, s.stopBitCode);
    api.setSerialParam(board, 4, s.parityCode);
  } else {
    *serialRefPtr = board;
    if (showDialog) applyDialogSelection(clser::askDeviceSettings(boardName(index)));
  }

  // The boards need this long after the serial set-up before the line is usable.
  waitMs(kInitWaitMs);
  return CL_ERR_NO_ERR;
}

CLSER_API void CLSER_CALL clSerialClose(void* serialRef) {
  if (!serialRef) return;
  const auto& api = boardApi();
  {
    std::lock_guard lock(lib().mutex);
    lib().pending.erase(serialRef);
    // The current board must not outlive its reference: later calls would
    // address a closed board.
    if (lib().currentBoard == serialRef) lib().currentBoard = nullptr;
  }
  if (api.closeBoard) api.closeBoard(serialRef);
}

CLSER_API int32_t CLSER_CALL clSerialRead(void* serialRef, char* buffer, uint32_t* bufferSize,
                                          uint32_t serialTimeout) {
  if (!serialRef) return CL_ERR_INVALID_REFERENCE;
  if (!buffer || !bufferSize) return CL_ERR_INVALID_PTR;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.serialRead) return CL_ERR_FUNCTION_NOT_FOUND;

  const uint32_t wanted = *bufferSize;
  const uint32_t buffered = takePending(serialRef, buffer, wanted);
  if (buffered > 0 && buffered == wanted) return CL_ERR_NO_ERR;

  const uint32_t rest = wanted - buffered;
  const int32_t got = api.serialRead(serialRef, buffer + buffered, rest, serialTimeout);
  if (got < 0 || static_cast<uint32_t>(got) > rest) {
    // A negative count or more than was asked for: the board library failed
    // and the buffer cannot be trusted. Report no bytes.
    returnPending(serialRef, buffer, buffered);
    *bufferSize = 0;
    return got < 0 ? readFailureStatus() : CL_ERR_BUFFER_TOO_SMALL;
  }
  const uint32_t total = buffered + static_cast<uint32_t>(got);
  if (total == 0) {
    *bufferSize = 0;
    return CL_ERR_TIMEOUT;
  }
  if (total < wanted) *bufferSize = total;
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clSerialWrite(void* serialRef, char* buffer, uint32_t* bufferSize,
                                           uint32_t serialTimeout) {
  if (!bufferSize) return CL_ERR_INVALID_PTR;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.serialWrite || !api.lastStatus) return CL_ERR_FUNCTION_NOT_FOUND;
  api.serialWrite(serialRef, buffer, *bufferSize, serialTimeout);
  return api.lastStatus();
}

CLSER_API int32_t CLSER_CALL clSetBaudRate(void* serialRef, uint32_t baudRate) {
  const uint32_t bps = bitsPerSecond(baudRate);
  if (bps == 0) return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.setSerialParam || !api.lastStatus) return CL_ERR_FUNCTION_NOT_FOUND;
  void* current = currentBoard();
  if (current) api.setSerialParam(current, 1, kKeep);
  api.setSerialParam(serialRef, 1, static_cast<int32_t>(bps));
  const int32_t rateStatus = api.lastStatus();
  if (current) api.setSerialParam(current, 1, kKeep);
  // The closing refresh of the current board usually succeeds; its status
  // must not hide a rate the board refused.
  return rateStatus != CL_ERR_NO_ERR ? rateStatus : api.lastStatus();
}

CLSER_API int32_t CLSER_CALL clGetManufacturerInfo(char* manufacturerName, uint32_t* bufferSize,
                                                   uint32_t* version) {
  if (!bufferSize) return CL_ERR_INVALID_PTR;
  if (*bufferSize < kManufacturerSize) {
    *bufferSize = kManufacturerSize;
    return CL_ERR_BUFFER_TOO_SMALL;
  }
  if (!manufacturerName || !version) return CL_ERR_INVALID_PTR;
  std::memcpy(manufacturerName, kManufacturer, kManufacturerSize);
  *version = CLSERTYX_INTERFACE_VERSION;
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clGetNumSerialPorts(uint32_t* numSerialPorts) {
  if (!numSerialPorts) return CL_ERR_INVALID_PTR;
  const auto& api = boardApi();
  if (!api.present) {
    *numSerialPorts = 0;
    return CL_ERR_NO_ERR;
  }
  if (!api.boardTable) return CL_ERR_FUNCTION_NOT_FOUND;
  void* table = nullptr;
  const int32_t count = api.boardTable(&table, 0);
  *numSerialPorts = count > 0 && table ? static_cast<uint32_t>(count) : 0;
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clGetSerialPortIdentifier(uint32_t serialIndex, char* portId,
                                                       uint32_t* bufferSize) {
  if (!bufferSize) return CL_ERR_INVALID_PTR;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_INDEX;
  if (!api.boardTable) return CL_ERR_FUNCTION_NOT_FOUND;
  uint32_t ports = 0;
  clGetNumSerialPorts(&ports);
  if (serialIndex >= ports) return CL_ERR_INVALID_INDEX;
  std::string id = boardName(serialIndex);
  if (id.empty()) id = "tyx board " + std::to_string(serialIndex);
  const uint32_t need = static_cast<uint32_t>(id.size() + 1);
  if (*bufferSize < need) {
    *bufferSize = need;
    return CL_ERR_BUFFER_TOO_SMALL;
  }
  if (!portId) return CL_ERR_INVALID_PTR;
  std::memcpy(portId, id.c_str(), need);
  *bufferSize = need;
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clGetErrorText(int32_t errorCode, char* errorText, uint32_t* errorTextSize) {
  static const struct {
    int32_t code;
    const char* text;
  } kTexts[] = {
      {CL_ERR_NO_ERR, "No error"},
      {CL_ERR_BUFFER_TOO_SMALL, "Buffer too small"},
      {CL_ERR_MANU_DOES_NOT_EXIST, "Manufacturer does not exist"},
      {CL_ERR_PORT_IN_USE, "Port in use"},
      {CL_ERR_TIMEOUT, "Time-out"},
      {CL_ERR_INVALID_INDEX, "Invalid serial index"},
      {CL_ERR_INVALID_REFERENCE, "Invalid serial reference"},
      {CL_ERR_ERROR_NOT_FOUND, "Error code not found"},
      {CL_ERR_BAUD_RATE_NOT_SUPPORTED, "Baud rate not supported"},
      {CL_ERR_OUT_OF_MEMORY, "Out of memory"},
      {CL_ERR_REGISTRY_KEY_NOT_FOUND, "Registry key not found"},
      {CL_ERR_INVALID_PTR, "Invalid pointer"},
      {CL_ERR_IN_USE, "In use"},
      {CL_ERR_UNABLE_TO_LOAD_DLL, "Unable to load the board library"},
      {CL_ERR_FUNCTION_NOT_FOUND, "Function not found in the board library"},
      {CLSERTYX_ERR_VALUE_NOT_SUPPORTED, "Value not supported"},
  };
  const char* text = nullptr;
  for (const auto& t : kTexts)
    if (t.code == errorCode) text = t.text;
  if (!text) return CL_ERR_ERROR_NOT_FOUND;
  if (!errorTextSize) return CL_ERR_INVALID_PTR;
  const uint32_t need = static_cast<uint32_t>(std::strlen(text) + 1);
  if (*errorTextSize < need) {
    *errorTextSize = need;
    return CL_ERR_BUFFER_TOO_SMALL;
  }
  if (!errorText) return CL_ERR_INVALID_PTR;
  std::memcpy(errorText, text, need);
  *errorTextSize = need;
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clGetSupportedBaudRates(void* serialRef, uint32_t* baudRates) {
  if (!serialRef) return CL_ERR_INVALID_REFERENCE;
  if (!baudRates) return CL_ERR_INVALID_PTR;
  *baudRates = supportedRateMask();
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clSetParity(void* serialRef, uint32_t parityOn) {
  // The settings string's codes: 0 none, 1 odd, 2 even.
  if (parityOn > 2) return CLSERTYX_ERR_VALUE_NOT_SUPPORTED;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.setSerialParam || !api.lastStatus) return CL_ERR_FUNCTION_NOT_FOUND;
  api.setSerialParam(serialRef, 4, static_cast<int32_t>(parityOn));
  return api.lastStatus();
}

CLSER_API int32_t CLSER_CALL clGetNumBytesAvail(void* serialRef, uint32_t* numBytes) {
  if (!serialRef) return CL_ERR_INVALID_REFERENCE;
  if (!numBytes) return CL_ERR_INVALID_PTR;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.serialRead) return CL_ERR_FUNCTION_NOT_FOUND;
  char chunk[kPeekChunk];
  for (;;) {
    {
      std::lock_guard lock(lib().mutex);
      auto it = lib().pending.find(serialRef);
      if (it != lib().pending.end() && it->second.size() >= kMaxPending) break;
    }
    // A zero time-out takes only what has already arrived.
    const int32_t got = api.serialRead(serialRef, chunk, kPeekChunk, 0);
    if (got < 0) return readFailureStatus();
    if (static_cast<uint32_t>(got) > kPeekChunk) return CL_ERR_BUFFER_TOO_SMALL;
    if (got == 0) break;
    {
      std::lock_guard lock(lib().mutex);
      auto& q = lib().pending[serialRef];
      q.insert(q.end(), chunk, chunk + got);
    }
    if (static_cast<uint32_t>(got) < kPeekChunk) break;
  }
  std::lock_guard lock(lib().mutex);
  auto it = lib().pending.find(serialRef);
  *numBytes = it == lib().pending.end() ? 0 : static_cast<uint32_t>(it->second.size());
  return CL_ERR_NO_ERR;
}

CLSER_API int32_t CLSER_CALL clFlushPort(void* serialRef) {
  if (!serialRef) return CL_ERR_INVALID_REFERENCE;
  const auto& api = boardApi();
  if (!api.present) return CL_ERR_INVALID_REFERENCE;
  if (!api.serialRead) return CL_ERR_FUNCTION_NOT_FOUND;
  {
    std::lock_guard lock(lib().mutex);
    lib().pending.erase(serialRef);
  }
  char chunk[kPeekChunk];
  for (size_t drained = 0; drained < kMaxPending;) {
    const int32_t got = api.serialRead(serialRef, chunk, kPeekChunk, 0);
    if (got < 0) return readFailureStatus();
    if (got == 0 || static_cast<uint32_t>(got) > kPeekChunk) break;
    drained += static_cast<size_t>(got);
  }
  return CL_ERR_NO_ERR;
}

}  // extern "C"

void clsertyxTestingSetSleep(ClsertyxSleepFn sleepFn) {
  std::lock_guard lock(lib().mutex);
  lib().sleep = sleepFn;
}

void clsertyxTestingReset() {
  {
    std::lock_guard lock(lib().mutex);
    lib().currentBoard = nullptr;
    lib().pending.clear();
  }
  clser::resetNoDisplayNote();
}
