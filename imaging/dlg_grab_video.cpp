// dlg_grab_video.cpp - the "Grab video" window: live images through a frame-grabber board.
#include "imaging/dlg_grab_video.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <new>

#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/strings.h"
#include "imaging/board_library.h"
#include "imaging/dlg_select_board.h"
#include "imaging/grab_video_registry.h"

// The layout table and the code name controls by the window's ids.
using enum CDlgGrabVideo::CtlId;

namespace {

// One table for both languages: the geometry is shared, only texts differ.
constexpr ControlSpec kControls[] = {
    {kPicture, Ctl::Picture, nullptr, nullptr, 8, 8, 280, 210},
    {kSignalTestButton, Ctl::Button, "video info", "测试信号源", 296, 8, 62, 14},
    {kAutoSetButton, Ctl::Button, "auto-set param", "自动设置采集参数", 362, 8, 62, 14},
    {kCaptureButton, Ctl::Button, "capture video", "采集图像", 296, 26, 62, 14},
    {kStopButton, Ctl::Button, "stop capture", "停止采集", 362, 26, 62, 14},
    {0, Ctl::Label, "video info:", "视频输入源:", 296, 46, 56, 10},
    {kSourceText, Ctl::Label, "", "", 350, 46, 110, 10},
    {0, Ctl::Label, "video type:", "视频输入类型:", 296, 58, 56, 10},
    {kTypeText, Ctl::Label, "", "", 350, 58, 110, 10},
    {0, Ctl::Label, "scan lines  :", "垂直扫描线数:", 296, 70, 56, 10},
    {kLinesText, Ctl::Label, "", "", 350, 70, 110, 10},
    {0, Ctl::Label, "framerate:", "场频:", 296, 82, 56, 10},
    {kRateText, Ctl::Label, "", "", 350, 82, 110, 10},
    {0, Ctl::Label, "trig status:", "外触发状态:", 296, 94, 56, 10},
    {kTriggerText, Ctl::Label, "", "", 350, 94, 110, 10},
    {kAspect43Radio, Ctl::RadioFirst, "4:3", nullptr, 296, 108, 40, 10},
    {kAspect11Radio, Ctl::Radio, "1:1", nullptr, 340, 108, 40, 10},
    {0, Ctl::Label, "total num:", "总帧数:", 296, 124, 56, 10},
    {kTotalFramesEdit, Ctl::EditDisabled, "", "", 354, 122, 50, 12},
    {0, Ctl::Label, "display fps:", "显示帧率:", 296, 140, 56, 10},
    {kDisplayRateEdit, Ctl::EditDisabled, "", "", 354, 138, 50, 12},
    {0, Ctl::Group, "offset", "偏移", 296, 156, 128, 58},
    {0, Ctl::Label, "x:", nullptr, 302, 172, 10, 10},
    {kXOffsetBar, Ctl::HScroll, nullptr, nullptr, 314, 172, 72, 10},
    {kXOffsetEdit, Ctl::EditDisabled, "", "", 390, 171, 30, 12},
    {0, Ctl::Label, "y:", nullptr, 302, 192, 10, 10},
    {kYOffsetBar, Ctl::HScroll, nullptr, nullptr, 314, 192, 72, 10},
    {kYOffsetEdit, Ctl::EditDisabled, "", "", 390, 191, 30, 12},
};

QString tr2(const char* en, const char* zh) { return cameraState().text(en, zh); }

BoardLibrary& boards() { return BoardLibrary::instance(); }

}  // namespace

// ---- the window --------------------------------------------------------------

CDlgGrabVideo::CDlgGrabVideo(QWidget* owner, CTyxVistrelDlg* main) : CompanionWindow(owner, main) {
  buildControls(kControls);
  setDialogSize(464, 224);
  setWindowTitle("Grab video");

  QWidget* picture = controlWidget(kPicture);
  picture->installEventFilter(this);
  // The format of the window's backing store: painting it is a plain copy.
  offscreen_ = QImage(picture->size(), QImage::Format_ARGB32_Premultiplied);
  offscreen_.fill(Qt::black);

  connect(control<QPushButton>(kSignalTestButton), &QPushButton::clicked, this, [this] { onSignalTest(); });
  connect(control<QPushButton>(kAutoSetButton), &QPushButton::clicked, this, [this] { onAutoSet(); });
  connect(control<QPushButton>(kCaptureButton), &QPushButton::clicked, this, [this] { onCaptureStart(); });
  connect(control<QPushButton>(kStopButton), &QPushButton::clicked, this, [this] { onCaptureStop(); });
  auto* x = control<ReqScrollBar>(kXOffsetBar);
  auto* y = control<ReqScrollBar>(kYOffsetBar);
  connect(x, &ReqScrollBar::scrollRequest, this, [this](int code, int pos) { onScroll(true, code, pos); });
  connect(y, &ReqScrollBar::scrollRequest, this, [this](int code, int pos) { onScroll(false, code, pos); });
  // Before a board is first opened the offsets show the usual capture window.
  x->setRange(0, 768);
  y->setRange(0, 576);
  xOffset_ = xOffsetText_ = 168;
  yOffset_ = yOffsetText_ = 38;
  control<QRadioButton>(kAspect43Radio)->setChecked(true);
  pushMembers();

#ifndef _WIN32
  if (pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) == 0) {
    wakeNotifier_ = new QSocketNotifier(wakePipe_[0], QSocketNotifier::Read, this);
    connect(wakeNotifier_, &QSocketNotifier::activated, this, [this] { onWake(); });
  } else {
    wakePipe_[0] = wakePipe_[1] = -1;
  }
#endif
}

CDlgGrabVideo::~CDlgGrabVideo() {
  // The library's thread must be done with this window before it goes.
  haltCapture();
  Registry::get().remove(this);
  if (board_) boards().closeBoard(board_);
  board_ = nullptr;
  delete wakeNotifier_;
  wakeNotifier_ = nullptr;
#ifndef _WIN32
  for (int& fd : wakePipe_)
    if (fd >= 0) ::close(fd);
#endif
}

int32_t CDlgGrabVideo::frameCount() const {
  std::lock_guard<std::mutex> lk(frameMutex_);
  return frameCounter_;
}

void CDlgGrabVideo::pushMembers() {
  Busy guard(busy_);
  control<QLineEdit>(kTotalFramesEdit)->setText(QString::number(totalFrames_));
  control<QLineEdit>(kDisplayRateEdit)->setText(QString::number(rate_.fps(), 'f', 1));
  control<ReqScrollBar>(kXOffsetBar)->setValue(xOffset_);
  control<ReqScrollBar>(kYOffsetBar)->setValue(yOffset_);
  control<QLineEdit>(kXOffsetEdit)->setText(QString::number(xOffsetText_));
  control<QLineEdit>(kYOffsetEdit)->setText(QString::number(yOffsetText_));
}

void CDlgGrabVideo::setCaptureButtonsEnabled(bool enabled) {
  for (int id : {kCaptureButton, kSignalTestButton, kAutoSetButton}) controlWidget(id)->setEnabled(enabled);
}

// ---- open and close --------------------------------------------------------

bool CDlgGrabVideo::openGrab(QWidget* owner) {
  // A board still open from before is closed first, so one window never
  // holds two.
  if (board_) closeGrab();
  CDlgSelectBoard dialog(owner ? owner : this, *this);
  if (dialog.prepare()) Desktop::get().execDialog(&dialog);
  if (!board_) return false;
  onSignalTest();
  const int32_t range = boards().setVideoParam(board_, 12, -1);
  // A failed read (negative) leaves the ranges as they were.
  if (range >= 0) {
    control<ReqScrollBar>(kXOffsetBar)->setRange(0, range & 0xFFFF);
    control<ReqScrollBar>(kYOffsetBar)->setRange(0, (range >> 16) & 0xFFFF);
  }
  pushMembers();
  return true;
}

void CDlgGrabVideo::closeGrab() {
  setCaptureButtonsEnabled(true);
  haltCapture();
  // A close the library refuses leaves nothing more to do with the handle.
  if (board_) boards().closeBoard(board_);
  board_ = nullptr;
  std::lock_guard<std::mutex> lk(frameMutex_);
  captureBoard_ = nullptr;
}

bool CDlgGrabVideo::openSelectedBoard(QWidget* messageOwner) {
  if (!block_) {
    // Allocated once, zero-filled, and kept for the rest of the run.
    size_t size = capture::kFrameBlockSize;
    uint8_t* memory = new (std::nothrow) uint8_t[size]();
    if (!memory) {
      size = capture::kFrameBlockFallbackSize;
      memory = new (std::nothrow) uint8_t[size]();
    }
    if (!memory) {
      Desktop::get().message(messageOwner, "Allocate memory failed !", "Warning");
      return false;
    }
    std::lock_guard<std::mutex> lk(frameMutex_);
    block_.reset(memory);
    blockSize_ = size;
  }
  int32_t index = selectedBoard_;
  void* opened = boards().openBoard(&index);
  if (!opened) {
    const int32_t code = boards().getLastError();
    const char* pattern =
        code == 1   ? " ErrorCode=%d\n\n Not found correct 'Tyx series Image Boards' in this Machine! "
        : code == 2 ? " ErrorCode=%d\n\n Failed to open device vxd/service driver for Tyx Image Board!"
                    : " ErrorCode=%d\n\n Open selected board failed! ";
    Desktop::get().message(messageOwner, QString::asprintf(pattern, code), "Warning");
    return false;
  }
  board_ = opened;
  buildInitialHeader();
  boards().getBufferAddr(board_);
  return true;
}

void CDlgGrabVideo::buildInitialHeader() {
  capture::BoardReadings r;
  r.rect = TyxRect{0, 0, -1, 0};
  boards().setTargetRect(board_, -1, &r.rect);
  r.capture10 = boards().setCaptureParam(board_, 10, -1);
  r.convert1 = boards().setConvertParam(board_, 1, -1);
  r.capture3 = boards().setCaptureParam(board_, 3, -1);
  r.convert6 = boards().setConvertParam(board_, 6, -1);
  const capture::FrameGeometry g = capture::initialGeometry(r);
  std::lock_guard<std::mutex> lk(frameMutex_);
  headerValid_ =
      block_ && capture::buildDisplayHeader(block_.get(), capture::kPixelAreaOffset, g.width, g.height,
                                            g.bits, g.format) == capture::HeaderError::None;
}

// ---- signal test and auto-set ----------------------------------------------

void CDlgGrabVideo::onSignalTest() {
  // Without a board there is no signal to ask about.
  if (!board_) return;
  BoardLibrary& lib = boards();
  const bool zh = cameraState().chinese();
  const int32_t signal = lib.getSignalParam(board_, 1);
  const bool has = signal == 1;
  QString source;
  if (has) {
    source = tr2("signal detected", "检测到了信号源");
    const int32_t colour = lib.getSignalParam(board_, 9);
    if (colour == 1)
      source += "(Color)";
    else if (colour == 0)
      source += "(B/W)";
  } else if (signal == 0) {
    source = tr2("no signal", "没有信号源");
  } else {
    source = tr2("unsupport", "不支持");
  }
  control<QLabel>(kSourceText)->setText(source);

  QString type = tr2("unknow", "未知");
  if (has) {
    lib.waitSignalEvent(board_, 3, 40);
    interlace_ = lib.getSignalParam(board_, 2);
    if (interlace_ == 1)
      type = tr2("Interlaced", "隔行信号(Interlaced)");
    else if (interlace_ == 0)
      type = tr2("Non-interlaced", "逐行信号(Non-interlaced)");
    else if (interlace_ == -1)
      type = tr2("unsupport", "不支持");
    // Any other value is not one the board documents: shown as unknown.
  }
  control<QLabel>(kTypeText)->setText(type);

  lines_ = -1;
  QString lines = tr2("unknow", "未知");
  if (has) {
    lines_ = lib.getSignalParam(board_, 3);
    lines = lines_ == -1 ? tr2("unsupport", "不支持")
                         : (zh ? QString::fromUtf8("%1 行") : QString("%1 lines")).arg(lines_);
  }
  control<QLabel>(kLinesText)->setText(lines);

  QString rate = tr2("unknow", "未知");
  if (has) {
    fieldRate_ = lib.getSignalParam(board_, 5);
    if (fieldRate_ != -1)
      rate = (zh ? QString::fromUtf8("%1 场数/秒") : QString("%1 field/s")).arg(fieldRate_);
  }
  control<QLabel>(kRateText)->setText(rate);

  const int32_t trigger = lib.getSignalParam(board_, 7);
  control<QLabel>(kTriggerText)->setText(trigger == -1  ? tr2("unsupport", "不支持")
                                 : trigger == 1 ? tr2("trig status", "触发状态")
                                                : tr2("no trig", "无触发"));

  control<QRadioButton>(kAspect43Radio)->setChecked(true);
  for (int id : {kAutoSetButton, kAspect43Radio, kAspect11Radio}) controlWidget(id)->setEnabled(lines_ != -1);
  lib.putSignalParam(board_, 1, 15);
}

void CDlgGrabVideo::onAutoSet() {
  if (!board_) return;
  // The signal test marks 4:3; the user's choice is taken before it, so a
  // chosen 1:1 is kept through the auto-set.
  const bool square = control<QRadioButton>(kAspect11Radio)->isChecked();
  {
    WaitCursor wait;
    onSignalTest();
    if (square && control<QRadioButton>(kAspect11Radio)->isEnabled()) control<QRadioButton>(kAspect11Radio)->setChecked(true);
    applyTiming(capture::timingFor(interlace_, lines_, fieldRate_,
                                   square ? capture::Aspect::Square : capture::Aspect::FourThree));
  }
  pushMembers();
  refresh();
  update();
}

void CDlgGrabVideo::applyTiming(const capture::TimingPlan& p) {
  if (!p.valid) return;
  BoardLibrary& lib = boards();
  lib.setVideoParam(board_, 8, p.interlace);
  lib.setCaptureParam(board_, 10, p.interlace);
  if (p.setParam9Low) {
    const int32_t v9 = lib.setVideoParam(board_, 9, -1);
    lib.setVideoParam(board_, 9,
                      static_cast<int32_t>((static_cast<uint32_t>(v9) & 0xFFFF0000u) |
                                           static_cast<uint32_t>(p.param9Low & 0xFFFF)));
  }
  lib.setVideoParam(board_, 7, p.preset);
  if (p.computed) {
    lib.setCaptureParam(board_, 11, p.pixelsPerLine);
    lib.setCaptureParam(board_, 12, p.linesPerFrame);
    lib.setVideoParam(board_, 13, p.clockClass);
    lib.setVideoParam(board_, 19, static_cast<int32_t>(p.offsetWord));
    Desktop::get().sleepMs(1000);
    lib.setVideoParam(board_, 19, -1);
    lib.setVideoParam(board_, 7, 2);
  } else {
    lib.setVideoParam(board_, 13, p.clockClass);
    if (p.writeTotals) {
      lib.setCaptureParam(board_, 11, p.pixelsPerLine);
      lib.setCaptureParam(board_, 12, p.linesPerFrame);
    }
  }
  TyxRect rect{0, 0, p.width, p.height};
  lib.setTargetRect(board_, 0, &rect);
  rect = TyxRect{0, 0, p.width, p.height};
  lib.setTargetRect(board_, 1, &rect);
}

// ---- painting (GUI thread) ---------------------------------------------------

void CDlgGrabVideo::onFrameReady(uint64_t sequence) {
  rate_.frame(Desktop::get().nowMs());
  renderFrame();
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    paintedSeq_ = std::max(paintedSeq_, sequence);
  }
  frameCv_.notify_all();
}

void CDlgGrabVideo::renderFrame() {
  {
    std::lock_guard<std::mutex> lk(frameMutex_);
    totalFrames_ = frameCounter_;
    BitmapView view;
    if (block_ && headerValid_ &&
        viewSplitBitmap(block_.get(), capture::kPixelAreaOffset, block_.get() + capture::kPixelAreaOffset,
                        blockSize_ - capture::kPixelAreaOffset, &view))
      scaler_.paint(view, offscreen_);
  }
  if (board_) {
    const int32_t offset = boards().setVideoParam(board_, 19, -1);
    xOffset_ = xOffsetText_ = offset & 0xFFFF;
    yOffset_ = yOffsetText_ = (offset >> 16) & 0xFFFF;
  }
  pushMembers();
  // Painted now, not later: the frame callback waits for it.
  controlWidget(kPicture)->repaint();
}

void CDlgGrabVideo::refresh() { renderFrame(); }

bool CDlgGrabVideo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controlWidget(kPicture) && event->type() == QEvent::Paint) {
    QPainter painter(controlWidget(kPicture));
    painter.drawImage(0, 0, offscreen_);
    return true;
  }
  return CompanionWindow::eventFilter(watched, event);
}

// ---- offsets ---------------------------------------------------------------

void CDlgGrabVideo::onScroll(bool horizontal, int code, int pos) {
  if (busy_) return;
  auto* bar = control<ReqScrollBar>(horizontal ? kXOffsetBar : kYOffsetBar);
  const int current = horizontal ? xOffset_ : yOffset_;
  // Every request ends in the read and write-back of the offset word, the
  // end of scrolling included: it keeps the position and writes it once
  // more, so the board holds the position the bar shows.
  const int next = ReqScrollBar::standardPosition(code, pos, current, bar->minimum(), bar->maximum(), 1, 40);
  (horizontal ? xOffset_ : yOffset_) = next;
  if (board_) {
    BoardLibrary& lib = boards();
    const uint32_t word = static_cast<uint32_t>(lib.setVideoParam(board_, 19, -1));
    const uint32_t moved = static_cast<uint32_t>(next) & 0xFFFF;
    const uint32_t value = horizontal ? (word & 0xFFFF0000u) | moved : (word & 0x0000FFFFu) | (moved << 16);
    if (lib.setVideoParam(board_, 19, static_cast<int32_t>(value)) < 0) {
      // The member keeps the new position even though the board refused it.
      Desktop::get().message(cameraState().messageParent ? cameraState().messageParent : this,
                             strings::cameraErrorMessage(lib.getLastError(), cameraState().chinese()),
                             "Vistrel");
    }
  }
  (horizontal ? xOffsetText_ : yOffsetText_) = next;
  pushMembers();
  refresh();
  update();
}
