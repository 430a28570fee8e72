// api_exposure.cpp - the simulated library's exposure and frame-rate calculations.
#include <cmath>

#include "abi/tyxcamera.h"
#include "api_call.h"
#include "tyxcamera_sim.h"

using namespace tyxsim;

extern "C" {

TYXCAM_API double tyxCamCalFrameRate(void* cam, int32_t index) {
  HandleCall call("CalFrameRate", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("index", index);
  if (err || isLineScan(*s->camera) || index < -1) {
    setError(err ? err : kErrBadParam);
    return log.result(-1.0);
  }
  if (index == -1) return log.result(currentFrameRate(*s->camera));
  return log.result(listFrameRate(*s->camera, index));
}

TYXCAM_API int32_t tyxCamCalExposeTime(void* cam, int32_t value) {
  HandleCall call("CalExposeTime", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("value", value);
  if (err) return fail(log, err, -1);
  if (isLineScan(*s->camera) || value < 0) return fail(log, kErrBadParam, -1);
  const double us = std::round(value * s->camera->info->linePeriodUs);
  if (us > INT32_MAX) return fail(log, kErrBadParam, -1);
  return log.result(static_cast<int32_t>(us));
}

TYXCAM_API int32_t tyxCamCalExposeLine(void* cam, int32_t value) {
  HandleCall call("CalExposeLine", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("value", value);
  if (err) return fail(log, err, -1);
  if (isLineScan(*s->camera) || value < 0) return fail(log, kErrBadParam, -1);
  return log.result(static_cast<int32_t>(std::lround(value / s->camera->info->linePeriodUs)));
}

TYXCAM_API int32_t tyxCamCalExposeRange(void* cam, int32_t* min, int32_t* max) {
  HandleCall call("CalExposeRange", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  if (!min || !max || isLineScan(*s->camera)) return fail(log, kErrBadParam);
  const ExposureRange r = exposureRange(*s->camera);
  *min = r.minLines;
  *max = r.maxLines;
  return log.result(1);
}

// Short exposure: below one line the camera adds a fine delay in steps of
// one microsecond (the setting, id 29) to whole lines (id 9).
namespace {
constexpr int32_t kShortMinUs = 1;
constexpr int32_t kShortMaxUs = 1000;
}  // namespace

TYXCAM_API int32_t tyxCamCalExposeShortRange(void* cam, int32_t* min, int32_t* max) {
  HandleCall call("CalExposeShortRange", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  if (err) return fail(log, err);
  if (!min || !max || !hasShortExposure(*s->camera)) return fail(log, kErrBadParam);
  *min = kShortMinUs;
  *max = kShortMaxUs;
  return log.result(1);
}

TYXCAM_API int32_t tyxCamCalExposeshort_data(void* cam, int32_t microseconds, int32_t* lines) {
  HandleCall call("CalExposeshort_data", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("us", microseconds);
  if (err) return fail(log, err, -1);
  if (!lines || !hasShortExposure(*s->camera) || microseconds < kShortMinUs || microseconds > kShortMaxUs)
    return fail(log, kErrBadParam, -1);
  const int32_t period = static_cast<int32_t>(s->camera->info->linePeriodUs);
  *lines = microseconds / period;
  return log.result(microseconds % period);
}

TYXCAM_API int32_t tyxCamCalExposeshort_Time(void* cam, int32_t setting) {
  HandleCall call("CalExposeshort_Time", cam);
  [[maybe_unused]] auto& [log, lock, s, err] = call;
  log.key("setting", setting);
  if (err) return fail(log, err, -1);
  if (!hasShortExposure(*s->camera) || setting < 0 ||
      setting >= static_cast<int32_t>(s->camera->info->linePeriodUs))
    return fail(log, kErrBadParam, -1);
  return log.result(setting);
}

}  // extern "C"
