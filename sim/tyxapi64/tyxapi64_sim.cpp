// tyxapi64_sim.cpp - simulated 64-bit board library: boards, serial lines and
// a small text-speaking camera on each serial channel.

#include "tyxapi64_sim.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kDefaultBoards = "6301:TYX-CL6301 Camera Link|6250:TYX-6250 Analog";
constexpr uint32_t kDefaultDelayMs = 20;
constexpr int kChannels = 2;
// A command line longer than this is thrown away; the camera answers ERR.
constexpr size_t kMaxCommand = 256;
// Keeps the record of received bytes from growing without bound in a long run.
constexpr size_t kMaxReceived = size_t{64} * 1024;

struct PendingByte {
  char byte;
  Clock::time_point due;
};

struct Channel {
  int32_t baud = 9600;
  int32_t dataBits = 8;
  int32_t stopBits = 0;
  int32_t parity = 0;
  std::deque<PendingByte> rx;  // camera to host, in order of arrival
  std::string line;            // command being received
  bool lineTooLong = false;
  std::string received;  // everything the host sent
  int32_t gain = 0;
  int32_t exposure = 1000;
};

struct Board {
  int32_t type = 0;
  std::string name;
  Channel channels[kChannels];
};

struct Handle {
  uint32_t board = 0;
  int32_t channel = 0;
};

struct State {
  // Guards every member below. Serial reads wait on `arrived` with it
  // released, so a write from another thread can complete a pending read.
  std::mutex mutex;
  std::condition_variable arrived;

  std::vector<Board> boards;
  std::vector<unsigned char> table;  // TYX64_BOARD_ENTRY_SIZE bytes per board
  // References are opaque numbers, never addresses, so a stale or forged
  // reference is recognised instead of dereferenced, and none is reused.
  std::map<uintptr_t, Handle> handles;
  uintptr_t nextRef = 0x7E10000;
  int32_t lastStatus = TYX64_STATUS_OK;
  bool immediate = false;
  uint32_t delayMs = kDefaultDelayMs;
  std::set<uint32_t> missing;
  std::optional<int32_t> readResult;
  std::vector<Tyx64ParamRecord> log;
};

State& state() {
  static State s;
  return s;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool parseInt(std::string_view text, long long& out) {
  std::string s(trim(text));
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}

void rebuildTable(State& s) {
  s.table.assign(s.boards.size() * TYX64_BOARD_ENTRY_SIZE, 0);
  for (size_t i = 0; i < s.boards.size(); ++i) {
    unsigned char* e = s.table.data() + i * TYX64_BOARD_ENTRY_SIZE;
    uint32_t index = static_cast<uint32_t>(i);
    int32_t channels = kChannels;
    std::memcpy(e + TYX64_BOARD_ENTRY_INDEX, &index, 4);
    std::memcpy(e + TYX64_BOARD_ENTRY_TYPE, &s.boards[i].type, 4);
    std::memcpy(e + TYX64_BOARD_ENTRY_CHANNELS, &channels, 4);
    const std::string& name = s.boards[i].name;
    // The table is zero-filled and NAME_MAX leaves room for the terminator.
    std::copy_n(name.data(), std::min<size_t>(name.size(), TYX64_BOARD_NAME_MAX), e + TYX64_BOARD_ENTRY_NAME);
  }
}

// "CODE[:NAME]|CODE[:NAME]|..."; a bad entry is reported and skipped.
bool setBoards(State& s, std::string_view list) {
  bool ok = true;
  s.boards.clear();
  s.handles.clear();
  while (!trim(list).empty()) {
    size_t bar = list.find('|');
    std::string_view entry = trim(list.substr(0, bar));
    list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
    if (entry.empty()) continue;
    size_t colon = entry.find(':');
    long long code = 0;
    if (!parseInt(entry.substr(0, colon), code) || code < INT32_MIN || code > INT32_MAX) {
      std::fprintf(stderr, "tyxapi64 simulator: bad board entry \"%.*s\"\n", static_cast<int>(entry.size()),
                   entry.data());
      ok = false;
      continue;
    }
    Board b;
    b.type = static_cast<int32_t>(code);
    if (colon != std::string_view::npos) b.name = std::string(trim(entry.substr(colon + 1)));
    if (b.name.size() > TYX64_BOARD_NAME_MAX) b.name.resize(TYX64_BOARD_NAME_MAX);
    s.boards.push_back(std::move(b));
  }
  rebuildTable(s);
  return ok;
}

bool setMissing(State& s, std::string_view list) {
  s.missing.clear();
  list = trim(list);
  if (list == "all") {
    for (uint32_t o : {1u, 3u, 4u, 9u, 66u, 122u, 123u, 124u}) s.missing.insert(o);
    return true;
  }
  if (list.empty() || list == "none") return true;
  bool ok = true;
  while (!list.empty()) {
    size_t comma = list.find(',');
    long long v = 0;
    if (parseInt(list.substr(0, comma), v) && v >= 0 && v <= UINT32_MAX)
      s.missing.insert(static_cast<uint32_t>(v));
    else
      ok = false;
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return ok;
}

bool truthy(const char* v) { return v && *v && std::strcmp(v, "0") != 0 && std::strcmp(v, "off") != 0; }

void configureFromEnvironment(State& s) {
  const char* boards = std::getenv("TYXAPI64_SIM_BOARDS");
  setBoards(s, boards ? boards : kDefaultBoards);
  s.immediate = truthy(std::getenv("TYXAPI64_SIM_IMMEDIATE"));
  s.delayMs = kDefaultDelayMs;
  long long delay = 0;
  if (const char* d = std::getenv("TYXAPI64_SIM_DELAY_MS"); d && parseInt(d, delay) && delay >= 0)
    s.delayMs = static_cast<uint32_t>(std::min<long long>(delay, 60000));
  const char* missing = std::getenv("TYXAPI64_SIM_MISSING");
  setMissing(s, missing ? missing : "");
  s.readResult.reset();
  s.log.clear();
  s.lastStatus = TYX64_STATUS_OK;
}

// Loads the configuration once, on the first call into the library.
State& configured() {
  static std::once_flag once;
  State& s = state();
  std::call_once(once, [&] {
    std::lock_guard lock(s.mutex);
    configureFromEnvironment(s);
  });
  return s;
}

Handle* findHandle(State& s, const void* ref) {
  auto it = s.handles.find(reinterpret_cast<uintptr_t>(ref));
  return it == s.handles.end() ? nullptr : &it->second;
}

Channel& channelOf(State& s, const Handle& h) { return s.boards[h.board].channels[h.channel]; }

// The camera's answer to one command line.
std::string answer(State& s, const Handle& h, Channel& ch, std::string_view cmd) {
  auto number = [](std::string_view v, int32_t lo, int32_t hi, int32_t& out) {
    long long n = 0;
    if (!parseInt(v, n) || n < lo || n > hi) return false;
    out = static_cast<int32_t>(n);
    return true;
  };
  if (cmd == "ID?") return "TYXSIM " + s.boards[h.board].name + " CH" + std::to_string(h.channel);
  if (cmd == "SER?")
    return std::to_string(ch.baud) + "," + std::to_string(ch.dataBits) + "," + std::to_string(ch.stopBits) +
           "," + std::to_string(ch.parity);
  if (cmd == "GAIN?") return std::to_string(ch.gain);
  if (cmd == "EXP?") return std::to_string(ch.exposure);
  if (cmd.substr(0, 5) == "GAIN=") return number(cmd.substr(5), 0, 1023, ch.gain) ? "OK" : "ERR";
  if (cmd.substr(0, 4) == "EXP=") return number(cmd.substr(4), 1, 1000000, ch.exposure) ? "OK" : "ERR";
  if (cmd.substr(0, 5) == "ECHO ") return std::string(cmd.substr(5));
  return "ERR";
}

void queueReply(State& s, Channel& ch, const std::string& reply) {
  Clock::time_point due = Clock::now() + std::chrono::milliseconds(s.immediate ? 0 : s.delayMs);
  // Bytes leave the camera in order, even if the delay was shortened meanwhile.
  if (!ch.rx.empty()) due = std::max(due, ch.rx.back().due);
  for (char c : reply) ch.rx.push_back({c, due});
  ch.rx.push_back({'\r', due});
}

void cameraReceives(State& s, const Handle& h, const char* data, uint32_t count) {
  Channel& ch = channelOf(s, h);
  for (uint32_t i = 0; i < count; ++i) {
    char c = data[i];
    if (ch.received.size() < kMaxReceived) ch.received.push_back(c);
    if (c == '\r' || c == '\n') {
      if (ch.lineTooLong)
        queueReply(s, ch, "ERR");
      else if (!ch.line.empty())
        queueReply(s, ch, answer(s, h, ch, ch.line));
      ch.line.clear();
      ch.lineTooLong = false;
    } else if (ch.line.size() < kMaxCommand) {
      ch.line.push_back(c);
    } else {
      ch.lineTooLong = true;
    }
  }
}

size_t bytesDue(const State& s, const Channel& ch, Clock::time_point now) {
  if (s.immediate) return ch.rx.size();
  size_t n = 0;
  while (n < ch.rx.size() && ch.rx[n].due <= now) ++n;
  return n;
}

// ---- the ordinal entries ------------------------------------------------

void* openBoard(uint64_t* boardIndex) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  if (!boardIndex) {
    s.lastStatus = TYX64_STATUS_INVALID_POINTER;
    return nullptr;
  }
  if (*boardIndex >= s.boards.size()) {
    s.lastStatus = TYX64_STATUS_INVALID_INDEX;
    return nullptr;
  }
  uintptr_t ref = s.nextRef;
  s.nextRef += 0x10;
  s.handles[ref] = Handle{static_cast<uint32_t>(*boardIndex), 0};
  s.lastStatus = TYX64_STATUS_OK;
  return reinterpret_cast<void*>(ref);
}

int32_t closeBoard(void* board) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  s.lastStatus =
      s.handles.erase(reinterpret_cast<uintptr_t>(board)) ? TYX64_STATUS_OK : TYX64_STATUS_INVALID_REFERENCE;
  return s.lastStatus;
}

int32_t lastStatus() {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  return s.lastStatus;
}

int32_t boardType(void* board, int32_t) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  Handle* h = findHandle(s, board);
  if (!h) {
    s.lastStatus = TYX64_STATUS_INVALID_REFERENCE;
    return 0;
  }
  s.lastStatus = TYX64_STATUS_OK;
  // The high half carries the board index, as on the real boards' status word;
  // only the low 16 bits are the type code.
  uint32_t code = static_cast<uint32_t>(s.boards[h->board].type) & 0xFFFFu;
  return static_cast<int32_t>((h->board << 16) | code);
}

int32_t boardTable(void** table, int32_t) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  if (!table) {
    s.lastStatus = TYX64_STATUS_INVALID_POINTER;
    return 0;
  }
  *table = s.table.empty() ? nullptr : s.table.data();
  s.lastStatus = TYX64_STATUS_OK;
  return static_cast<int32_t>(s.boards.size());
}

int32_t setSerialParam(void* board, int32_t index, int32_t value) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  Tyx64ParamRecord rec{board, -1, -1, index, value, TYX64_STATUS_OK};
  Handle* h = findHandle(s, board);
  if (!h) {
    rec.status = TYX64_STATUS_INVALID_REFERENCE;
  } else {
    rec.board = static_cast<int32_t>(h->board);
    rec.channel = h->channel;
    Channel& ch = channelOf(s, *h);
    auto apply = [&](int32_t lo, int32_t hi, int32_t& field, int32_t failure) {
      if (value == -1) return;  // keep the setting, re-program the line
      if (value < lo || value > hi)
        rec.status = failure;
      else
        field = value;
    };
    switch (index) {
      case 0: apply(0, kChannels - 1, h->channel, TYX64_STATUS_INVALID_VALUE); break;
      case 1: apply(300, 921600, ch.baud, TYX64_STATUS_BAUD_RATE_NOT_SUPPORTED); break;
      case 2: apply(5, 9, ch.dataBits, TYX64_STATUS_INVALID_VALUE); break;
      case 3: apply(0, 2, ch.stopBits, TYX64_STATUS_INVALID_VALUE); break;
      case 4: apply(0, 2, ch.parity, TYX64_STATUS_INVALID_VALUE); break;
      default: rec.status = TYX64_STATUS_INVALID_VALUE; break;
    }
  }
  s.log.push_back(rec);
  s.lastStatus = rec.status;
  return rec.status;
}

int32_t serialRead(void* ref, char* buffer, uint32_t count, uint32_t timeoutMs) {
  State& s = configured();
  std::unique_lock lock(s.mutex);
  Handle* h = findHandle(s, ref);
  if (!h) {
    s.lastStatus = TYX64_STATUS_INVALID_REFERENCE;
    return -1;
  }
  if (!buffer && count > 0) {
    s.lastStatus = TYX64_STATUS_INVALID_POINTER;
    return -1;
  }
  if (s.readResult) {
    int32_t forced = *s.readResult;
    s.readResult.reset();
    Channel& ch = channelOf(s, *h);
    size_t n = std::min<size_t>({ch.rx.size(), count, forced > 0 ? size_t(forced) : 0});
    for (size_t i = 0; i < n; ++i) buffer[i] = ch.rx[i].byte;
    ch.rx.erase(ch.rx.begin(), ch.rx.begin() + static_cast<long>(n));
    s.lastStatus = forced < 0 ? TYX64_STATUS_INVALID_VALUE : TYX64_STATUS_OK;
    return forced;
  }
  const uintptr_t key = reinterpret_cast<uintptr_t>(ref);
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    // The reference may be closed by another thread while this one waits.
    auto it = s.handles.find(key);
    if (it == s.handles.end()) {
      s.lastStatus = TYX64_STATUS_INVALID_REFERENCE;
      return -1;
    }
    Channel& ch = channelOf(s, it->second);
    Clock::time_point now = Clock::now();
    size_t due = bytesDue(s, ch, now);
    if (due >= count || s.immediate || now >= deadline) {
      size_t n = std::min<size_t>(due, count);
      for (size_t i = 0; i < n; ++i) buffer[i] = ch.rx[i].byte;
      ch.rx.erase(ch.rx.begin(), ch.rx.begin() + static_cast<long>(n));
      s.lastStatus = n > 0 ? TYX64_STATUS_OK : TYX64_STATUS_TIMEOUT;
      return static_cast<int32_t>(n);
    }
    Clock::time_point wake = deadline;
    if (due < ch.rx.size()) wake = std::min(wake, ch.rx[due].due);
    s.arrived.wait_until(lock, wake);
  }
}

int32_t serialWrite(void* ref, const char* buffer, uint32_t count, uint32_t) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  Handle* h = findHandle(s, ref);
  if (!h) {
    s.lastStatus = TYX64_STATUS_INVALID_REFERENCE;
    return -1;
  }
  if (!buffer && count > 0) {
    s.lastStatus = TYX64_STATUS_INVALID_POINTER;
    return -1;
  }
  // The simulated line accepts every byte at once, so a write never times out.
  cameraReceives(s, *h, buffer, count);
  s.lastStatus = TYX64_STATUS_OK;
  s.arrived.notify_all();
  return static_cast<int32_t>(std::min<uint32_t>(count, INT32_MAX));
}

}  // namespace

extern "C" {

#if defined(_WIN32)
void* tyx64OpenBoard(uint64_t* boardIndex) { return openBoard(boardIndex); }
int32_t tyx64CloseBoard(void* board) { return closeBoard(board); }
int32_t tyx64LastStatus(void) { return lastStatus(); }
int32_t tyx64BoardType(void* board, int32_t zero) { return boardType(board, zero); }
int32_t tyx64BoardTable(void** table, int32_t zero) { return boardTable(table, zero); }
int32_t tyx64SetSerialParam(void* board, int32_t index, int32_t value) {
  return setSerialParam(board, index, value);
}
int32_t tyx64SerialRead(void* ref, char* buffer, uint32_t count, uint32_t timeoutMs) {
  return serialRead(ref, buffer, count, timeoutMs);
}
int32_t tyx64SerialWrite(void* ref, const char* buffer, uint32_t count, uint32_t timeoutMs) {
  return serialWrite(ref, buffer, count, timeoutMs);
}
#else
TYXAPI64_API void* tyxapi64Ordinal(uint32_t ordinal) {
  State& s = configured();
  {
    std::lock_guard lock(s.mutex);
    if (s.missing.count(ordinal)) return nullptr;
  }
  switch (ordinal) {
    case TYX64_ORD_OPEN_BOARD: return reinterpret_cast<void*>(&openBoard);
    case TYX64_ORD_CLOSE_BOARD: return reinterpret_cast<void*>(&closeBoard);
    case TYX64_ORD_LAST_STATUS: return reinterpret_cast<void*>(&lastStatus);
    case TYX64_ORD_BOARD_TYPE: return reinterpret_cast<void*>(&boardType);
    case TYX64_ORD_BOARD_TABLE: return reinterpret_cast<void*>(&boardTable);
    case TYX64_ORD_SET_SERIAL_PARAM: return reinterpret_cast<void*>(&setSerialParam);
    case TYX64_ORD_SERIAL_READ: return reinterpret_cast<void*>(&serialRead);
    case TYX64_ORD_SERIAL_WRITE: return reinterpret_cast<void*>(&serialWrite);
    default: return nullptr;
  }
}
#endif

TYXAPI64_API int32_t tyxSim64Control(const char* commands) {
  if (!commands) return 0;
  State& s = configured();
  std::lock_guard lock(s.mutex);
  bool ok = true;
  std::string_view rest(commands);
  while (!rest.empty()) {
    size_t semi = rest.find(';');
    std::string_view cmd = trim(rest.substr(0, semi));
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    if (cmd.empty()) continue;
    size_t space = cmd.find(' ');
    std::string_view verb = cmd.substr(0, space);
    std::string_view arg = space == std::string_view::npos ? std::string_view() : trim(cmd.substr(space));
    long long n = 0;
    bool understood = true;
    if (verb == "reset") {
      configureFromEnvironment(s);
    } else if (verb == "boards") {
      understood = setBoards(s, arg);
    } else if (verb == "immediate" && (arg == "on" || arg == "off")) {
      s.immediate = arg == "on";
    } else if (verb == "delay" && parseInt(arg, n) && n >= 0 && n <= 60000) {
      s.delayMs = static_cast<uint32_t>(n);
    } else if (verb == "missing") {
      understood = setMissing(s, arg);
    } else if (verb == "read-result" && parseInt(arg, n) && n >= INT32_MIN && n <= INT32_MAX) {
      s.readResult = static_cast<int32_t>(n);
    } else if (verb == "log-clear") {
      s.log.clear();
    } else {
      understood = false;
    }
    if (!understood) {
      std::fprintf(stderr, "tyxapi64 simulator: command not understood: \"%.*s\"\n",
                   static_cast<int>(cmd.size()), cmd.data());
      ok = false;
    }
  }
  s.arrived.notify_all();
  return ok ? 1 : 0;
}

TYXAPI64_API uint32_t tyxSim64ParamCount(void) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  return static_cast<uint32_t>(s.log.size());
}

TYXAPI64_API int32_t tyxSim64ParamAt(uint32_t i, Tyx64ParamRecord* out) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  if (!out || i >= s.log.size()) return 0;
  *out = s.log[i];
  return 1;
}

TYXAPI64_API uint32_t tyxSim64OpenCount(void) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  return static_cast<uint32_t>(s.handles.size());
}

TYXAPI64_API int32_t tyxSim64IsOpen(const void* ref) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  return findHandle(s, ref) ? 1 : 0;
}

TYXAPI64_API int32_t tyxSim64LineSetting(uint32_t board, uint32_t channel, int32_t index, int32_t* value) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  if (!value || board >= s.boards.size() || channel >= kChannels) return 0;
  const Channel& ch = s.boards[board].channels[channel];
  switch (index) {
    case 1: *value = ch.baud; return 1;
    case 2: *value = ch.dataBits; return 1;
    case 3: *value = ch.stopBits; return 1;
    case 4: *value = ch.parity; return 1;
    default: return 0;
  }
}

TYXAPI64_API uint32_t tyxSim64Received(uint32_t board, uint32_t channel, char* buffer, uint32_t size) {
  State& s = configured();
  std::lock_guard lock(s.mutex);
  if (board >= s.boards.size() || channel >= kChannels) return 0;
  const std::string& r = s.boards[board].channels[channel].received;
  // Raw bytes as received, not a string: no terminator is added.
  if (buffer) std::copy_n(r.data(), std::min<size_t>(size, r.size()), buffer);
  return static_cast<uint32_t>(r.size());
}

}  // extern "C"
