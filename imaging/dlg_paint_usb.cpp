// dlg_paint_usb.cpp - the "Capture Image" window: frames of a USB camera, shown and saved.
#include "imaging/dlg_paint_usb.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "app/camera_library.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "imaging/bmp_writer.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgPaintUsb::CtlId;

namespace {

constexpr ControlSpec kControls[] = {
    {kPicture, Ctl::Picture, nullptr, nullptr, 8, 8, 300, 240},
    {kVerticalBar, Ctl::VScroll, nullptr, nullptr, 310, 8, 10, 240},
    {kHorizontalBar, Ctl::HScroll, nullptr, nullptr, 8, 250, 300, 10},
    {0, Ctl::Group, "System Parameter", "系统参数", 326, 6, 110, 62},
    {0, Ctl::Label, "Rate:", "采集速率：", 332, 20, 44, 10},
    {kRateEdit, Ctl::EditReadOnly, "", "", 378, 18, 52, 12},
    {0, Ctl::Label, "Total frame:", "采集总帧数：", 332, 36, 44, 10},
    {kFrameCountEdit, Ctl::EditReadOnly, "", "", 378, 34, 52, 12},
    {0, Ctl::Label, "Display fps:", "显示帧率：", 332, 52, 44, 10},
    {kDisplayRateEdit, Ctl::EditReadOnly, "", "", 378, 50, 52, 12},
    {0, Ctl::Group, "Image size", "图像大小", 326, 72, 110, 62},
    {0, Ctl::Label, "width:", "宽度：", 332, 86, 40, 10},
    {kWidthEdit, Ctl::Edit, "", "", 378, 84, 52, 12},
    {0, Ctl::Label, "height:", "高度：", 332, 102, 40, 10},
    {kHeightEdit, Ctl::Edit, "", "", 378, 100, 52, 12},
    {kSizeButton, Ctl::Button, "OK", "修改", 378, 116, 52, 14},
    {0, Ctl::Group, "Display mode", "图像显示效果", 326, 138, 110, 40},
    {kOriginalRadio, Ctl::RadioFirst, "Original", "原始大小", 332, 150, 96, 10},
    {kZoomRadio, Ctl::Radio, "Zoom ", "屏幕大小", 332, 164, 96, 10},
    {kCaptureImageButton, Ctl::Button, "Capture Image", "采集单帧", 326, 184, 110, 14},
    {kCaptureVideoButton, Ctl::Button, "Capture Video", "采集视频", 326, 202, 110, 14},
    {kStopButton, Ctl::Button, "Stop", "停止采集", 326, 220, 110, 14},
    {kSaveImageButton, Ctl::Button, "Save Image", "存图像", 326, 238, 110, 14},
};

// While video runs the window looks for a new frame this often: well under
// the frame period of the fastest camera (60 frames/s), so every frame the
// library delivers is painted once and none is skipped.
constexpr int kVideoPollMs = 4;

CameraLibrary& camera() { return CameraLibrary::instance(); }

// The platform's scroll description (range, page, position) in Qt terms:
// the thumb's last position is where the page reaches the end of the range.
void setBar(ReqScrollBar* bar, int maximum, int page, int pos) {
  page = std::max(page, 0);
  bar->setPageStep(std::max(page, 1));
  bar->setRange(0, std::max(0, maximum - page));
  bar->setValue(pos);
}

}  // namespace

CDlgPaintUsb::CDlgPaintUsb(QWidget* owner, CTyxVistrelDlg* main) : CompanionWindow(owner, main) {
  buildControls(kControls);
  setDialogSize(444, 266);
  setWindowTitle("Capture Image");
  QWidget* picture = controlWidget(kPicture);
  picture->installEventFilter(this);
  offscreen_ = QImage(picture->size(), QImage::Format_RGB32);
  offscreen_.fill(Qt::black);

  connect(control<QPushButton>(kCaptureImageButton), &QPushButton::clicked, this,
          [this] { onSingleFrame(); });
  connect(control<QPushButton>(kCaptureVideoButton), &QPushButton::clicked, this, [this] { onVideo(); });
  connect(control<QPushButton>(kStopButton), &QPushButton::clicked, this, [this] { onStop(); });
  connect(control<QPushButton>(kSizeButton), &QPushButton::clicked, this, [this] { onSizeConfirm(); });
  connect(control<QPushButton>(kSaveImageButton), &QPushButton::clicked, this, [this] { onSave(); });
  connect(control<QRadioButton>(kOriginalRadio), &QRadioButton::clicked, this, [this] { onDisplayMode(0); });
  connect(control<QRadioButton>(kZoomRadio), &QRadioButton::clicked, this, [this] { onDisplayMode(1); });
  connect(control<ReqScrollBar>(kHorizontalBar), &ReqScrollBar::scrollRequest, this,
          [this](int code, int pos) { onScroll(true, code, pos); });
  connect(control<ReqScrollBar>(kVerticalBar), &ReqScrollBar::scrollRequest, this,
          [this](int code, int pos) { onScroll(false, code, pos); });
  videoTimer_.setTimerType(Qt::PreciseTimer);
  videoTimer_.setInterval(kVideoPollMs);
  connect(&videoTimer_, &QTimer::timeout, this, [this] { onVideoTick(); });

  const QSize client = clientSize();
  setBar(control<ReqScrollBar>(kVerticalBar), 1024, 1024 - client.height(), 0);
  setBar(control<ReqScrollBar>(kHorizontalBar), 1280, 1280 - client.width(), 0);
  pushMembers();
}

CDlgPaintUsb::~CDlgPaintUsb() {
  videoTimer_.stop();
  // The block is the library's until freed; freeing it also ends a capture
  // still drawing into it.
  if (frame_) camera().frameFree(frame_);
  frame_ = nullptr;
}

QSize CDlgPaintUsb::clientSize() const { return controlWidget(kPicture)->size(); }

void CDlgPaintUsb::pushMembers() {
  Busy guard(busy_);
  control<QLineEdit>(kRateEdit)->setText(QString::number(static_cast<double>(captureRate_), 'g', 6));
  control<QLineEdit>(kFrameCountEdit)->setText(QString::number(totalFrames_));
  control<QLineEdit>(kDisplayRateEdit)->setText(QString::number(rate_.fps(), 'f', 1));
  control<QLineEdit>(kWidthEdit)->setText(QString::number(width_));
  control<QLineEdit>(kHeightEdit)->setText(QString::number(height_));
  control<QRadioButton>(displayMode_ == 0 ? kOriginalRadio : kZoomRadio)->setChecked(true);
  control<ReqScrollBar>(kVerticalBar)->setValue(vPos_);
  control<ReqScrollBar>(kHorizontalBar)->setValue(hPos_);
}

void CDlgPaintUsb::takeMembers() {
  // An entry that is not a number keeps the value it replaced.
  bool ok = false;
  const int w = control<QLineEdit>(kWidthEdit)->text().trimmed().toInt(&ok);
  if (ok) width_ = w;
  const int h = control<QLineEdit>(kHeightEdit)->text().trimmed().toInt(&ok);
  if (ok) height_ = h;
  displayMode_ = control<QRadioButton>(kZoomRadio)->isChecked() ? 1 : 0;
  vPos_ = control<ReqScrollBar>(kVerticalBar)->value();
  hPos_ = control<ReqScrollBar>(kHorizontalBar)->value();
}

void CDlgPaintUsb::setTargetSize() {
  const int32_t rect[4] = {0, 0, width_, height_};
  camera().setTargetRect(cameraState().handle, rect);
}

void CDlgPaintUsb::prepareBars() {
  const QSize client = clientSize();
  setBar(control<ReqScrollBar>(kVerticalBar), height_, client.height(), 0);
  setBar(control<ReqScrollBar>(kHorizontalBar), width_, client.width(), 0);
  vPos_ = 0;
  hPos_ = 0;
}

bool CDlgPaintUsb::openGrab(QWidget*) {
  // The Grab button's close leaves a video running so that the window shows
  // it again when it comes back. A single frame requested now would end that
  // capture and replace the block the library is drawing into, while the
  // window still showed only Stop as usable over a picture that no longer
  // moves; the running video already gives the window its frame.
  if (videoRunning() && frame_) return true;
  setTargetSize();
  void* previous = frame_;
  camera().captureFrame(cameraState().handle, &frame_, 1);
  // A single frame always comes in a new block; the one it replaces is ours
  // to free.
  if (previous && frame_ != previous) camera().frameFree(previous);
  return frame_ != nullptr;
}

void CDlgPaintUsb::onSingleFrame() {
  takeMembers();
  if (frame_) camera().frameFree(frame_);
  frame_ = nullptr;
  prepareBars();
  setTargetSize();
  camera().captureFrame(cameraState().handle, &frame_, 1);
  refresh();
}

void CDlgPaintUsb::onVideo() {
  takeMembers();
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    controlWidget(id)->setEnabled(false);
  prepareBars();
  setTargetSize();
  void* previous = frame_;
  camera().captureFrame(cameraState().handle, &frame_, 0);
  // The library keeps a block that fits and otherwise hands out a new one,
  // leaving the old block to us.
  if (previous && frame_ != previous) camera().frameFree(previous);
  rate_.reset();
  shownCount_ = -1;
  videoRunning_ = true;
  if (isVisible()) videoTimer_.start();
  refresh();
  emit captureStateChanged();
}

void CDlgPaintUsb::onVideoTick() {
  // The library tells the window nothing when it has drawn a frame; its
  // frame count does. Only a new frame is worth a paint.
  int32_t count = 0;
  camera().getCaptureRate(cameraState().handle, this, &count);
  if (count != shownCount_) refresh();
}

void CDlgPaintUsb::onStop() {
  camera().stopCapture(cameraState().handle);
  videoTimer_.stop();
  const bool wasRunning = videoRunning_;
  videoRunning_ = false;
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    controlWidget(id)->setEnabled(true);
  refresh();
  if (wasRunning) emit captureStateChanged();
}

// Hidden by Grab, the window keeps its video running in the library (so it
// comes back live) but neither asks for frames nor paints them: nobody sees
// them, and the polling alone would keep a quarter of a core busy.
void CDlgPaintUsb::hideEvent(QHideEvent* event) {
  CompanionWindow::hideEvent(event);
  if (!isVisible()) videoTimer_.stop();
}

void CDlgPaintUsb::showEvent(QShowEvent* event) {
  // The refresh of the base class shows the newest frame at once.
  CompanionWindow::showEvent(event);
  if (videoRunning_) {
    shownCount_ = -1;
    videoTimer_.start();
  }
}

void CDlgPaintUsb::cameraClosing() {
  if (videoRunning()) onStop();
}

void CDlgPaintUsb::onSizeConfirm() {
  WaitCursor wait;
  camera().getUsbInfo(cameraState().handle, 1, &usbInfo_);
  takeMembers();
  // Compared as unsigned, so a negative entry becomes the maximum too.
  if (static_cast<uint32_t>(width_) > static_cast<uint32_t>(usbInfo_.maxWidth)) width_ = usbInfo_.maxWidth;
  if (static_cast<uint32_t>(height_) > static_cast<uint32_t>(usbInfo_.maxHeight))
    height_ = usbInfo_.maxHeight;
  const QSize client = clientSize();
  if (width_ <= client.width()) hPos_ = 0;
  if (height_ <= client.height()) vPos_ = 0;
  pushMembers();
  refresh();
  Desktop::get().sleepMs(500);
}

void CDlgPaintUsb::onDisplayMode(int mode) {
  if (busy_) return;
  displayMode_ = mode;
  refresh();
}

void CDlgPaintUsb::refresh() {
  CameraState& s = cameraState();
  CameraLibrary& lib = camera();
  lib.getUsbInfo(s.handle, 1, &usbInfo_);
  if (s.typeCode != model::kUsbLargeFrame) {
    if (width_ > 1280) width_ = usbInfo_.maxWidth;
    if (height_ > 1024) height_ = usbInfo_.maxHeight;
  }
  const QSize client = clientSize();
  auto* hBar = control<ReqScrollBar>(kHorizontalBar);
  auto* vBar = control<ReqScrollBar>(kVerticalBar);
  bool painted = false;
  bool counted = false;
  int32_t count = 0;
  if (frame_) {
    const size_t size = lib.frameSize(frame_);
    if (const void* bitmap = lib.frameLock(frame_)) {
      BitmapView view;
      if (viewPackedBitmap(bitmap, size, &view)) {
        const bool actual = displayMode_ == 0;
        hBar->setVisible(width_ > client.width() && actual);
        if (hBar->isVisibleTo(this)) hBar->setRange(0, std::max(0, view.width - hBar->pageStep()));
        vBar->setVisible(height_ > client.height() && actual);
        if (vBar->isVisibleTo(this)) vBar->setRange(0, std::max(0, view.rows() - vBar->pageStep()));
        hPos_ = std::clamp(hPos_, hBar->minimum(), hBar->maximum());
        vPos_ = std::clamp(vPos_, vBar->minimum(), vBar->maximum());
        paintBitmap(view);
        painted = true;
      }
      // Asked while the block is still locked: the library counts a frame
      // only after it has finished drawing it, so the frame just painted is
      // at least the one counted, and a count that moves on later always
      // means a frame not shown yet.
      captureRate_ = lib.getCaptureRate(s.handle, this, &count);
      counted = true;
      lib.frameUnlock(frame_);
    }
  }
  if (!painted) offscreen_.fill(Qt::black);
  if (!counted) captureRate_ = lib.getCaptureRate(s.handle, this, &count);
  totalFrames_ = count < 0 ? 0 : count;
  if (painted && videoRunning_ && count != shownCount_) {
    shownCount_ = count;
    rate_.frame(Desktop::get().nowMs());
  }
  pushMembers();
  controlWidget(kPicture)->update();
}

void CDlgPaintUsb::paintBitmap(const BitmapView& view) {
  if (displayMode_ == 1) {
    scaler_.paint(view, offscreen_);
    return;
  }
  // Unscaled into the top-left corner. The rows are counted from the
  // bitmap's bottom edge: the visible block starts height - client height -
  // vertical position rows up, which from the top is the vertical position
  // (less what the bitmap is shorter than the chosen height).
  const QSize client = clientSize();
  const int visibleW = std::min(width_, client.width());
  const int visibleH = std::min(height_, client.height());
  const int fromBottom = height_ >= client.height() ? height_ - client.height() - vPos_ : 0;
  const int top = view.rows() - fromBottom - visibleH;
  // Clipped to the bitmap on both sides alike, so nothing is stretched.
  QRect from(hPos_, top, visibleW, visibleH);
  const QRect inside = from.intersected(QRect(0, 0, view.width, view.rows()));
  offscreen_.fill(Qt::black);
  if (inside.isEmpty()) return;
  const QRect to(inside.x() - from.x(), inside.y() - from.y(), inside.width(), inside.height());
  scaler_.paint(view, inside, offscreen_, to);
}

bool CDlgPaintUsb::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controlWidget(kPicture) && event->type() == QEvent::Paint) {
    QPainter painter(controlWidget(kPicture));
    painter.drawImage(0, 0, offscreen_);
    return true;
  }
  return CompanionWindow::eventFilter(watched, event);
}

void CDlgPaintUsb::onScroll(bool horizontal, int code, int pos) {
  if (busy_) return;
  auto* bar = control<ReqScrollBar>(horizontal ? kHorizontalBar : kVerticalBar);
  const QSize client = clientSize();
  int next = horizontal ? hPos_ : vPos_;
  switch (code) {
    case SbLineLeft: next -= 2; break;
    case SbLineRight: next += 2; break;
    case SbPageLeft: next -= horizontal ? client.width() : client.height(); break;
    case SbPageRight: next += horizontal ? client.width() : client.height(); break;
    case SbThumbPosition:
    case SbThumbTrack: next = pos; break;
    case SbLeft: next = 0; break;
    case SbRight: next = horizontal ? usbInfo_.maxWidth : usbInfo_.maxHeight; break;
    default: return;
  }
  next = std::clamp(next, bar->minimum(), bar->maximum());
  (horizontal ? hPos_ : vPos_) = next;
  {
    Busy guard(busy_);
    bar->setValue(next);
  }
  refresh();
}

void CDlgPaintUsb::onSave() {
  CameraState& s = cameraState();
  const QString path = Desktop::get().saveFileName(this, s.text("Save Image", "存图像"),
                                                   "BMP image (*.bmp);;PNG image (*.png)", "bmp");
  if (path.isEmpty()) return;
  bmp::Error result = bmp::Error::NoFrame;
  if (frame_) {
    CameraLibrary& lib = camera();
    const size_t size = lib.frameSize(frame_);
    if (const void* bitmap = lib.frameLock(frame_)) {
      // Written while locked: a running capture cannot change the frame
      // half-way through the file.
      result = path.endsWith(".png", Qt::CaseInsensitive) ? bmp::savePng(bitmap, size, path)
                                                          : bmp::saveBmp(bitmap, size, path);
      lib.frameUnlock(frame_);
    }
  }
  if (result == bmp::Error::None) return;
  QWidget* parent = s.messageParent ? s.messageParent : this;
  if (result == bmp::Error::CreateFailed) {
    Desktop::get().message(parent, "error!", "Vistrel");
    return;
  }
  // A frame that cannot be saved, or a write that failed part-way, leaves
  // no file and is said so (the file is not left empty or cut short).
  const QString reason = QString::fromUtf8(bmp::describe(result, s.chinese()));
  Desktop::get().message(parent, s.chinese() ? QString::fromUtf8("图像未能保存：") + reason : reason,
                         "Vistrel");
}
