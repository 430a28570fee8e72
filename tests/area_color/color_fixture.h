// color_fixture.h - a colour page or the control bar on a simulated camera, without the main window.
#pragma once

#include "common/page_test.h"

// Opens one camera the way the main window does (identity, tags, records,
// line geometry) and leaves the window under test to the test.
class AreaColorTest : public CameraPageTest {
 protected:
  // port: "COM1", "NetPort2", ...; type: the camera placed there.
  void openCamera(const std::string& port, const std::string& type, int32_t language = 9) {
    openOn(port, type, language);
    if (HasFatalFailure()) return;
    CameraState& s = cameraState();
    ASSERT_EQ(s.readCameraParams(), 1);
    s.copyLineGeometry();
  }
  void showWindow() { showWidget(); }

  std::unique_ptr<QWidget>& window = widget;
};
