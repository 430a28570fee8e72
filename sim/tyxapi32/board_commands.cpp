// board_commands.cpp - the control commands of the simulated boards (TYXAPI32_SIM, tyxSimControl).
#include "board_commands.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "board_state.h"

namespace boardsim {

namespace {

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

}  // namespace

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

}  // namespace boardsim
