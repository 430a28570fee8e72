// api_network.cpp - the simulated library's network camera calls: the device scan, versions and addresses.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "abi/tyxcamera.h"
#include "api_call.h"
#include "tyxcamera_sim.h"

using namespace tyxsim;

namespace {

bool parseIpv4(const char* text, uint8_t out[4]) {
  if (!text) return false;
  const size_t len = strnlen(text, 16);
  if (len == 0 || len > 15) return false;
  int part = 0;
  size_t i = 0;
  while (part < 4) {
    if (i >= len || text[i] < '0' || text[i] > '9') return false;
    int value = 0, digits = 0;
    while (i < len && text[i] >= '0' && text[i] <= '9') {
      value = value * 10 + (text[i] - '0');
      ++digits;
      ++i;
    }
    if (digits > 3 || value > 255 || (digits > 1 && text[i - digits] == '0')) return false;
    out[part++] = static_cast<uint8_t>(value);
    if (part < 4) {
      if (i >= len || text[i] != '.') return false;
      ++i;
    }
  }
  if (i != len) return false;
  const bool allZero = !out[0] && !out[1] && !out[2] && !out[3];
  const bool broadcast = out[0] == 255 && out[1] == 255 && out[2] == 255 && out[3] == 255;
  return !allZero && !broadcast;
}

uint32_t packIp(const std::string& dotted) {
  uint8_t b[4] = {0, 0, 0, 0};
  parseIpv4(dotted.c_str(), b);
  uint32_t v;
  std::memcpy(&v, b, 4);  // first byte of the address first in memory: network order
  return v;
}

}  // namespace

extern "C" {

TYXCAM_API int32_t tyxCamScanDevice(void* area208, void** list) {
  CallLog log("ScanDevice");
  simulatedDelay();
  Lock lock(state().mutex);
  if (!area208) return fail(log, kErrBadParam);
  std::vector<const SimCamera*> net;
  for (auto& [port, c] : state().cameras)
    if (c->netIndex >= 0) net.push_back(c.get());
  std::sort(net.begin(), net.end(),
            [](const SimCamera* a, const SimCamera* b) { return a->netIndex < b->netIndex; });
  if (net.size() > 4) net.resize(4);
  // The library keeps its own copy of the list for the caller to look at.
  static TyxNetDeviceRecord found[4];
  std::memset(found, 0, sizeof found);
  for (size_t i = 0; i < net.size(); ++i) {
    TyxNetDeviceRecord& r = found[i];
    r.number1 = net[i]->netIndex + 1;
    r.number2 = net[i]->type;
    r.ip1 = packIp(net[i]->ip);
    r.ip2 = packIp("192.168.1.1");
    r.ip3 = 5000 + net[i]->netIndex;
  }
  std::memcpy(area208, found, sizeof found);
  if (list) *list = found;
  if (net.empty()) setError(kErrCameraInfo);
  return log.result(static_cast<int32_t>(net.size()));
}

TYXCAM_API int32_t tyxCamGetNetCameraVer(void* cam, int32_t item) {
  HandleCall call("GetNetCameraVer", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("item", item);
  if (err) return fail(log, err);
  if (s->camera->netIndex < 0) return fail(log, kErrInvalidLink);
  switch (item) {
    case 1: return log.result(0x0203);  // ARM firmware 2.03
    case 2: return log.result(0x0110);  // core code 1.16
    case 3: return log.result(0x0301);  // FPGA firmware 3.01
    default: return fail(log, kErrBadParam);
  }
}

TYXCAM_API int32_t tyxCamSetCameraIP(void* cam, const char* ip, int32_t flag) {
  HandleCall call("SetCameraIP", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  const size_t len = ip ? strnlen(ip, 64) : 0;
  log.key("ip", ip ? std::string(ip, len) : std::string("-")).key("flag", flag);
  if (err) return fail(log, err);
  uint8_t b[4];
  if (!parseIpv4(ip, b)) return fail(log, kErrBadParam);
  if (s->camera->netIndex < 0) return fail(log, kErrInvalidLink);
  char dotted[16];
  std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  s->camera->ip = dotted;
  return log.result(1);
}

TYXCAM_API int32_t tyxCamGetNetCameraIP(void* cam, char* buffer20, int32_t reserved) {
  HandleCall call("GetNetCameraIP", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("reserved", reserved);
  if (err) return fail(log, err);
  if (!buffer20) return fail(log, kErrBadParam);
  if (s->camera->netIndex < 0) return fail(log, kErrInvalidLink);
  std::snprintf(buffer20, 20, "%s", s->camera->ip.c_str());
  return log.result(1);
}

}  // extern "C"
