// dlg_grab_video.h - the "Grab video" window: live images through a frame-grabber board.
#pragma once

#include <QDialog>
#include <QImage>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "app/camera_page.h"
#include "imaging/capture_rules.h"
#include "imaging/frame_scaler.h"
#include "imaging/rate_meter.h"
#include "abi/tyxapi32.h"

class CDlgGrabVideo;
class QSocketNotifier;

// Shows one board's analogue signal, sets the capture timing from it, runs
// a sequence capture and paints every frame, scaled, into the picture frame.
//
// Threads: the board library calls the three capture callbacks on its own
// thread. They share the frame counter, the display header, the conversion
// descriptor and the pixel area with the painting on the GUI thread; all of
// these are guarded by frameMutex_. Each frame is handed to the GUI thread
// and painted before the frame callback returns. The hand-off is a posted
// call plus a wait that also ends when capture is being stopped, so the GUI
// thread can stop capture (and wait for the library's thread) while a frame
// is in flight without either thread waiting for the other.
class CDlgGrabVideo : public CompanionWindow {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kPicture = 1156,
    kSignalTestButton = 1001,
    kAutoSetButton = 1065,
    kCaptureButton = 1067,
    kStopButton = 1068,
    kSourceText = 1157,
    kTypeText = 1158,
    kLinesText = 1159,
    kRateText = 1160,
    kTriggerText = 1161,
    kAspect43Radio = 1162,
    kAspect11Radio = 1163,
    kTotalFramesEdit = 1165,
    kDisplayRateEdit = 1169,
    kXOffsetBar = 1167,
    kXOffsetEdit = 1168,
    kYOffsetBar = 1166,
    kYOffsetEdit = 1033,
  };

  CDlgGrabVideo(QWidget* owner, CTyxVistrelDlg* main);
  ~CDlgGrabVideo() override;

  // The main window's Grab button: shows the board-selection dialog; true
  // when a board is open afterwards (the signal has then been tested and the
  // offset ranges read).
  bool openGrab(QWidget* owner) override;
  // Stops any capture, closes the board.
  void closeGrab() override;
  // Paints the current frame and shows the members.
  void refresh() override;

  void* board() const { return board_; }
  int32_t selectedBoard() const { return selectedBoard_; }
  void setSelectedBoard(int32_t index) { selectedBoard_ = index; }
  bool capturing() const { return capturing_; }
  // Frames delivered since the last capture start.
  int32_t frameCount() const;
  // Frames painted per second over the last full second of the clock.
  double displayedFps() const { return rate_.fps(); }
  // Frames painted since the last capture start (each delivered frame is
  // painted once, so this equals frameCount() unless a paint was skipped).
  int64_t paintedFrames() const { return rate_.total(); }
  int32_t lineCount() const { return lines_; }
  int32_t fieldRate() const { return fieldRate_; }
  // The off-screen picture the window shows (tests look at its pixels).
  const QImage& picture() const { return offscreen_; }
  size_t frameBlockSize() const { return blockSize_; }

  // Opens the selected board (the selection dialog's confirmation); the
  // dialog owns the messages.
  bool openSelectedBoard(QWidget* messageOwner);

  // The button handlers, public so the main window's tests can drive them.
  void onSignalTest();
  void onAutoSet();
  void onCaptureStart();
  void onCaptureStop();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Registry;

  void pushMembers();
  void setCaptureButtonsEnabled(bool enabled);
  void applyTiming(const capture::TimingPlan& plan);
  void buildInitialHeader();
  // Ends the capture and waits until no callback of ours runs any more.
  void haltCapture();
  void onScroll(bool horizontal, int code, int pos);
  // Paints the frame under the lock, reads the offsets, shows the members.
  void renderFrame();
  // Tells the GUI thread that a frame or the end of a sequence waits.
  void wakeGui();
  // GUI side of the hand-off: paints the waiting frame, then releases the
  // waiting callback; reports a sequence the library ended.
  void onWake();
  void onFrameReady(uint64_t sequence);
  void onSequenceEnded(uint64_t generation);

  // The capture callbacks, on the library's thread.
  static int32_t TYXAPI32_CALL beginCallback(void* board);
  static int32_t TYXAPI32_CALL frameCallback(void* board, uint16_t index);
  static int32_t TYXAPI32_CALL endCallback(void* board);
  static CDlgGrabVideo* enterCallback(void* board);
  void leaveCallback();
  void onBegin(void* board);
  void onFrame(void* board, uint16_t index);
  void onEnd(void* board);

  // Acquisition state, GUI thread.
  void* board_ = nullptr;
  int32_t selectedBoard_ = -1;
  int32_t interlace_ = 0;
  int32_t lines_ = -1;
  int32_t fieldRate_ = -1;
  bool capturing_ = false;
  bool sequenceEnded_ = false;

  // Members bound to the controls.
  int32_t totalFrames_ = 0;
  int32_t xOffset_ = 0;
  int32_t yOffset_ = 0;
  int32_t xOffsetText_ = 0;
  int32_t yOffsetText_ = 0;

  // Displayed frame rate, GUI thread.
  RateMeter rate_;

  // Guards everything below it up to the marked end, and is held while the
  // board converts into the pixel area and while the pixel area is painted.
  mutable std::mutex frameMutex_;
  std::condition_variable frameCv_;   // paintedSeq_, stopping_, inFlight_ changes
  std::unique_ptr<uint8_t[]> block_;  // header area, then the pixel area
  size_t blockSize_ = 0;
  bool headerValid_ = false;      // the header area holds a header we paint
  bool descriptorValid_ = false;  // frames of that header fit the pixel area
  TyxConvertDesc descriptor_{};
  int32_t frameCounter_ = 0;
  void* captureBoard_ = nullptr;
  bool stopping_ = true;
  int inFlight_ = 0;
  uint64_t requestedSeq_ = 0;
  uint64_t paintedSeq_ = 0;
  uint64_t generation_ = 0;  // counts capture starts
  bool endPending_ = false;  // the library ended the sequence of endGeneration_
  uint64_t endGeneration_ = 0;
  // End of what frameMutex_ guards.

  // The capture thread wakes the GUI thread through a pipe rather than a
  // posted Qt event, so it calls nothing of Qt's: a byte written to
  // wakePipe_[1] makes wakeNotifier_ run onWake() on the GUI thread.
  int wakePipe_[2] = {-1, -1};
  QSocketNotifier* wakeNotifier_ = nullptr;

  // GUI thread only; its pixels are written under frameMutex_.
  QImage offscreen_;
  FrameScaler scaler_;
};
