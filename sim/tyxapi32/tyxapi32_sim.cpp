// tyxapi32_sim.cpp - the simulated frame-grabber board library: its exported calls.
//
// It models the boards a user could have installed: each board sees an
// analogue signal (present or not, 625 or 525 or any number of lines,
// interlaced or not, colour or black and white, a field rate, a trigger) and,
// once a sequence capture is started, delivers frames on its own thread at the
// frame rate of that signal, as the real drivers do. Converting a frame renders
// a moving test picture into the caller's pixel area in the frame format of
// capture parameter 3, shifted by the capture offset of video parameter 19.
// When the simulated camera library is loaded with a camera open, the
// picture is what that camera sends: its gain, black level, inverses,
// negative, test-bar output and colour gains show in the live video.

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "abi/tyxapi32.h"
#include "board_commands.h"
#include "board_state.h"
#include "test_picture.h"
#include "tyxapi32_sim.h"

using namespace boardsim;

namespace {

int32_t setParam(void* handle, int family, uint16_t id, int32_t value, const char* name) {
  Board* b = openBoard(handle);
  if (!b) return -1;
  if (id >= kParamCount) {
    g_lastError = kErrBadArgument;
    return -1;
  }
  if (value == -1) {
    std::lock_guard<std::mutex> lk(b->m);
    return b->params[family][id];
  }
  {
    State& s = state();
    std::lock_guard<std::mutex> lk(s.m);
    auto fault = s.faults.find({family, id});
    if (fault != s.faults.end()) {
      g_lastError = fault->second;
      logLine(std::string(name) + " " + std::to_string(id) + " " + std::to_string(value) + " failed");
      return -1;
    }
  }
  {
    std::lock_guard<std::mutex> lk(b->m);
    if (family == kVideo && id == 19) {
      // The board refuses an offset outside the range of video parameter 12.
      const int32_t range = b->params[kVideo][12];
      const int32_t x = value & 0xFFFF, y = (value >> 16) & 0xFFFF;
      if (x > (range & 0xFFFF) || y > ((range >> 16) & 0xFFFF)) {
        g_lastError = kErrBadArgument;
        logLine(std::string(name) + " 19 " + std::to_string(value) + " refused");
        return -1;
      }
    }
    b->params[family][id] = value;
  }
  logLine(std::string(name) + " " + std::to_string(id) + " " + std::to_string(value));
  return value < 0 ? 0 : value;
}

}  // namespace

extern "C" {

TYXAPI32_API int32_t TYXAPI32_CALL tyxGetImageDevice(TyxBoardRecord** list, int32_t) {
  State& s = state();
  std::lock_guard<std::mutex> lk(s.m);
  if (list) *list = s.boardCount > 0 ? s.records.data() : nullptr;
  return s.boardCount;
}

TYXAPI32_API void* TYXAPI32_CALL tyxOpenBoard(int32_t* index) {
  State& s = state();
  std::lock_guard<std::mutex> lk(s.m);
  if (s.boardCount <= 0) {
    g_lastError = kErrNoBoard;
    return nullptr;
  }
  if (s.openFailCode != 0) {
    g_lastError = s.openFailCode;
    return nullptr;
  }
  if (!index || *index < 0 || *index >= s.boardCount) {
    g_lastError = kErrOpenFailed;
    return nullptr;
  }
  Board& b = s.boards[*index];
  std::thread finished;
  {
    std::lock_guard<std::mutex> blk(b.m);
    if (b.open) {
      g_lastError = kErrBusy;
      return nullptr;
    }
    // A capture thread that ended on its own is collected here.
    if (b.worker.joinable() && !b.running) finished = std::move(b.worker);
    b.open = true;
    resetBoardParams(b);
    b.begin = nullptr;
    b.frame = nullptr;
    b.end = nullptr;
  }
  if (finished.joinable()) finished.join();
  logLine("OpenBoard " + std::to_string(*index));
  return &b;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxCloseBoard(void* handle) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  stopAndJoin(*b, true);
  {
    std::lock_guard<std::mutex> lk(b->m);
    b->open = false;
  }
  logLine("CloseBoard " + std::to_string(b->index));
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxGetLastError(void) { return g_lastError.load(); }

TYXAPI32_API void* TYXAPI32_CALL tyxGetBufferAddr(void* handle, int32_t) {
  Board* b = openBoard(handle);
  return b ? b->bufferAddr : nullptr;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxSetVideoParam(void* board, uint16_t id, int32_t value) {
  return setParam(board, kVideo, id, value, "SetVideoParam");
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxSetCaptureParam(void* board, uint16_t id, int32_t value) {
  return setParam(board, kCapture, id, value, "SetCaptureParam");
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxSetConvertParam(void* board, uint16_t id, int32_t value) {
  return setParam(board, kConvert, id, value, "SetConvertParam");
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxGetSignalParam(void* handle, int32_t id) {
  Board* b = openBoard(handle);
  if (!b) return -1;
  std::lock_guard<std::mutex> lk(b->m);
  const SignalConfig& sig = b->signal;
  const bool present = sig.present == 1;
  switch (id) {
    case 1: return sig.present;
    case 2: return present ? sig.interlaced : -1;
    case 3: return present ? sig.lines : -1;
    case 5: return present ? sig.fieldRate : -1;
    case 7: return sig.trigger;
    case 9: return present ? sig.colour : -1;
    default: return -1;
  }
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxPutSignalParam(void* handle, int32_t id, int32_t value) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  {
    std::lock_guard<std::mutex> lk(b->m);
    b->putSignal[id] = value;
  }
  logLine("PutSignalParam " + std::to_string(id) + " " + std::to_string(value));
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxWaitSignalEvent(void* handle, int32_t event, int32_t) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  // The simulated signal is always settled, so the wait ends at once.
  std::lock_guard<std::mutex> lk(b->m);
  return event == 3 && b->signal.present == 1 ? 1 : 0;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxSetTargetRect(void* handle, int32_t target, TyxRect* rect) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  if (!rect || target < -1 || target > 1) {
    g_lastError = kErrBadArgument;
    return 0;
  }
  std::lock_guard<std::mutex> lk(b->m);
  TyxRect& slot = b->targets[target + 1];
  if (rect->right == -1) {
    *rect = slot;
    return 1;
  }
  const int64_t w = static_cast<int64_t>(rect->right) - rect->left;
  const int64_t h = static_cast<int64_t>(rect->bottom) - rect->top;
  if (target == -1 || rect->left < 0 || rect->top < 0 || w <= 0 || h <= 0 || w > kMaxRectSide ||
      h > kMaxRectSide) {
    g_lastError = kErrBadArgument;
    return 0;
  }
  slot = *rect;
  logLine("SetTargetRect " + std::to_string(target) + " " + std::to_string(rect->left) + " " +
          std::to_string(rect->top) + " " + std::to_string(rect->right) + " " + std::to_string(rect->bottom));
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxSetSeqCallback(void* handle, TyxSeqBeginCallback begin,
                                                     TyxSeqFrameCallback frame, TyxSeqEndCallback end) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  {
    std::unique_lock<std::mutex> lk(b->m);
    b->begin = begin;
    b->frame = frame;
    b->end = end;
    const bool removing = !begin && !frame && !end;
    // After removal no callback may still be running, or the caller could
    // free what the callback uses. The capture thread itself cannot wait for
    // its own callback.
    if (removing && !(b->running && std::this_thread::get_id() == b->workerId))
      b->cv.wait(lk, [&] { return !b->inCallback; });
  }
  logLine(begin || frame || end ? "SetSeqCallback set" : "SetSeqCallback clear");
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxCaptureByBuffer(void* handle, int32_t buffer, int32_t, int32_t) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  if (buffer != 1) {
    g_lastError = kErrBadArgument;
    return 0;
  }
  Pace pace;
  int32_t limit;
  {
    State& s = state();
    std::lock_guard<std::mutex> lk(s.m);
    pace = s.pace;
    limit = s.frameLimit;
  }
  std::thread finished;
  {
    std::unique_lock<std::mutex> lk(b->m);
    // A running capture is busy; one that is finishing (stopped from a
    // callback, or at its frame limit) is waited for, except from its own
    // thread, which cannot wait for itself.
    const bool self = b->running && std::this_thread::get_id() == b->workerId;
    if ((b->running && !b->stopRequested) || self) {
      g_lastError = kErrBusy;
      return 0;
    }
    if (b->worker.joinable())
      finished = std::move(b->worker);
    else
      b->cv.wait(lk, [&] { return !b->running; });
  }
  if (finished.joinable()) finished.join();
  {
    std::lock_guard<std::mutex> lk(b->m);
    b->pace = pace;
    b->frameLimit = limit;
    b->budget = 0;
    b->stopRequested = false;
    b->running = true;
    b->delivered = 0;
    b->worker = std::thread(captureThread, b);
  }
  logLine("CaptureByBuffer " + std::to_string(buffer));
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxStopCapture(void* handle) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  stopAndJoin(*b, false);
  logLine("StopCapture");
  return 1;
}

TYXAPI32_API int32_t TYXAPI32_CALL tyxConvertRect(void* handle, TyxConvertDesc* dest, int32_t, int32_t,
                                                  int32_t frameIndex, int32_t) {
  Board* b = openBoard(handle);
  if (!b) return 0;
  if (!dest || dest->type != 0 || dest->address == 0 || dest->width <= 0 || dest->height == 0 ||
      std::any_of(std::begin(dest->reserved), std::end(dest->reserved), [](uint8_t b) { return b != 0; })) {
    g_lastError = kErrBadArgument;
    return 0;
  }
  Picture pic{};
  PixelKind kind;
  {
    std::lock_guard<std::mutex> lk(b->m);
    const int32_t format = b->params[kCapture][3];
    if (formatBits(format) != dest->bitsPerPixel) {
      g_lastError = kErrBadArgument;
      return 0;
    }
    kind = kindFor(format, dest->bitsPerPixel);
    const int32_t offset = b->params[kVideo][19];
    pic.ox = offset & 0xFFFF;
    pic.oy = (offset >> 16) & 0xFFFF;
    pic.time = b->frameTime[static_cast<uint32_t>(frameIndex) % kRingFrames];
    pic.colour = b->signal.colour == 1;
    pic.signal = b->signal.present == 1;
  }
  if (kind == PixelKind::Unsupported) {
    g_lastError = kErrBadArgument;
    return 0;
  }
  pic.look = cameraLook();
  pic.width = dest->width;
  pic.height = dest->height < 0 ? -static_cast<int>(dest->height) : dest->height;
  const uint64_t stride = ((static_cast<uint64_t>(pic.width) * dest->bitsPerPixel + 31) / 32) * 4;
  auto* base = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(dest->address));
  const bool bottomUp = dest->height < 0;
  for (int y = 0; y < pic.height; ++y) {
    uint8_t* row = base + stride * static_cast<uint64_t>(bottomUp ? pic.height - 1 - y : y);
    renderRow(row, kind, pic, y);
    const uint64_t used = (static_cast<uint64_t>(pic.width) * dest->bitsPerPixel + 7) / 8;
    std::memset(row + used, 0, static_cast<size_t>(stride - used));
  }
  return 1;
}

TYXAPI32_API int32_t tyxSimControl(const char* commands) { return applyCommands(commands, false) ? 1 : 0; }

TYXAPI32_API int32_t tyxSimReadLog(char* buffer, int32_t size) {
  State& s = state();
  std::string all;
  {
    std::lock_guard<std::mutex> lk(s.logMutex);
    for (const std::string& line : s.log) {
      all += line;
      all += '\n';
    }
  }
  if (buffer && size > 0) {
    const size_t n = std::min(all.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, all.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int32_t>(std::min<size_t>(all.size(), INT32_MAX));
}

TYXAPI32_API int32_t tyxSimStep(void* handle, int32_t frames) {
  Board* b = boardFromHandle(handle);
  if (!b) return -1;
  std::lock_guard<std::mutex> lk(b->m);
  if (frames > 0) b->budget = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t{b->budget} + frames));
  b->cv.notify_all();
  return b->budget;
}

TYXAPI32_API int32_t tyxSimFrameCount(void* handle) {
  Board* b = boardFromHandle(handle);
  return b ? b->delivered.load() : -1;
}

}  // extern "C"
