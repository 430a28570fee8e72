// api_call.h - what every exported call on a camera handle shares: the handle check, the log line, the error.
#pragma once

#include <cstdint>
#include <mutex>

#include "sim_internal.h"

namespace tyxsim {

using Lock = std::unique_lock<std::mutex>;

// The session of a handle, or null when the handle is not one of ours.
Session* findSession(const void* handle);
// Checks a handle for a call. Returns 0 and the session, or the error code.
int32_t check(const void* handle, Session** out);

// What every call on a camera handle starts with: its log line, the
// simulated delay of the calls that talk to the camera at length, the state
// lock, the handle check and the port in the log line. Declared in this
// order, so the lock is given back before the log line is written.
constexpr bool kSlowCall = true;
struct HandleCall {
  HandleCall(const char* name, const void* cam, bool slow = false);
  CallLog log;
  Lock lock;
  Session* s = nullptr;
  int32_t err = 0;
};

// Sets the last error and logs the call's result.
int32_t fail(CallLog& log, int32_t code, int32_t result = 0);

inline bool isLineScan(const SimCamera& c) { return c.info->kind == Kind::LineScan; }

}  // namespace tyxsim
