// board_state.cpp - the boards a user could have installed, and their capture threads.
#include "board_state.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board_commands.h"

namespace boardsim {

void logLine(const std::string& line) {
  State& s = state();
  std::lock_guard<std::mutex> lk(s.logMutex);
  s.log.push_back(line);
  if (s.log.size() > kMaxLogLines) s.log.pop_front();
}

namespace {

TyxRect naturalRect(const SignalConfig& sig) {
  int32_t w = 768, h = 576;
  if (sig.present == 1 && sig.lines == 525) {
    w = 640;
    h = 480;
  } else if (sig.present == 1 && sig.lines > 0 && sig.lines != 625) {
    h = std::clamp(sig.lines, 16, kMaxRectSide);
    w = std::clamp(h * 4 / 3, 16, kMaxRectSide);
  }
  return TyxRect{0, 0, w, h};
}

}  // namespace

// Puts a board back into the state of a freshly installed card.
void resetBoardParams(Board& b) {
  for (auto& family : b.params) family.fill(0);
  auto& video = b.params[kVideo];
  video[7] = 0;
  video[8] = b.signal.interlaced == 1 ? 1 : 0;
  video[9] = (50 << 16) | 100;
  video[12] = (200 << 16) | 400;  // offset range: x up to 400, y up to 200
  video[13] = 0;
  video[19] = (38 << 16) | 168;
  auto& capture = b.params[kCapture];
  capture[3] = b.signal.format;
  capture[4] = kRingFrames;
  capture[10] = b.signal.interlaced == 1 ? 1 : 0;
  capture[11] = 944;
  capture[12] = b.signal.lines > 0 ? b.signal.lines : 625;
  auto& convert = b.params[kConvert];
  convert[1] = 1;
  convert[2] = 0;
  convert[6] = 0;
  const TyxRect r = naturalRect(b.signal);
  for (auto& t : b.targets) t = r;
  b.putSignal.clear();
}

namespace {

void fillRecords(State& s) {
  for (int i = 0; i < kMaxBoards; ++i) {
    TyxBoardRecord& r = s.records[i];
    std::memset(&r, 0, sizeof r);
    r.id = 0x5100 + i;
    std::snprintf(r.name, sizeof r.name, "TYX-VG4 simulated board %d", i);
  }
}

}  // namespace

State::State() {
  for (int i = 0; i < kMaxBoards; ++i) {
    boards[i].index = i;
    resetBoardParams(boards[i]);
  }
  fillRecords(*this);
}

State::~State() {
  // The library can be unloaded while a capture still runs; its thread must
  // not outlive the code it runs, nor call into a program that is going away.
  for (Board& b : boards) stopAndJoin(b, true);
}

State& state() {
  static State* s = [] {
    auto* created = new State;
    return created;
  }();
  return *s;
}

namespace {

// The single State lives until the library is unloaded; this object's
// destructor runs then and stops every capture thread.
struct StateOwner {
  StateOwner() {
    state();
    if (const char* env = std::getenv("TYXAPI32_SIM")) applyCommands(env, true);
  }
  ~StateOwner() { delete &state(); }
} g_owner;

}  // namespace

Board* boardFromHandle(void* handle) {
  State& s = state();
  for (Board& b : s.boards)
    if (&b == handle) return &b;
  return nullptr;
}

// Returns the board only while it is open; sets the last error otherwise.
Board* openBoard(void* handle) {
  Board* b = boardFromHandle(handle);
  if (!b) {
    g_lastError = kErrBadHandle;
    return nullptr;
  }
  std::lock_guard<std::mutex> lk(b->m);
  if (!b->open) {
    g_lastError = kErrBadHandle;
    return nullptr;
  }
  return b;
}

// Asks the capture thread to finish and, unless called on that thread, waits
// until it has. Callbacks are removed first when clearCallbacks is set.
void stopAndJoin(Board& b, bool clearCallbacks) {
  std::thread owned;
  {
    std::unique_lock<std::mutex> lk(b.m);
    if (clearCallbacks) {
      b.begin = nullptr;
      b.frame = nullptr;
      b.end = nullptr;
    }
    b.stopRequested = true;
    b.cv.notify_all();
    if (b.running && std::this_thread::get_id() == b.workerId) return;
    if (b.worker.joinable())
      owned = std::move(b.worker);
    else
      b.cv.wait(lk, [&] { return !b.running; });
  }
  if (owned.joinable()) owned.join();
}

namespace {

int64_t frameIntervalUs(const SignalConfig& sig) {
  int32_t rate = sig.fieldRate > 0 ? sig.fieldRate : 50;
  // A frame of an interlaced signal takes two fields.
  if (sig.interlaced == 1) return 2000000LL / rate;
  return 1000000LL / rate;
}

}  // namespace

void captureThread(Board* b) {
  std::unique_lock<std::mutex> lk(b->m);
  b->workerId = std::this_thread::get_id();
  const Pace pace = b->pace;
  const int64_t interval = frameIntervalUs(b->signal);
  uint32_t n = 0;

  if (TyxSeqBeginCallback begin = b->begin) {
    b->inCallback = true;
    lk.unlock();
    begin(b);
    lk.lock();
    b->inCallback = false;
    b->cv.notify_all();
  }

  auto next = std::chrono::steady_clock::now();
  while (!b->stopRequested) {
    if (pace == Pace::Manual) {
      b->cv.wait(lk, [&] { return b->stopRequested || b->budget > 0; });
      if (b->stopRequested) break;
      --b->budget;
    } else if (pace == Pace::Real) {
      next += std::chrono::microseconds(interval);
      const auto now = std::chrono::steady_clock::now();
      // A slow consumer drops frames instead of receiving a burst later.
      if (next < now) next = now;
      if (b->cv.wait_until(lk, next, [&] { return b->stopRequested; })) break;
    }
    const uint16_t index = static_cast<uint16_t>(n % kRingFrames);
    b->frameTime[index] = n;
    ++n;
    b->delivered.fetch_add(1);
    if (TyxSeqFrameCallback frame = b->frame) {
      b->inCallback = true;
      lk.unlock();
      frame(b, index);
      lk.lock();
      b->inCallback = false;
      b->cv.notify_all();
    }
    if (b->frameLimit > 0 && n >= static_cast<uint32_t>(b->frameLimit)) {
      // The sequence is over; a new capture start waits for this thread.
      b->stopRequested = true;
      break;
    }
    if (pace == Pace::Fast) {
      // Let other threads at the mutex between frames.
      lk.unlock();
      std::this_thread::yield();
      lk.lock();
    }
  }

  if (TyxSeqEndCallback end = b->end) {
    b->inCallback = true;
    lk.unlock();
    end(b);
    lk.lock();
    b->inCallback = false;
  }
  b->running = false;
  b->cv.notify_all();
}

}  // namespace boardsim
