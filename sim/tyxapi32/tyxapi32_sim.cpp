// tyxapi32_sim.cpp - the simulated frame-grabber board library.
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
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <dlfcn.h>

#include "abi/tyxapi32.h"
#include "tyxapi32_sim.h"
#include "tyxcamera_sim.h"

namespace {

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

std::atomic<int32_t> g_lastError{0};

State& state();

void logLine(const std::string& line) {
  State& s = state();
  std::lock_guard<std::mutex> lk(s.logMutex);
  s.log.push_back(line);
  if (s.log.size() > kMaxLogLines) s.log.pop_front();
}

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

void fillRecords(State& s) {
  for (int i = 0; i < kMaxBoards; ++i) {
    TyxBoardRecord& r = s.records[i];
    std::memset(&r, 0, sizeof r);
    r.id = 0x5100 + i;
    std::snprintf(r.name, sizeof r.name, "TYX-VG4 simulated board %d", i);
  }
}

State::State() {
  for (int i = 0; i < kMaxBoards; ++i) {
    boards[i].index = i;
    resetBoardParams(boards[i]);
  }
  fillRecords(*this);
}

void stopAndJoin(Board& b, bool clearCallbacks);

State::~State() {
  // The library can be unloaded while a capture still runs; its thread must
  // not outlive the code it runs, nor call into a program that is going away.
  for (Board& b : boards) stopAndJoin(b, true);
}

bool applyCommands(const char* text, bool fromEnvironment);

State& state() {
  static State* s = [] {
    auto* created = new State;
    return created;
  }();
  return *s;
}

// The single State lives until the library is unloaded; this object's
// destructor runs then and stops every capture thread.
struct StateOwner {
  StateOwner() {
    state();
    if (const char* env = std::getenv("TYXAPI32_SIM")) applyCommands(env, true);
  }
  ~StateOwner() { delete &state(); }
} g_owner;

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

int64_t frameIntervalUs(const SignalConfig& sig) {
  int32_t rate = sig.fieldRate > 0 ? sig.fieldRate : 50;
  // A frame of an interlaced signal takes two fields.
  if (sig.interlaced == 1) return 2000000LL / rate;
  return 1000000LL / rate;
}

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

// ---- test picture ----------------------------------------------------------

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kBars[8] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                          {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};

// How the camera on the cable changes the scene; the identity when no
// simulated camera is open.
struct CameraLook {
  bool hInverse = false, vInverse = false;
  bool testBars = false;  // the camera's output mode 2
  int rGain = 128, gGain = 128, bGain = 128;
  std::array<uint8_t, 256> level{};  // the camera's gain, black level and negative
  CameraLook() {
    for (int v = 0; v < 256; ++v) level[static_cast<size_t>(v)] = static_cast<uint8_t>(v);
  }
};

// Asks the simulated camera library, if the process has it loaded, what its
// open camera sends. The library is only looked up, never loaded here, and
// held while it answers, so a program unloading it meanwhile is safe.
CameraLook cameraLook() {
  CameraLook look;
  void* library = dlopen("libtyxcamera.so", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return look;
  TyxSimVideoSignal signal{};
  auto* query = reinterpret_cast<int32_t (*)(TyxSimVideoSignal*)>(dlsym(library, "tyxSimVideoSignal"));
  const bool answered = query != nullptr && query(&signal) == 1;
  dlclose(library);
  if (!answered) return look;
  look.hInverse = signal.hInverse != 0;
  look.vInverse = signal.vInverse != 0;
  look.testBars = signal.outputMode == 2;
  if (signal.colour != 0) {
    look.rGain = std::clamp(signal.rGain, 0, 1023);
    look.gGain = std::clamp(signal.gGain, 0, 1023);
    look.bGain = std::clamp(signal.bGain, 0, 1023);
  }
  std::copy(std::begin(signal.level), std::end(signal.level), look.level.begin());
  return look;
}

struct Picture {
  int width, height;  // of the destination
  int ox, oy;         // capture offset
  uint32_t time;      // frame number, drives the motion
  bool colour;
  bool signal;
  CameraLook look;
};

uint8_t weigh(uint8_t v, int gain) { return static_cast<uint8_t>(std::min(255, v * gain / 128)); }

Rgb pixelAt(const Picture& p, int x, int y) {
  if (!p.signal) {
    // Dark blue with faint noise-free stripes: what a board shows without input.
    return Rgb{0, 0, static_cast<uint8_t>(((x + y) & 16) ? 96 : 80)};
  }
  const CameraLook& look = p.look;
  // The camera mirrors its whole picture, the bouncing square included.
  if (look.hInverse) x = p.width - 1 - x;
  if (look.vInverse) y = p.height - 1 - y;
  const int sx = x + p.ox;
  const int sy = y + p.oy;
  Rgb c;
  if (look.testBars) {
    // The camera's own test picture: eight still grey steps, no scene.
    const uint8_t v = static_cast<uint8_t>(((static_cast<int64_t>(sx % p.width) * 8) / p.width) * 255 / 7);
    c = Rgb{v, v, v};
  } else if (sy % p.height < p.height * 2 / 3) {
    // The vertical offset moves the boundary between bars and ramp.
    const int64_t shifted = static_cast<int64_t>(sx) + static_cast<int64_t>(p.time) * 4;
    const int bar = static_cast<int>(((shifted % p.width) * 8) / p.width) & 7;
    c = kBars[bar];
  } else {
    const uint8_t v = static_cast<uint8_t>((static_cast<int64_t>(sx % p.width) * 255) / p.width);
    c = Rgb{v, v, v};
  }
  // A square bouncing left and right, so motion is visible even in B/W.
  const int side = std::max(4, p.height / 8);
  const int travel = std::max(1, p.width - side);
  const int phase = static_cast<int>((p.time * 6) % (2 * travel));
  const int bx = phase < travel ? phase : 2 * travel - phase;
  const int by = p.height / 2 - side / 2;
  if (!look.testBars && x >= bx && x < bx + side && y >= by && y < by + side) c = Rgb{255, 255, 255};
  c = Rgb{look.level[weigh(c.r, look.rGain)], look.level[weigh(c.g, look.gGain)],
          look.level[weigh(c.b, look.bGain)]};
  if (!p.colour) {
    const uint8_t l = static_cast<uint8_t>((c.r * 77 + c.g * 150 + c.b * 29) >> 8);
    c = Rgb{l, l, l};
  }
  return c;
}

enum class PixelKind { Grey8, Rgb555, Rgb565, Bgr24, Bgrx32, Unsupported };

PixelKind kindFor(int32_t captureFormat, int bits) {
  const int code = captureFormat & 0xFFFF;
  if (code == TYX_FORMAT_RGB565) return bits == 16 ? PixelKind::Rgb565 : PixelKind::Unsupported;
  const bool bitFields = code == TYX_FORMAT_RGB24 || code == TYX_FORMAT_RGB32 || code == TYX_FORMAT_RGB32A;
  switch (bits) {
    case 8: return bitFields ? PixelKind::Unsupported : PixelKind::Grey8;
    case 16: return bitFields ? PixelKind::Rgb565 : PixelKind::Rgb555;
    case 24: return PixelKind::Bgr24;
    case 32: return PixelKind::Bgrx32;
    default: return PixelKind::Unsupported;
  }
}

int formatBits(int32_t captureFormat) {
  if ((captureFormat & 0xFFFF) == TYX_FORMAT_RGB565) return 16;
  return (captureFormat >> 16) & 0xFFFF;
}

void renderRow(uint8_t* row, PixelKind kind, const Picture& p, int y) {
  for (int x = 0; x < p.width; ++x) {
    const Rgb c = pixelAt(p, x, y);
    const size_t at = static_cast<size_t>(x);
    switch (kind) {
      case PixelKind::Grey8: row[x] = static_cast<uint8_t>((c.r * 77 + c.g * 150 + c.b * 29) >> 8); break;
      case PixelKind::Rgb555: {
        const uint16_t v = static_cast<uint16_t>(((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
        std::memcpy(row + 2 * at, &v, 2);
        break;
      }
      case PixelKind::Rgb565: {
        const uint16_t v = static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
        std::memcpy(row + 2 * at, &v, 2);
        break;
      }
      case PixelKind::Bgr24:
        row[3 * at] = c.b;
        row[3 * at + 1] = c.g;
        row[3 * at + 2] = c.r;
        break;
      case PixelKind::Bgrx32:
        row[4 * at] = c.b;
        row[4 * at + 1] = c.g;
        row[4 * at + 2] = c.r;
        row[4 * at + 3] = 0;
        break;
      case PixelKind::Unsupported: break;
    }
  }
}

// ---- command parsing ---------------------------------------------------------

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool parseInt(std::string_view s, int32_t& out) {
  s = trim(s);
  if (s.empty() || s.size() > 15) return false;
  std::string copy(s);
  char* endp = nullptr;
  const long long v = std::strtoll(copy.c_str(), &endp, 0);
  if (*endp != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool parseFormat(std::string_view v, int32_t& out) {
  if (v == "grey8" || v == "gray8")
    out = (8 << 16) | TYX_FORMAT_GREY8;
  else if (v == "rgb565")
    out = (16 << 16) | TYX_FORMAT_RGB565;
  else if (v == "rgb24")
    out = (24 << 16) | TYX_FORMAT_RGB24;
  else if (v == "rgb32")
    out = (32 << 16) | TYX_FORMAT_RGB32;
  else
    return parseInt(v, out);
  return true;
}

bool parseFamily(std::string_view v, int& out) {
  if (v == "video")
    out = kVideo;
  else if (v == "capture")
    out = kCapture;
  else if (v == "convert")
    out = kConvert;
  else
    return false;
  return true;
}

bool anyOpen(State& s) {
  for (Board& b : s.boards) {
    std::lock_guard<std::mutex> lk(b.m);
    if (b.open) return true;
  }
  return false;
}

// Applies one signal key to a board; the caller holds the board's mutex.
bool applySignalKey(Board& b, std::string_view key, std::string_view value) {
  int32_t v = 0;
  SignalConfig& sig = b.signal;
  if (key == "signal") {
    if (value == "unsupported")
      v = -1;
    else if (!parseInt(value, v))
      return false;
    sig.present = v == 1 ? 1 : (v == 0 ? 0 : -1);
  } else if (key == "lines") {
    if (!parseInt(value, v)) return false;
    sig.lines = v;
  } else if (key == "interlaced") {
    if (!parseInt(value, v)) return false;
    sig.interlaced = v;
  } else if (key == "color" || key == "colour") {
    if (!parseInt(value, v)) return false;
    sig.colour = v;
  } else if (key == "rate") {
    if (!parseInt(value, v)) return false;
    sig.fieldRate = v;
  } else if (key == "trigger") {
    if (!parseInt(value, v)) return false;
    sig.trigger = v;
  } else if (key == "format") {
    if (!parseFormat(value, v)) return false;
    sig.format = v;
    b.params[kCapture][3] = v;
  } else {
    return false;
  }
  if (!b.open) {
    // A closed board starts from the new signal's own window next time.
    resetBoardParams(b);
  }
  return true;
}

bool applyOne(State& s, std::string_view cmd) {
  int boardIndex = -1;
  const size_t colon = cmd.find(':');
  const size_t eq = cmd.find('=');
  if (colon != std::string_view::npos && (eq == std::string_view::npos || colon < eq)) {
    int32_t idx = 0;
    if (!parseInt(cmd.substr(0, colon), idx) || idx < 0 || idx >= kMaxBoards) return false;
    boardIndex = idx;
    cmd = trim(cmd.substr(colon + 1));
  }
  const std::string_view key = trim(cmd.substr(0, cmd.find('=')));
  const std::string_view value =
      eq == std::string_view::npos ? std::string_view{} : trim(cmd.substr(cmd.find('=') + 1));
  std::lock_guard<std::mutex> lk(s.m);
  if (key == "reset") {
    if (anyOpen(s)) return false;
    s.boardCount = 1;
    s.pace = Pace::Real;
    s.frameLimit = 0;
    s.openFailCode = 0;
    s.faults.clear();
    for (Board& b : s.boards) {
      std::lock_guard<std::mutex> blk(b.m);
      b.signal = SignalConfig{};
      resetBoardParams(b);
    }
    std::lock_guard<std::mutex> llk(s.logMutex);
    s.log.clear();
    return true;
  }
  if (key == "log-clear") {
    std::lock_guard<std::mutex> llk(s.logMutex);
    s.log.clear();
    return true;
  }
  if (key == "unfail") {
    s.faults.clear();
    s.openFailCode = 0;
    return true;
  }
  if (key == "fast" || key == "manual") {
    s.pace = key == "fast" ? Pace::Fast : Pace::Manual;
    return true;
  }
  if (key == "pace") {
    if (value == "real")
      s.pace = Pace::Real;
    else if (value == "fast")
      s.pace = Pace::Fast;
    else if (value == "manual")
      s.pace = Pace::Manual;
    else
      return false;
    return true;
  }
  int32_t v = 0;
  if (key == "boards") {
    if (!parseInt(value, v) || v < 0 || v > kMaxBoards || anyOpen(s)) return false;
    s.boardCount = v;
    return true;
  }
  if (key == "frames") {
    if (!parseInt(value, v) || v < 0) return false;
    s.frameLimit = v;
    return true;
  }
  if (key == "fail") {
    // fail=open:CODE or fail=FAMILY:ID:CODE
    const size_t c1 = value.find(':');
    if (c1 == std::string_view::npos) return false;
    const std::string_view fam = value.substr(0, c1);
    const std::string_view rest = value.substr(c1 + 1);
    if (fam == "open") {
      if (!parseInt(rest, v)) return false;
      s.openFailCode = v;
      return true;
    }
    int family = 0;
    const size_t c2 = rest.find(':');
    int32_t id = 0;
    if (!parseFamily(fam, family) || c2 == std::string_view::npos || !parseInt(rest.substr(0, c2), id) ||
        !parseInt(rest.substr(c2 + 1), v))
      return false;
    if (v == 0)
      s.faults.erase({family, id});
    else
      s.faults[{family, id}] = v;
    return true;
  }
  bool ok = true;
  for (Board& b : s.boards) {
    if (boardIndex >= 0 && b.index != boardIndex) continue;
    std::lock_guard<std::mutex> blk(b.m);
    ok = applySignalKey(b, key, value) && ok;
  }
  return ok;
}

bool applyCommands(const char* text, bool fromEnvironment) {
  if (!text) return false;
  State& s = state();
  bool ok = true;
  std::string_view all(text);
  while (!all.empty()) {
    const size_t semi = all.find(';');
    const std::string_view cmd = trim(all.substr(0, semi));
    all = semi == std::string_view::npos ? std::string_view{} : all.substr(semi + 1);
    if (cmd.empty()) continue;
    if (!applyOne(s, cmd)) {
      std::fprintf(stderr, "tyxapi32 sim: %s command not understood: %.*s\n",
                   fromEnvironment ? "TYXAPI32_SIM" : "control", static_cast<int>(cmd.size()), cmd.data());
      ok = false;
    }
  }
  return ok;
}

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
