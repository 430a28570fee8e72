// camera_link.cpp - opening and closing the camera a command works on, through the camera session.
#include "tools/tyxctl/camera_link.h"

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {

bool cameraLibraryLoadable(const Context& ctx, int* exit) {
  const std::string file = CameraLibrary::instance().fileName();
  const LibraryProbe probe = probeSharedLibrary(file);
  if (probe.found) return true;
  ctx.say(tooltext::Id::NoLibrary, {QString::fromStdString(file), QString::fromStdString(probe.error)});
  *exit = kExitNoLibrary;
  return false;
}

OpenCamera::~OpenCamera() { cameraSession().close(); }

SessionResult OpenCamera::openPort(const QString& typed) {
  QString settings;
  splitPort(typed, &port_, &settings);
  // The tool words a port without a camera itself, naming the port; a read
  // that fails after the open is the library's to tell.
  return cameraSession().open(port_, CameraSession::Report::Silent, OpenedBy::Command, settings);
}

bool OpenCamera::open(int* exit) {
  if (!cameraLibraryLoadable(ctx_, exit)) return false;
  const SessionResult result = openPort(ctx_.inv.port);
  if (result.failed == SessionStep::Open || result.failed == SessionStep::OpenText) {
    ctx_.say(tooltext::Id::NoCamera, {port_, libraryMessage(result.errorCode, ctx_.chinese())});
    *exit = kExitNoCamera;
    return false;
  }
  if (!result.ok()) {
    // Without its records the camera's values would be the start values,
    // not what it holds: nothing is shown or written on them.
    ctx_.say(libraryMessage(result.errorCode, ctx_.chinese()));
    *exit = kExitRefused;
    return false;
  }
  return true;
}

bool OpenCamera::probe(const QString& typed, int32_t* lastError) {
  const SessionResult result = openPort(typed);
  if (result.failed == SessionStep::Open || result.failed == SessionStep::OpenText) {
    *lastError = result.errorCode;
    return false;
  }
  return true;
}

}  // namespace tyxctl
