// camera_link.h - the camera a command works on: opened for the command, closed after it.
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_session.h"

namespace tyxctl {

class Context;

// True when the camera library can be loaded; otherwise says why and sets
// *exit. Checked before any port is tried, so a missing library is named as
// such and not taken for a camera that does not answer.
bool cameraLibraryLoadable(const Context& ctx, int* exit);

// Opens the camera on a port through the camera session (identity, tags,
// records, as a command-line opening reads them) and closes it when it goes
// out of scope, so no command leaves a port held.
class OpenCamera {
 public:
  explicit OpenCamera(const Context& ctx) : ctx_(ctx) {}
  ~OpenCamera();
  OpenCamera(const OpenCamera&) = delete;
  OpenCamera& operator=(const OpenCamera&) = delete;

  // The command's port: false after saying why; *exit is the code to leave with.
  bool open(int* exit);
  // Another port, for a probe over several: false, silently, when no camera
  // answers (*lastError is then the library's code).
  bool probe(const QString& typed, int32_t* lastError);
  // The port name without serial settings.
  QString port() const { return port_; }

 private:
  SessionResult openPort(const QString& typed);

  const Context& ctx_;
  QString port_;
};

}  // namespace tyxctl
