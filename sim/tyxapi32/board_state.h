// board_state.h - the simulated boards: their signal, parameters and capture thread, and the library's state.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "abi/tyxapi32.h"

namespace boardsim {

constexpr int kMaxBoards = 8;
constexpr int kParamCount = 256;
constexpr int kRingFrames = 4;
constexpr int32_t kMaxRectSide = 4096;
constexpr size_t kMaxLogLines = 20000;

// Error codes of tyxGetLastError beyond the two the program names.
constexpr int32_t kErrNoBoard = 1;
constexpr int32_t kErrOpenFailed = 3;
constexpr int32_t kErrBadHandle = 4;
constexpr int32_t kErrBadArgument = 5;
constexpr int32_t kErrBusy = 6;

enum class Pace { Real, Fast, Manual };
enum Family { kVideo = 0, kCapture = 1, kConvert = 2, kFamilies = 3 };

struct SignalConfig {
  int32_t present = 1;  // signal parameter 1: 1 yes, 0 no, -1 not supported
  int32_t lines = 625;
  int32_t interlaced = 1;
  int32_t colour = 1;
  int32_t fieldRate = 50;
  int32_t trigger = 0;
  int32_t format = (24 << 16) | TYX_FORMAT_RGB24;
};

struct Board {
  int index = 0;

  // Guards every member below except delivered. Callbacks are never called
  // with it held, so a callback may call back into the library.
  std::mutex m;
  std::condition_variable cv;

  bool open = false;
  SignalConfig signal;
  std::array<std::array<int32_t, kParamCount>, kFamilies> params{};
  std::map<int32_t, int32_t> putSignal;
  TyxRect targets[3]{};  // -1, 0, 1
  TyxSeqBeginCallback begin = nullptr;
  TyxSeqFrameCallback frame = nullptr;
  TyxSeqEndCallback end = nullptr;

  std::thread worker;
  std::thread::id workerId;
  bool running = false;
  bool stopRequested = false;
  bool inCallback = false;
  Pace pace = Pace::Real;
  int32_t frameLimit = 0;
  int32_t budget = 0;
  uint32_t frameTime[kRingFrames]{};
  uint8_t bufferAddr[64]{};

  std::atomic<int32_t> delivered{0};
};

struct State {
  // Guards the fields of State (not those of the boards). Taken before a
  // board's mutex when both are needed.
  std::mutex m;
  int boardCount = 1;
  Pace pace = Pace::Real;
  int32_t frameLimit = 0;
  int32_t openFailCode = 0;
  std::map<std::pair<int, int>, int32_t> faults;  // (family, id) -> error code
  std::array<TyxBoardRecord, kMaxBoards> records{};
  std::array<Board, kMaxBoards> boards;

  std::mutex logMutex;  // guards log
  std::deque<std::string> log;

  State();
  ~State();
};

// Last error, as tyxGetLastError returns it.
inline std::atomic<int32_t> g_lastError{0};

State& state();
// Appends a line to the call log read through tyxSimReadLog.
void logLine(const std::string& line);
// Puts a board back into the state of a freshly installed card.
void resetBoardParams(Board& b);
Board* boardFromHandle(void* handle);
// Returns the board only while it is open; sets the last error otherwise.
Board* openBoard(void* handle);
// Asks the capture thread to finish and, unless called on that thread, waits
// until it has. Callbacks are removed first when clearCallbacks is set.
void stopAndJoin(Board& b, bool clearCallbacks);
// The board's capture thread: delivers frames at the signal's pace.
void captureThread(Board* b);

}  // namespace boardsim
