// api_call.cpp - the handle check and the error path every exported call goes through.
#include "api_call.h"

namespace tyxsim {

Session* findSession(const void* handle) {
  if (!handle) return nullptr;
  for (auto& s : state().sessions)
    if (s.get() == handle) return s.get();
  return nullptr;
}

// Checks a handle for a call. Returns 0 and the session, or the error code.
int32_t check(const void* handle, Session** out) {
  *out = findSession(handle);
  Session* s = *out;
  if (!s || !s->open) return kErrInvalidHandle;
  if (s->vanishCode) return s->vanishCode;
  // The camera was unplugged or replaced behind the handle's back.
  auto it = state().cameras.find(s->port);
  if (it == state().cameras.end() || it->second != s->camera) return kErrCameraInfo;
  return 0;
}

HandleCall::HandleCall(const char* name, const void* cam, bool slow) : log(name) {
  if (slow) simulatedDelay();
  lock = Lock(state().mutex);
  err = check(cam, &s);
  log.port(s, cam);
}

int32_t fail(CallLog& log, int32_t code, int32_t result) {
  setError(code);
  return log.result(result);
}

}  // namespace tyxsim
