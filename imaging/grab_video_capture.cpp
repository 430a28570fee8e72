// grab_video_capture.cpp - the grab video window's capture: starting and stopping a sequence, the
// board library's callbacks on its thread and the hand-off of each frame to the GUI thread.
#include <QMetaObject>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>

#include "app/desktop.h"
#include "imaging/board_library.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/grab_video_registry.h"

namespace {

// Longest the capture thread waits for the GUI thread to paint a frame. It
// only matters when the GUI thread is stuck elsewhere: the frame data are
// guarded by the mutex either way, so the next conversion cannot tear a
// frame being painted.
constexpr auto kPaintWait = std::chrono::seconds(2);

BoardLibrary& boards() { return BoardLibrary::instance(); }

}  // namespace

void CDlgGrabVideo::wakeGui() {
#ifndef _WIN32
  if (wakePipe_[1] >= 0) {
    // A full pipe already holds a wake-up; nothing is lost by dropping one.
    const char byte = 1;
    const ssize_t written = write(wakePipe_[1], &byte, 1);
    (void)written;
    return;
  }
#endif
  QMetaObject::invokeMethod(
      this, [this] { onWake(); }, Qt::QueuedConnection);
}

void CDlgGrabVideo::onWake() {
#ifndef _WIN32
  if (wakePipe_[0] >= 0) {
    char bytes[64];
    while (read(wakePipe_[0], bytes, sizeof bytes) > 0) {
    }
  }
#endif
  uint64_t sequence = 0;
  bool ended = false;
  uint64_t endedGeneration = 0;
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    if (requestedSeq_ > paintedSeq_) sequence = requestedSeq_;
    ended = endPending_;
    endedGeneration = endGeneration_;
    endPending_ = false;
  }
  if (sequence) onFrameReady(sequence);
  if (ended) onSequenceEnded(endedGeneration);
}

// ---- capture start and stop ------------------------------------------------

void CDlgGrabVideo::onCaptureStart() {
  if (!board_ || capturing_) return;
  setCaptureButtonsEnabled(false);
  BoardLibrary& lib = boards();
  if (sequenceEnded_) {
    // A sequence that ended by itself may still be finishing its end
    // callback, which removes the callbacks; wait for it before installing
    // them again.
    haltCapture();
    sequenceEnded_ = false;
  }
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    frameCounter_ = 0;
    stopping_ = false;
    captureBoard_ = board_;
    ++generation_;
  }
  totalFrames_ = 0;
  rate_.reset();
  pushMembers();
  lib.setConvertParam(board_, 2, 0);
  Registry::get().add(board_, this);
  lib.setSeqCallback(board_, beginCallback, frameCallback, endCallback);
  capturing_ = true;
  lib.captureByBuffer(board_);
}

void CDlgGrabVideo::onCaptureStop() {
  setCaptureButtonsEnabled(true);
  haltCapture();
}

void CDlgGrabVideo::haltCapture() {
  {
    // A callback waiting for its frame to be painted gives up now, and no
    // new frame asks for a paint.
    std::lock_guard<std::mutex> lk(frameMutex_);
    stopping_ = true;
  }
  frameCv_.notify_all();
  if (board_) {
    boards().setSeqCallback(board_, nullptr, nullptr, nullptr);
    boards().stopCapture(board_);
  }
  // No callback finds this window from now on; those that already did are
  // waited for (a library that returns from the stop before its thread is
  // done is covered too).
  Registry::get().remove(this);
  std::unique_lock<std::mutex> lk(frameMutex_);
  frameCv_.wait(lk, [this] { return inFlight_ == 0; });
  capturing_ = false;
}

void CDlgGrabVideo::onSequenceEnded(uint64_t generation) {
  // The library ended the sequence; the capture buttons work again. A
  // report that arrives after a newer capture started is stale.
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    if (generation != generation_) return;
  }
  capturing_ = false;
  sequenceEnded_ = true;
  setCaptureButtonsEnabled(true);
}

// ---- callbacks (library thread) ----------------------------------------------

CDlgGrabVideo* CDlgGrabVideo::enterCallback(void* b) {
  Registry& r = Registry::get();
  std::lock_guard<std::mutex> lk(r.mutex);
  for (const auto& [entryBoard, window] : r.entries) {
    if (entryBoard != b) continue;
    std::lock_guard<std::mutex> flk(window->frameMutex_);
    ++window->inFlight_;
    return window;
  }
  return nullptr;
}

void CDlgGrabVideo::leaveCallback() {
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    --inFlight_;
  }
  frameCv_.notify_all();
}

int32_t TYXAPI32_CALL CDlgGrabVideo::beginCallback(void* b) {
  if (CDlgGrabVideo* w = enterCallback(b)) {
    w->onBegin(b);
    w->leaveCallback();
  }
  return 1;
}

int32_t TYXAPI32_CALL CDlgGrabVideo::frameCallback(void* b, uint16_t index) {
  if (CDlgGrabVideo* w = enterCallback(b)) {
    w->onFrame(b, index);
    w->leaveCallback();
  }
  return 1;
}

int32_t TYXAPI32_CALL CDlgGrabVideo::endCallback(void* b) {
  if (CDlgGrabVideo* w = enterCallback(b)) {
    w->onEnd(b);
    w->leaveCallback();
  }
  return 1;
}

void CDlgGrabVideo::onBegin(void* b) {
  BoardLibrary& lib = boards();
  capture::BoardReadings r;
  r.rect = TyxRect{0, 0, -1, 0};
  lib.setTargetRect(b, 1, &r.rect);
  lib.setCaptureParam(b, 4, -1);
  r.capture3 = lib.setCaptureParam(b, 3, -1);
  r.convert6 = lib.setConvertParam(b, 6, -1);
  r.capture10 = lib.setCaptureParam(b, 10, -1);
  r.video8 = lib.setVideoParam(b, 8, -1);
  r.convert1 = lib.setConvertParam(b, 1, -1);
  const capture::FrameGeometry g = capture::beginGeometry(r);
  std::lock_guard<std::mutex> lk(frameMutex_);
  capture::HeaderInfo info;
  headerValid_ =
      block_ && capture::buildDisplayHeader(block_.get(), capture::kPixelAreaOffset, g.width, g.height,
                                            g.bits, g.format, &info) == capture::HeaderError::None;
  // A frame whose converted size exceeds the pixel area is not converted.
  descriptorValid_ = headerValid_ && capture::fillDescriptor(&descriptor_, block_.get(), blockSize_, info);
}

void CDlgGrabVideo::onFrame(void* b, uint16_t index) {
  uint64_t sequence;
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    ++frameCounter_;
    // Converted under the lock: the painting never sees half a frame.
    if (descriptorValid_) boards().convertRect(b, &descriptor_, index);
    if (stopping_) return;
    sequence = ++requestedSeq_;
  }
  wakeGui();
  std::unique_lock<std::mutex> lk(frameMutex_);
  frameCv_.wait_for(lk, kPaintWait, [&] { return paintedSeq_ >= sequence || stopping_; });
}

void CDlgGrabVideo::onEnd(void* b) {
  boards().setSeqCallback(b, nullptr, nullptr, nullptr);
  boards().stopCapture(b);
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    endPending_ = true;
    endGeneration_ = generation_;
  }
  wakeGui();
}
