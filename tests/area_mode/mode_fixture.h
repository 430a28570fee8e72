// mode_fixture.h - the mode or parameter page on a simulated area-scan camera, without the main window.
#pragma once

#include "common/page_test.h"

// What a control looks like to the user after a refresh.
enum class Look { Shown, Off, Hidden };

inline Look lookOf(const QWidget* w) {
  if (w->isHidden()) return Look::Hidden;
  return w->isEnabled() ? Look::Shown : Look::Off;
}

inline const char* lookName(Look l) { return l == Look::Shown ? "shown" : l == Look::Off ? "off" : "hidden"; }

// Opens one camera the way the main window does (identity, tags, records,
// line geometry) and leaves the page under test to the test.
class AreaPageTest : public CameraPageTest {
 protected:
  // camera: "TYPE" or "TYPE/VERSION", placed on COM1 (NetPort2 for the
  // network-only image orientation model). extra: more simulator commands
  // run before the opening (tag overrides).
  void openCamera(const std::string& camera, int32_t language = 9, const std::string& extra = "") {
    port_ = camera.rfind("321140", 0) == 0 ? "NetPort2" : "COM1";
    openOn(port_, camera, language, extra);
    if (HasFatalFailure()) return;
    readExtendedBlock();
    CameraState& s = cameraState();
    ASSERT_EQ(s.readCameraParams(), 1);
    s.copyLineGeometry();
  }
  void showPage() { showWidget(); }

  std::unique_ptr<QWidget>& page = widget;
  std::string port_;
};
