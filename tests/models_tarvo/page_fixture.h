// page_fixture.h - a model page on a simulated camera, without the main window.
#pragma once

#include "common/page_test.h"

// Opens the camera of the given type on COM1 the way the main window does
// (identity, tags, records) and leaves the page to the test.
class ModelPageTest : public CameraPageTest {
 protected:
  void openCamera(const std::string& type, int32_t language) {
    openOn("COM1", type, language);
    if (HasFatalFailure()) return;
    cameraState().readCameraParams();
    readExtendedBlock();
  }
  void showPage() { showWidget(); }

  std::unique_ptr<QWidget>& page = widget;
};
