// api.cpp - the simulated library's exported calls: opening, parameters, memory, files, tags, serial.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "config_file.h"
#include "param_ids.h"
#include "sim_internal.h"
#include "abi/tyxcamera.h"
#include "api_call.h"
#include "tyxcamera_sim.h"

using namespace tyxsim;

namespace {

constexpr size_t kMaxOpenString = 255;
constexpr size_t kMaxPath = 4096;

const char* const kKnownPorts[] = {
    "COM1",      "COM2", "COM3", "COM4", "CamLink1", "CamLink2", "USB/232-1", "USB/232-2", "USB/232-3",
    "USB/232-4", "USB1", "USB2", "USB3", "USB4",     "NetPort1", "NetPort2",  "NetPort3",  "NetPort4"};

bool hasExtended(const SimCamera& c) { return c.tag(34) == 1; }

// The fault injected for a whole operation ("memorize", "save", ...), or 0
// (injected codes are always positive).
int32_t opFault(const char* operation) {
  const auto& faults = state().opFaults;
  auto it = faults.find(operation);
  return it == faults.end() ? 0 : it->second;
}

// The configuration-file path of a save or load: logged (cut when too long),
// then checked after the handle and the injected fault. Returns 0 and the
// path, or the error code.
int32_t checkConfigPath(CallLog& log, int32_t handleError, const char* utf8Path, const char* operation,
                        std::string* path) {
  const size_t len = utf8Path ? strnlen(utf8Path, kMaxPath + 1) : 0;
  log.key("path", !utf8Path        ? std::string("-")
                  : len > kMaxPath ? std::string("(too long)")
                                   : std::string(utf8Path, len));
  if (handleError) return handleError;
  if (!utf8Path) return kErrBadParam;
  if (len == 0 || len > kMaxPath) return kErrConfigOpen;
  if (const int32_t f = opFault(operation)) return f;
  path->assign(utf8Path, len);
  return 0;
}

int32_t paramFault(int32_t id) {
  const SimState& st = state();
  auto it = st.paramFaults.find(id);
  if (it != st.paramFaults.end()) return it->second;
  return st.allParamFault;
}

// The white balance measures the scene's colour cast (red 0.9, blue 1.1
// against green, see the test picture) and sets gains that cancel it, on
// the 0..252 step-4 scale of the colour page (0..255 on 321140).
void whiteBalance(SimCamera& c) {
  TyxCameraParams& p = c.current.cam;
  const int32_t green = 128;
  auto round4 = [&c](double v) {
    int32_t g = static_cast<int32_t>(std::lround(v));
    if (c.type != 321140) g = (g + 2) / 4 * 4;
    return std::clamp(g, 0, c.type == 321140 ? 255 : 252);
  };
  p.gGain = green;
  p.rGain = round4(green / 0.9);
  p.bGain = round4(green / 1.1);
}

bool melkoOnly(int32_t id) { return id == 59 || (id >= 61 && id <= 66) || id == 68 || id == 69; }

// Free-running (work modes 0 and 1) a line-scan camera can only run a
// timing pair that makes sense: on 117810 Time1 is the exposure and Time2
// the line period, so the exposure may not be longer than the period, and
// edge-controlled the two are one; on 120770 and 110410 the line period
// Time1 + Time2 lies between 108 (27) and 500. After a write of one time the
// camera keeps that time and moves the other one as little as it must,
// never below 1; the next block read reports it. Externally synchronised
// the line comes from outside and the camera takes either time as it is.
void settleTimingPair(SimCamera& c, int32_t writtenId) {
  TyxLinearParams& l = c.current.lin;
  if (l.workMode != 0 && l.workMode != 1) return;
  const bool time1Written = writtenId == 106;
  const int32_t written = time1Written ? l.time1 : l.time2;
  int32_t& other = time1Written ? l.time2 : l.time1;
  if (c.type == 117810) {
    const bool follow = l.workMode == 1 ? l.time1 != l.time2 : l.time1 > l.time2;
    if (follow) other = written;
    return;
  }
  const int32_t lower = c.type == 120770 ? 108 : 27;
  const int64_t sum = int64_t{l.time1} + l.time2;
  if (sum > 500)
    other = std::max(500 - written, 1);
  else if (sum < lower)
    other = std::min(lower - written, 500);
}

// One value written with mode 0. Returns 0 or the error code.
int32_t writeSingle(SimCamera& c, int32_t id, int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) return kErrBadParam;
  const int32_t value = static_cast<int32_t>(v);
  if (isLineScan(c)) {
    const LinearField* f = linearField(id);
    if (!f || checkLinearRange(*c.info, id, value)) return kErrBadParam;
    c.current.lin.*(f->member) = value;
    if (id == 106 || id == 107) settleTimingPair(c, id);
    return 0;
  }
  if (melkoOnly(id) && c.type != 321140) return kErrBadParam;
  switch (id) {
    case 15:  // gamma value chosen in the gamma dialog
      if (value < 0 || value > 4095) return kErrBadParam;
      c.misc[15] = value;
      return 0;
    case 29: {  // short-exposure setting, kept in saturation
      const int32_t hi = hasShortExposure(c) ? static_cast<int32_t>(c.info->linePeriodUs) - 1 : 255;
      if (value < 0 || value > hi) return kErrBadParam;
      c.current.cam.saturation = value;
      return 0;
    }
    case 38:  // start the automatic white balance
      if (!c.info->colour || value != 1) return kErrBadParam;
      whiteBalance(c);
      return 0;
    case 57:  // manual white balance of the 4K video model
      if (c.type != 321880 || value != 1) return kErrBadParam;
      c.misc[57] = value;
      return 0;
    case 61:
      if (value < 0 || value > 4) return kErrBadParam;
      c.misc[id] = value;
      return 0;
    case 65:
    case 66:
      if (value < 0 || value > 255) return kErrBadParam;
      c.misc[id] = value;
      return 0;
    case 69:
      if (value < 0 || value > 1) return kErrBadParam;
      c.misc[id] = value;
      return 0;
    case 68: {
      // Exposure lines; the camera holds a free-running exposure to 1568.
      if (value < 0 || value > 4091) return kErrBadParam;
      c.current.cam.exposalTime = std::min(value, c.current.cam.runMode == 1 ? 1568 : 4091);
      return 0;
    }
    default: break;
  }
  if (const ExtendedField* f = extendedField(id)) {
    if (!hasExtended(c)) return kErrBadParam;
    if (id >= 48 && c.type != 321880) return kErrBadParam;
    if (checkExtendedRange(id, value)) return kErrBadParam;
    c.current.ext.*(f->member) = value;
    return 0;
  }
  if (const ParamField* f = cameraField(id)) {
    if (checkRange(*c.info, id, value)) return kErrBadParam;
    c.current.cam.*(f->member) = value;
    if (id == 2) c.current.cam.usbTrigger = value == 2 ? 1 : 0;
    return 0;
  }
  return kErrBadParam;
}

// One value read with a single id. Returns 0 or the error code.
int32_t readSingle(const SimCamera& c, const ParamSet& src, int32_t id, int32_t* out) {
  if (isLineScan(c)) {
    const LinearField* f = linearField(id);
    if (!f) return kErrBadParam;
    *out = src.lin.*(f->member);
    return 0;
  }
  if (melkoOnly(id) && c.type != 321140) return kErrBadParam;
  if (id == 68) {
    *out = src.cam.exposalTime;
    return 0;
  }
  if (id == 29) {
    *out = src.cam.saturation;
    return 0;
  }
  if (id == 15 || id == 61 || id == 65 || id == 66 || id == 69) {
    auto it = c.misc.find(id);
    *out = it == c.misc.end() ? 0 : it->second;
    return 0;
  }
  if (const ExtendedField* f = extendedField(id)) {
    if (!hasExtended(c) || (id >= 48 && c.type != 321880)) return kErrBadParam;
    *out = src.ext.*(f->member);
    return 0;
  }
  if (const ParamField* f = cameraField(id)) {
    *out = src.cam.*(f->member);
    return 0;
  }
  return kErrBadParam;
}

}  // namespace

extern "C" {

TYXCAM_API void* tyxCamOpenCamera(int32_t* type, const char* port) {
  CallLog log("OpenCamera");
  simulatedDelay();
  Lock lock(state().mutex);
  SimState& st = state();
  if (!port) {
    log.key("port", "-");
    setError(kErrBadParam);
    return log.resultPtr(nullptr);
  }
  const size_t len = strnlen(port, kMaxOpenString + 1);
  if (len > kMaxOpenString) {
    log.key("port", "(too long)");
    setError(kErrBadParam);
    return log.resultPtr(nullptr);
  }
  const std::string open(port, len);
  const size_t comma = open.find(',');
  const std::string name = open.substr(0, comma);
  log.key("port", name);
  log.key("type", type ? std::to_string(*type) : std::string("-"));
  bool settingsOk = true;
  if (comma != std::string::npos) {
    // Serial settings "key=value,key=value,...": logged one key each.
    const std::string settings = open.substr(comma + 1);
    size_t start = 0;
    while (start <= settings.size()) {
      size_t end = settings.find(',', start);
      if (end == std::string::npos) end = settings.size();
      const std::string pair = settings.substr(start, end - start);
      const size_t eq = pair.find('=');
      if (eq == std::string::npos || eq == 0 || pair.find(' ') != std::string::npos) {
        settingsOk = false;
        break;
      }
      log.key(pair.substr(0, eq).c_str(), pair.substr(eq + 1));
      start = end + 1;
    }
  }
  if (!type || !settingsOk || name.empty()) {
    setError(kErrBadParam);
    return log.resultPtr(nullptr);
  }
  const bool netPort = name.rfind("NetPort", 0) == 0;
  if (*type == -1 || *type == -2) {
    if ((*type == -1) != netPort) log.key("note", "type-does-not-match-port");
  } else if (*type <= 0) {
    setError(kErrBadParam);
    return log.resultPtr(nullptr);
  }
  if (const int32_t f = opFault("open")) {
    setError(f);
    return log.resultPtr(nullptr);
  }
  auto it = st.cameras.find(name);
  if (it == st.cameras.end()) {
    const bool known =
        std::any_of(std::begin(kKnownPorts), std::end(kKnownPorts), [&](const char* p) { return name == p; });
    setError(known ? kErrCameraInfo : kErrOpenPort);
    return log.resultPtr(nullptr);
  }
  for (auto& s : st.sessions) {
    if (s->open && s->port == name) {
      setError(kErrOpenPort);  // one handle per port
      return log.resultPtr(nullptr);
    }
  }
  std::shared_ptr<SimCamera> cam = it->second;
  if (cam->secondPass && ++cam->openAttempts < 2) {
    setError(kErrCameraInfo);  // the camera has not woken up yet
    return log.resultPtr(nullptr);
  }
  if (cam->info->type == 0) {
    setError(kErrTypeCode);
    return log.resultPtr(nullptr);
  }
  if (*type > 0 && *type != cam->type) {
    setError(kErrSpecificCamera);
    return log.resultPtr(nullptr);
  }
  auto session = std::make_unique<Session>();
  session->port = name;
  session->camera = cam;
  Session* s = session.get();
  st.sessions.push_back(std::move(session));
  *type = cam->type;
  return log.resultPtr(s);
}

TYXCAM_API int32_t tyxCamCloseCamera(void* cam) {
  HandleCall call("CloseCamera", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (!s || !s->open) return fail(log, kErrInvalidHandle);
  // A vanished camera cannot be told, but the handle and the port are still
  // released so that the program can open it again.
  closeSessionLocked(s, lock);
  s->captureBlock = nullptr;
  if (s->camera) saveKept(state(), *s->camera);
  if (err) return fail(log, err);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamSetConfigParam(void* cam, int32_t id, intptr_t value, int16_t mode) {
  HandleCall call("SetConfigParam", cam, kSlowCall);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("id", id);
  if (mode == 2)
    log.key("value", "block");
  else
    log.key("value", static_cast<long long>(value));
  log.key("mode", mode);
  if (err) return fail(log, err);
  if (const int32_t f = paramFault(id)) return fail(log, f);
  SimCamera& c = *s->camera;
  if (mode == 2) {
    if (!value) return fail(log, kErrBadParam);
    switch (id) {
      case -2: {
        // "Default Param": the camera restores its factory settings; the
        // block passed in only has to be a CameraParams record.
        if (isLineScan(c)) return fail(log, kErrBadParam);
        const auto* p = reinterpret_cast<const TyxCameraParams*>(value);
        if (p->size != static_cast<int32_t>(sizeof(TyxCameraParams))) return fail(log, kErrBadParam);
        c.current.cam = factoryCameraParams(*c.info);
        return log.result(1);
      }
      case 35: {
        if (!hasExtended(c)) return fail(log, kErrBadParam);
        TyxExtendedParams e;
        std::memcpy(&e, reinterpret_cast<const void*>(value), sizeof e);
        if (checkExtendedBlock(e)) return fail(log, kErrBadParam);
        c.current.ext = e;
        return log.result(1);
      }
      case 101: {
        if (!isLineScan(c)) return fail(log, kErrBadParam);
        const auto* p = reinterpret_cast<const TyxLinearParams*>(value);
        if (p->size != static_cast<int32_t>(sizeof(TyxLinearParams))) return fail(log, kErrBadParam);
        c.current.lin = factoryLinearParams(*c.info);
        return log.result(1);
      }
      default: return fail(log, kErrBadParam);
    }
  }
  if (mode != 0) return fail(log, kErrBadParam);
  if (const int32_t e = writeSingle(c, id, value)) return fail(log, e);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamGetConfigParam(void* cam, int32_t id, void* block, int32_t mode) {
  HandleCall call("GetConfigParam", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("id", id).key("mode", mode);
  if (err) return fail(log, err);
  if (const int32_t f = paramFault(id)) return fail(log, f);
  const bool whole = id == -1 || id == 34 || id == 100;
  if (whole && state().readFault) return fail(log, state().readFault);
  if (!block || (mode != 0 && mode != 1)) return fail(log, kErrBadParam);
  SimCamera& c = *s->camera;
  const ParamSet& src = mode == 0 ? c.current : c.memory;
  int32_t size = 0;
  std::memcpy(&size, block, sizeof size);  // every block starts with its size
  switch (id) {
    case -1:
      if (isLineScan(c) || size != static_cast<int32_t>(sizeof(TyxCameraParams)))
        return fail(log, kErrBadParam);
      std::memcpy(block, &src.cam, sizeof src.cam);
      return log.result(1);
    case 34:
      if (!hasExtended(c) || size != static_cast<int32_t>(sizeof(TyxExtendedParams)))
        return fail(log, kErrBadParam);
      std::memcpy(block, &src.ext, sizeof src.ext);
      return log.result(1);
    case 100:
      if (!isLineScan(c) || size != static_cast<int32_t>(sizeof(TyxLinearParams)))
        return fail(log, kErrBadParam);
      std::memcpy(block, &src.lin, sizeof src.lin);
      return log.result(1);
    default: {
      int32_t v = 0;
      if (const int32_t e = readSingle(c, src, id, &v)) return fail(log, e);
      std::memcpy(block, &v, sizeof v);
      return log.result(1);
    }
  }
}

TYXCAM_API int32_t tyxCamMemorizeParam(void* cam) {
  HandleCall call("MemorizeParam", cam, kSlowCall);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  if (const int32_t f = opFault("memorize")) return fail(log, f);
  s->camera->memory = s->camera->current;
  return log.result(1);
}

TYXCAM_API int32_t tyxCamRecallParam(void* cam) {
  HandleCall call("RecallParam", cam, kSlowCall);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  if (const int32_t f = opFault("recall")) return fail(log, f);
  s->camera->current = s->camera->memory;
  return log.result(1);
}

TYXCAM_API int32_t tyxCamSaveConfigFile(void* cam, const char* utf8Path) {
  HandleCall call("SaveConfigFile", cam, kSlowCall);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  std::string path;
  if (const int32_t e = checkConfigPath(log, err, utf8Path, "save", &path)) return fail(log, e);
  const SimCamera& c = *s->camera;
  ParsedConfig pc;
  pc.product = c.type;
  pc.version = c.version;
  pc.cam = c.current.cam;
  pc.ext = c.current.ext;
  pc.lin = c.current.lin;
  const std::string content = formatConfigFile(pc);
  lock.unlock();  // file writes can be slow; the capture thread need not wait
  const bool ok = writeFileAtomically(path, content);
  if (!ok) return fail(log, kErrConfigOpen);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamLoadConfigFile(void* cam, const char* utf8Path) {
  HandleCall call("LoadConfigFile", cam, kSlowCall);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  std::string path;
  if (const int32_t e = checkConfigPath(log, err, utf8Path, "load", &path)) return fail(log, e);
  std::vector<uint8_t> data;
  if (!readFileLimited(path, kMaxConfigFileSize, &data)) return fail(log, kErrConfigOpen);
  ParsedConfig pc;
  int perr = 0;
  if (!parseConfigFile(data.data(), data.size(), &pc, &perr)) return fail(log, perr);
  SimCamera& c = *s->camera;
  if (pc.product != c.type) return fail(log, kErrProductId);
  // The numbers are checked like single writes: a file edited into values the
  // camera refuses is a damaged file, and nothing of it is applied.
  const bool lineScan = isLineScan(c);
  if (checkConfigBlocks(c, pc) != 0) return fail(log, kErrConfigTag);
  // Sensor geometry is the camera's own, whatever the file says.
  pc.cam.marker = c.current.cam.marker;
  pc.cam.lineStep = c.info->lineStep;
  pc.cam.lineCount = c.info->lineCount;
  pc.lin.marker = c.current.lin.marker;
  if (!lineScan) c.current.cam = pc.cam;
  c.current.ext = pc.ext;
  if (lineScan) c.current.lin = pc.lin;
  return log.result(1);
}

TYXCAM_API int32_t tyxCamGetLastError(void) { return lastError(); }

TYXCAM_API int32_t tyxCamGetTypeCode(void* cam, const char** modelText) {
  HandleCall call("GetTypeCode", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  if (modelText) *modelText = s->camera->modelText;
  return log.result(s->camera->type);
}

TYXCAM_API int32_t tyxCamGetVerCode(void* cam, int32_t reserved) {
  HandleCall call("GetVerCode", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("reserved", reserved);
  if (err) return fail(log, err);
  return log.result(s->camera->version);
}

TYXCAM_API int32_t tyxCamGetDriverVer(void* cam, int32_t reserved) {
  CallLog log("GetDriverVer");
  Lock lock(state().mutex);
  // The driver version needs no camera; the program asks with a null handle.
  log.port(findSession(cam), cam).key("reserved", reserved);
  return log.result(state().driverVersion);
}

TYXCAM_API int32_t tyxCamFunctionTag(void* cam, int32_t tag) {
  HandleCall call("FunctionTag", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("tag", tag);
  if (err) return fail(log, err);
  return log.result(s->camera->tag(tag));
}

TYXCAM_API int32_t tyxGammaDlgCallback(void* cam, void* owner, int32_t* table, int32_t count, int32_t bits,
                                       uint8_t flag, TyxGammaCheckCallback check,
                                       TyxGammaApplyCallback apply) {
  HandleCall call("GammaDlgCallback", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("count", count).key("bits", bits).key("flag", flag);
  if (err) return fail(log, err);
  if (!table || count <= 0 || count > 4096 || bits < 1 || bits > 16) return fail(log, kErrBadParam);
  const int32_t mode = state().gammaMode;
  const int32_t value = state().gammaValue;
  // The callbacks call back into the library (the program writes ids 3 and
  // 15 from apply), so the state lock must not be held across them.
  lock.unlock();
  const int32_t radio = check ? check(owner) : 0;
  log.key("check", radio);
  if (apply) {
    apply(cam, value, 0, mode);
    log.key("value", value).key("mode", mode);
  }
  return log.result(1);
}

TYXCAM_API int32_t tyxCamWriteSerial(void* cam, const char* data, int32_t count) {
  HandleCall call("WriteSerial", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("count", count);
  if (err) return fail(log, err);
  if (!data || count < 0) return fail(log, kErrSerialWrite);
  return log.result(count);  // the simulated camera swallows what it is sent
}

TYXCAM_API int32_t tyxCamReadSerial(void* cam, char* data, int32_t count) {
  HandleCall call("ReadSerial", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("count", count);
  if (err) return fail(log, err);
  if (!data || count < 0) return fail(log, kErrSerialRead);
  return log.result(0);  // nothing to read
}

TYXCAM_API int32_t tyxSetCameraInfo(void* cam, void* info) {
  HandleCall call("SetCameraInfo", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  (void)info;
  if (err) return fail(log, err);
  return fail(log, kErrBadParam);  // not supported by the simulated cameras
}

}  // extern "C"
