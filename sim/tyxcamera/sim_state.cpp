// sim_state.cpp - shared state, control commands, call log and load-time set-up of the library.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>

#include "sim_internal.h"
#include "tyxcamera_sim.h"

namespace tyxsim {
namespace {

std::atomic<int32_t> g_lastError{0};

// The log has its own mutex: it is written at the end of every call, also
// while the state mutex is not held (callbacks, capture stop).
struct LogState {
  std::mutex mutex;  // guards lines and file
  std::string lines;
  FILE* file = nullptr;
};
// Never destroyed: the capture thread and late callers may still log while
// the library's other statics are being torn down.
LogState& logState() {
  static LogState* l = new LogState;
  return *l;
}

struct DefaultCamera {
  const char* port;
  int32_t type;
  int32_t version;
};
const DefaultCamera kDefaultSet[] = {
    {"COM1", 219290, 1},     {"COM2", 210781, 2},     {"COM3", 212630, 4},
    {"COM4", 215590, 9},     {"CamLink1", 120770, 1}, {"CamLink2", 117810, 1},
    {"USB/232-1", 210780, 4}, {"USB1", 219660, 1},    {"USB2", 211150, 1},
    {"NetPort1", 321880, 1}, {"NetPort2", 321140, 1}, {"NetPort3", 218920, 1},
    {"NetPort4", 212260, 1},
};

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool parseInt(const std::string& s, int64_t* out) {
  if (s.empty() || s.size() > 12) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  *out = v;
  return true;
}

bool validPortName(const std::string& p) {
  if (p.empty() || p.size() > 63) return false;
  for (char c : p)
    if (c <= ' ' || c == ',' || c == ';' || c == '=' || c == ':' || c == 127) return false;
  return true;
}

// Places a camera; its state starts at the factory settings.
std::shared_ptr<SimCamera> makeCamera(const std::string& port, int32_t type, int32_t version) {
  auto c = std::make_shared<SimCamera>();
  const TypeInfo* t = findType(type);
  static TypeInfo unknown;  // a type the library does not know: opening it reports 124
  c->info = t ? t : &unknown;
  c->type = type;
  c->version = version;
  c->port = port;
  c->current.cam = factoryCameraParams(*c->info);
  c->current.ext = factoryExtendedParams(*c->info);
  c->current.lin = factoryLinearParams(*c->info);
  c->memory = c->current;
  c->modelText = intern("TYX-" + std::to_string(type));
  if (port.rfind("NetPort", 0) == 0 && port.size() == 8 && port[7] >= '1' && port[7] <= '4') {
    c->netIndex = port[7] - '1';
    c->ip = "192.168.1." + std::to_string(101 + c->netIndex);
  }
  return c;
}

bool cmdCamera(SimState& s, const std::string& arg) {
  const size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  const std::string port = trim(arg.substr(0, eq));
  std::string value = trim(arg.substr(eq + 1));
  int64_t type = 0, version = -1;
  const size_t slash = value.find('/');
  if (slash != std::string::npos) {
    if (!parseInt(value.substr(slash + 1), &version) || version < 0 || version > INT32_MAX)
      return false;
    value = value.substr(0, slash);
  }
  if (!validPortName(port) || !parseInt(value, &type) || type <= 0 || type > INT32_MAX)
    return false;
  const TypeInfo* t = findType(static_cast<int32_t>(type));
  if (version < 0) version = t ? t->defaultVersion : 1;
  auto camera = makeCamera(port, static_cast<int32_t>(type), static_cast<int32_t>(version));
  loadKept(s, *camera);
  s.cameras[port] = camera;
  return true;
}

std::shared_ptr<SimCamera> cameraOn(SimState& s, const std::string& port) {
  auto it = s.cameras.find(port);
  return it == s.cameras.end() ? nullptr : it->second;
}

bool cmdFail(SimState& s, const std::string& arg) {
  const size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  const std::string what = trim(arg.substr(0, eq));
  int64_t code = 0;
  if (!parseInt(trim(arg.substr(eq + 1)), &code) || code <= 0 || code > 100000) return false;
  const int32_t c = static_cast<int32_t>(code);
  if (what == "*") {
    s.allParamFault = c;
  } else if (what == "read") {
    s.readFault = c;
  } else if (what == "memorize" || what == "recall" || what == "save" || what == "load" ||
             what == "open") {
    s.opFaults[what] = c;
  } else {
    int64_t id = 0;
    if (!parseInt(what, &id) || id < INT32_MIN || id > INT32_MAX) return false;
    s.paramFaults[static_cast<int32_t>(id)] = c;
  }
  return true;
}

bool cmdTag(SimState& s, const std::string& arg) {
  const size_t colon = arg.rfind(':');
  const size_t eq = arg.find('=', colon == std::string::npos ? 0 : colon);
  if (colon == std::string::npos || eq == std::string::npos) return false;
  auto cam = cameraOn(s, trim(arg.substr(0, colon)));
  int64_t tag = 0, value = 0;
  if (!cam || !parseInt(trim(arg.substr(colon + 1, eq - colon - 1)), &tag) ||
      !parseInt(trim(arg.substr(eq + 1)), &value) || tag < INT32_MIN || tag > INT32_MAX ||
      value < INT32_MIN || value > INT32_MAX)
    return false;
  cam->tagOverrides[static_cast<int32_t>(tag)] = static_cast<int32_t>(value);
  return true;
}

bool runOne(SimState& s, std::unique_lock<std::mutex>& lock, const std::string& cmd) {
  const size_t sp = cmd.find_first_of(" \t");
  const std::string word = cmd.substr(0, sp);
  const std::string arg = sp == std::string::npos ? std::string() : trim(cmd.substr(sp + 1));
  if (word == "reset" && arg.empty()) {
    // Close what a previous user left open so the default ports are free.
    for (auto& sess : s.sessions)
      if (sess->open) closeSessionLocked(sess.get(), lock);
    resetState(s);
    clearLog();
    return true;
  }
  if (word == "clear" && arg.empty()) {
    s.cameras.clear();
    return true;
  }
  if (word == "camera") return cmdCamera(s, arg);
  if (word == "remove") return s.cameras.erase(arg) == 1;
  if (word == "second-pass") {
    auto cam = cameraOn(s, arg);
    if (!cam) return false;
    cam->secondPass = true;
    cam->openAttempts = 0;
    return true;
  }
  if (word == "fail") return cmdFail(s, arg);
  if (word == "unfail" && arg.empty()) {
    s.paramFaults.clear();
    s.allParamFault = 0;
    s.readFault = 0;
    s.opFaults.clear();
    for (auto& sess : s.sessions) sess->vanishCode = 0;
    return true;
  }
  if (word == "vanish") {
    int64_t code = 0;
    if (!parseInt(arg, &code) || code <= 0 || code > 100000) return false;
    for (auto& sess : s.sessions)
      if (sess->open) sess->vanishCode = static_cast<int32_t>(code);
    return true;
  }
  if (word == "driver") {
    const size_t dot = arg.find('.');
    int64_t major = 0, minor = 0;
    if (dot == std::string::npos || !parseInt(arg.substr(0, dot), &major) ||
        !parseInt(arg.substr(dot + 1), &minor) || major < 0 || major > 0x7FFF || minor < 0 ||
        minor > 0xFFFF)
      return false;
    s.driverVersion = static_cast<int32_t>((major << 16) | minor);
    return true;
  }
  if (word == "tag") return cmdTag(s, arg);
  if (word == "model") {
    const size_t eq = arg.find('=');
    if (eq == std::string::npos) return false;
    auto cam = cameraOn(s, trim(arg.substr(0, eq)));
    if (!cam) return false;
    const std::string text = arg.substr(eq + 1);
    cam->modelText = text == "-" ? nullptr : intern(text);
    return true;
  }
  if (word == "keep") return setKeepFolder(s, arg);
  if (word == "log") return !arg.empty() && setLogFile(arg == "-" ? std::string() : arg);
  if (word == "log-clear" && arg.empty()) {
    clearLog();
    return true;
  }
  if (word == "fast" && arg.empty()) {
    s.fast = true;
    return true;
  }
  if (word == "delay") {
    int64_t ms = 0;
    if (!parseInt(arg, &ms) || ms < 0 || ms > 10000) return false;
    s.delayMs = static_cast<int32_t>(ms);
    return true;
  }
  if (word == "gamma-choice") {
    std::istringstream in(arg);
    std::string m, v, rest;
    int64_t mode = 0, value = 0;
    if (!(in >> m >> v) || (in >> rest) || !parseInt(m, &mode) || !parseInt(v, &value) ||
        mode < 1 || mode > 4 || value < 0 || value > 4095)
      return false;
    s.gammaMode = static_cast<int32_t>(mode);
    s.gammaValue = static_cast<int32_t>(value);
    return true;
  }
  return false;
}

// Runs TYXCAM_SIM once when the library is loaded, and stops every capture
// thread when it is unloaded so no thread outlives the code it runs.
struct LibraryLifetime {
  LibraryLifetime() {
    {
      std::lock_guard<std::mutex> lock(state().mutex);
      resetState(state());
    }
    if (const char* env = std::getenv("TYXCAM_SIM")) {
      if (std::strlen(env) > 65536 || !runCommands(env))
        std::fprintf(stderr, "tyxcamera: TYXCAM_SIM has commands that were not understood\n");
    }
  }
  ~LibraryLifetime() {
    std::vector<Session*> capturing;
    {
      std::lock_guard<std::mutex> lock(state().mutex);
      for (auto& s : state().sessions) {
        if (s->captureThread.joinable()) capturing.push_back(s.get());
        // A program that ends without closing its camera still leaves the
        // camera holding what it was given.
        if (s->open && s->camera) saveKept(state(), *s->camera);
      }
    }
    for (Session* s : capturing) stopCaptureThread(s);
    std::lock_guard<std::mutex> lock(logState().mutex);
    if (logState().file) std::fclose(logState().file);
    logState().file = nullptr;
  }
};
LibraryLifetime g_lifetime;

}  // namespace

// Never destroyed, for the same reason; the threads it refers to are
// stopped by LibraryLifetime before the library goes away.
SimState& state() {
  static SimState* s = new SimState;
  return *s;
}

void setError(int32_t code) { g_lastError.store(code); }
int32_t lastError() { return g_lastError.load(); }

const char* intern(const std::string& text) {
  static std::mutex* m = new std::mutex;  // guards texts
  static std::set<std::string>* texts = new std::set<std::string>;
  std::lock_guard<std::mutex> lock(*m);
  return texts->insert(text).first->c_str();
}

void resetState(SimState& s) {
  s.cameras.clear();
  for (const auto& d : kDefaultSet) s.cameras[d.port] = makeCamera(d.port, d.type, d.version);
  s.paramFaults.clear();
  s.allParamFault = 0;
  s.readFault = 0;
  s.opFaults.clear();
  s.driverVersion = 0x0002000A;
  s.delayMs = 0;
  s.fast = false;
  s.gammaMode = 2;
  s.gammaValue = 45;
  s.keepDir.clear();
  setError(0);
}

void closeSessionLocked(Session* s, std::unique_lock<std::mutex>& lock) {
  s->open = false;
  if (s->captureThread.joinable()) {
    lock.unlock();
    stopCaptureThread(s);
    lock.lock();
  }
}

void simulatedDelay() {
  int32_t ms = 0;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (!state().fast) ms = state().delayMs;
  }
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool runCommands(const std::string& commands) {
  SimState& s = state();
  std::unique_lock<std::mutex> lock(s.mutex);
  bool allOk = true;
  size_t start = 0;
  while (start <= commands.size()) {
    size_t end = commands.find(';', start);
    if (end == std::string::npos) end = commands.size();
    const std::string cmd = trim(commands.substr(start, end - start));
    if (!cmd.empty() && !runOne(s, lock, cmd)) {
      std::fprintf(stderr, "tyxcamera: command not understood: %s\n", cmd.c_str());
      allOk = false;
    }
    start = end + 1;
  }
  return allOk;
}

// ---- call log ----

namespace {
std::string clean(const std::string& v) {
  std::string out;
  out.reserve(v.size());
  for (unsigned char c : v) out += (c < ' ' || c == 127) ? '?' : static_cast<char>(c);
  return out;
}
}  // namespace

CallLog::CallLog(const char* name) : line_(name) {}
CallLog::~CallLog() { appendLog(line_ + " -> " + result_); }
CallLog& CallLog::key(const char* k, const std::string& v) {
  line_ += ' ';
  line_ += k;
  line_ += '=';
  line_ += clean(v);
  return *this;
}
CallLog& CallLog::key(const char* k, long long v) { return key(k, std::to_string(v)); }
CallLog& CallLog::port(const Session* s, const void* handle) {
  if (!handle) return key("port", "-");
  return key("port", s ? s->port : std::string("?"));
}
int32_t CallLog::result(int32_t r) {
  result_ = std::to_string(r);
  return r;
}
double CallLog::result(double r) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", r);
  result_ = buf;
  return r;
}
void* CallLog::resultPtr(void* p) {
  result_ = p ? "1" : "0";
  return p;
}

void appendLog(const std::string& line) {
  LogState& l = logState();
  std::lock_guard<std::mutex> lock(l.mutex);
  // Bound the in-memory log so a long session cannot exhaust memory: drop
  // the oldest half when it grows past 16 MiB.
  if (l.lines.size() > size_t{16} * 1024 * 1024) {
    size_t cut = l.lines.find('\n', l.lines.size() / 2);
    l.lines.erase(0, cut == std::string::npos ? l.lines.size() : cut + 1);
  }
  l.lines += line;
  l.lines += '\n';
  if (l.file) {
    std::fputs(line.c_str(), l.file);
    std::fputc('\n', l.file);
    std::fflush(l.file);
  }
}

std::string readLog() {
  std::lock_guard<std::mutex> lock(logState().mutex);
  return logState().lines;
}

void clearLog() {
  std::lock_guard<std::mutex> lock(logState().mutex);
  logState().lines.clear();
}

bool setLogFile(const std::string& path) {
  LogState& l = logState();
  std::lock_guard<std::mutex> lock(l.mutex);
  if (l.file) std::fclose(l.file);
  l.file = nullptr;
  if (path.empty()) return true;
  if (path.size() > 4096) return false;
  l.file = std::fopen(path.c_str(), "a");
  return l.file != nullptr;
}

}  // namespace tyxsim

using namespace tyxsim;

extern "C" TYXCAM_API int32_t tyxSimControl(const char* commands) {
  if (!commands) return 0;
  if (std::strlen(commands) > 65536) return 0;
  return runCommands(commands) ? 1 : 0;
}

extern "C" TYXCAM_API int32_t tyxSimReadLog(char* buffer, int32_t size) {
  const std::string log = readLog();
  if (buffer && size > 0) {
    const size_t n = std::min(log.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, log.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int32_t>(std::min<size_t>(log.size(), INT32_MAX));
}

extern "C" TYXCAM_API int32_t tyxSimVideoSignal(TyxSimVideoSignal* signal) {
  if (!signal) return 0;
  std::lock_guard<std::mutex> lock(state().mutex);
  const auto& sessions = state().sessions;
  // The most recently opened first.
  for (size_t i = sessions.size(); i-- > 0;) {
    const Session& s = *sessions[i];
    if (!s.open || s.vanishCode != 0 || !s.camera || !s.camera->info || s.camera->info->usbImage) continue;
    const PictureSettings p = pictureSettings(*s.camera);
    for (int v = 0; v < 256; ++v) signal->level[v] = outputLevel(v, p);
    signal->hInverse = p.hInverse;
    signal->vInverse = p.vInverse;
    signal->rGain = p.rGain;
    signal->gGain = p.gGain;
    signal->bGain = p.bGain;
    signal->outputMode = p.outputMode;
    signal->colour = p.colour ? 1 : 0;
    return 1;
  }
  return 0;
}
