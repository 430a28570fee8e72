// dlg_paint_usb.h - the "Capture Image" window: frames of a USB camera, shown and saved.
#pragma once

#include <QImage>
#include <QTimer>
#include <cstdint>

#include "abi/tyxcamera_types.h"
#include "app/camera_page.h"
#include "imaging/frame_scaler.h"
#include "imaging/rate_meter.h"

// Fetches frames through the camera library as packed bitmaps, shows them at
// their own size with scroll bars or stretched to the picture frame, shows
// the capture rate and count, and saves the current frame as a BMP (or PNG)
// file. Everything runs on the GUI thread; the camera library's capture
// thread writes the frame block only under the block's frame lock, which the
// window holds while it reads the pixels.
class CDlgPaintUsb : public CompanionWindow {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kPicture = 1103,
    kVerticalBar = 1118,
    kHorizontalBar = 1119,
    kRateEdit = 1105,
    kFrameCountEdit = 1062,
    kDisplayRateEdit = 1169,
    kWidthEdit = 1106,
    kHeightEdit = 1033,
    kSizeButton = 1107,
    kOriginalRadio = 1110,
    kZoomRadio = 1111,
    kCaptureImageButton = 1066,
    kCaptureVideoButton = 1065,
    kStopButton = 1001,
    kSaveImageButton = 1067,
  };

  CDlgPaintUsb(QWidget* owner, CTyxVistrelDlg* main);
  ~CDlgPaintUsb() override;

  // The Grab button: one frame at the chosen size; true when there is one.
  // A video still running from before goes on instead.
  bool openGrab(QWidget* owner) override;
  // Does nothing: a running video capture goes on.
  void closeGrab() override {}
  // Ends a running video before its camera is closed.
  void cameraClosing() override;
  // The work of a repaint: size limits, scroll bars, the picture, the rate.
  void refresh() override;

  void* frame() const { return frame_; }
  // True from Capture Video until Stop (or the camera closes), hidden or not.
  bool videoRunning() const { return videoRunning_; }
  bool captureRunning() const override { return videoRunning_; }
  // True while the window looks for new frames: only while video runs and
  // the window is shown.
  bool polling() const { return videoTimer_.isActive(); }
  const QImage& picture() const { return offscreen_; }
  // New frames painted per second while video runs, and how many.
  double displayedFps() const { return rate_.fps(); }
  int64_t paintedFrames() const { return rate_.total(); }

  // Button and radio handlers (tests drive them as the controls do).
  void onSingleFrame();
  void onVideo();
  void onStop();
  void onSizeConfirm();
  void onDisplayMode(int mode);
  void onSave();
  // The video timer: paints when the library has drawn a new frame.
  void onVideoTick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void pushMembers();
  void takeMembers();
  QSize clientSize() const;
  void prepareBars();
  void setTargetSize();
  void onScroll(bool horizontal, int code, int pos);
  // Paints the locked bitmap into the off-screen picture.
  void paintBitmap(const BitmapView& view);

  // Members bound to the controls.
  float captureRate_ = 0;
  int32_t totalFrames_ = 0;
  int32_t width_ = 2048;
  int32_t height_ = 1536;
  int displayMode_ = 0;  // 0 actual size, 1 screen size
  int32_t vPos_ = 0;
  int32_t hPos_ = 0;

  void* frame_ = nullptr;
  TyxUsbInfo usbInfo_{};
  QImage offscreen_;
  FrameScaler scaler_;
  // Repaints while video runs: the camera library refreshes the frame block
  // on its own thread and tells the window nothing.
  QTimer videoTimer_;
  bool videoRunning_ = false;
  // The library's frame count at the last video paint; -1 before the first.
  int32_t shownCount_ = -1;
  RateMeter rate_;
};
