// api_usb.cpp - the simulated library's USB image calls: capture, target window, rate, USB information.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "abi/tyxcamera.h"
#include "api_call.h"
#include "tyxcamera_sim.h"

using namespace tyxsim;

namespace {

bool isUsb(const SimCamera& c) { return c.info->usbImage; }

void targetSize(const Session& s, int32_t* w, int32_t* h) {
  const TypeInfo& t = *s.camera->info;
  *w = s.targetWidth > 0 ? s.targetWidth : t.usbMaxWidth;
  *h = s.targetHeight > 0 ? s.targetHeight : t.usbMaxHeight;
}

void stopCaptureLocked(Session* s, Lock& lock) {
  if (!s->captureThread.joinable()) return;
  lock.unlock();
  stopCaptureThread(s);
  lock.lock();
  s->captureBlock = nullptr;
}

}  // namespace

extern "C" {

TYXCAM_API int32_t tyxCamCaptureFrame(void* cam, void** frame, int32_t mode) {
  HandleCall call("CaptureFrame", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("mode", mode);
  if (err) return fail(log, err);
  if (!frame || (mode != 0 && mode != 1)) return fail(log, kErrBadParam);
  if (!isUsb(*s->camera)) return fail(log, kErrInvalidLink);
  stopCaptureLocked(s, lock);
  int32_t w = 0, h = 0;
  targetSize(*s, &w, &h);
  const bool colour = s->camera->info->colour;
  FrameBlock* f = nullptr;
  // Continuous capture goes on in the caller's block when it fits; otherwise,
  // and for single frames, a new block is made. A block that no longer fits
  // is left to its owner, never freed behind the caller's back.
  if (mode == 0 && *frame && isLiveFrame(*frame) &&
      frameMatches(static_cast<FrameBlock*>(*frame), w, h, colour))
    f = static_cast<FrameBlock*>(*frame);
  if (!f) f = allocateFrame(w, h, colour);
  if (!f) return fail(log, 5);  // allocate memory error
  const PictureSettings ps = pictureSettings(*s->camera);
  void* bitmap = tyxCamFrameLock(f);
  renderFrame(f, ps, 0);
  tyxCamFrameUnlock(f);
  (void)bitmap;
  {
    std::lock_guard<std::mutex> l(s->captureMutex);
    s->framesCaptured = s->framesCaptured < 0 ? 1 : s->framesCaptured + 1;
  }
  *frame = f;
  if (mode == 0) startCapture(s, f);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamSetTargetRect(void* cam, const int32_t* rect4) {
  HandleCall call("SetTargetRect", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (rect4)
    log.key("rect", std::to_string(rect4[0]) + "," + std::to_string(rect4[1]) + "," +
                        std::to_string(rect4[2]) + "," + std::to_string(rect4[3]));
  else
    log.key("rect", "-");
  if (err) return fail(log, err);
  if (!rect4) return fail(log, kErrBadParam);
  if (!isUsb(*s->camera)) return fail(log, kErrInvalidLink);
  const int64_t w = int64_t{rect4[2]} - rect4[0];
  const int64_t h = int64_t{rect4[3]} - rect4[1];
  if (rect4[0] < 0 || rect4[1] < 0 || w <= 0 || h <= 0) return fail(log, kErrBadParam);
  const TypeInfo& t = *s->camera->info;
  s->targetWidth = static_cast<int32_t>(std::min<int64_t>(w, t.usbMaxWidth));
  s->targetHeight = static_cast<int32_t>(std::min<int64_t>(h, t.usbMaxHeight));
  return log.result(1);
}

TYXCAM_API float tyxCamGetCaptureRate(void* cam, void* window, int32_t* count) {
  (void)window;
  HandleCall call("GetCaptureRate", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) {
    if (count) *count = -1;
    setError(err);
    return static_cast<float>(log.result(0.0));
  }
  double rate = 0.0;
  int64_t frames = -1;
  {
    std::lock_guard<std::mutex> l(s->captureMutex);
    frames = s->framesCaptured;
    const auto& t = s->frameTimes;
    if (s->captureThread.joinable() && t.size() >= 2 && t.back() > t.front())
      rate = static_cast<double>(t.size() - 1) / (t.back() - t.front());
  }
  if (count) *count = static_cast<int32_t>(std::min<int64_t>(frames, INT32_MAX));
  return static_cast<float>(log.result(rate));
}

TYXCAM_API int32_t tyxCamStopCapture(void* cam) {
  HandleCall call("StopCapture", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  stopCaptureLocked(s, lock);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamGetUsbInfo(void* cam, int32_t selector, void* out) {
  HandleCall call("GetUsbInfo", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("selector", selector);
  if (err) return fail(log, err);
  if (!out) return fail(log, kErrBadParam);
  if (!isUsb(*s->camera)) return fail(log, kErrInvalidLink);
  int32_t v = 0;
  switch (selector) {
    case 1: {
      TyxUsbInfo info{};
      info.size = sizeof(TyxUsbInfo);
      info.firmwareVersion = 0x0105;
      info.hardwareVersion = 0x0201;
      info.fpgaVersion = 0x5A;  // hardware type, shown in hexadecimal
      info.maxWidth = s->camera->info->usbMaxWidth;
      info.maxHeight = s->camera->info->usbMaxHeight;
      std::memcpy(out, &info, sizeof info);
      return log.result(1);
    }
    case 2: v = 0x0203; break;  // software 2.03
    case 3: v = 0x0105; break;  // driver 1.05
    default: return fail(log, kErrBadParam);
  }
  std::memcpy(out, &v, sizeof v);
  return log.result(1);
}

TYXCAM_API int32_t tyxCamGetLinkStatus(void* cam) {
  HandleCall call("GetLinkStatus", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  return log.result(1);
}

}  // extern "C"
