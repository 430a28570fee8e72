// dlg_grab_video.cpp - the "Grab video" window: live images through a frame-grabber board.
#include "imaging/dlg_grab_video.h"

#include <QAbstractItemView>
#include <QComboBox>
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
#include <chrono>
#include <cstring>
#include <new>
#include <vector>

#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/strings.h"
#include "imaging/board_library.h"

namespace {

// One table for both languages: the geometry is shared, only texts differ.
constexpr ControlSpec kControls[] = {
    {1156, Ctl::Picture, nullptr, nullptr, 8, 8, 280, 210},
    {1001, Ctl::Button, "video info", "测试信号源", 296, 8, 62, 14},
    {1065, Ctl::Button, "auto-set param", "自动设置采集参数", 362, 8, 62, 14},
    {1067, Ctl::Button, "capture video", "采集图像", 296, 26, 62, 14},
    {1068, Ctl::Button, "stop capture", "停止采集", 362, 26, 62, 14},
    {0, Ctl::Label, "video info:", "视频输入源:", 296, 46, 56, 10},
    {1157, Ctl::Label, "", "", 350, 46, 110, 10},
    {0, Ctl::Label, "video type:", "视频输入类型:", 296, 58, 56, 10},
    {1158, Ctl::Label, "", "", 350, 58, 110, 10},
    {0, Ctl::Label, "scan lines  :", "垂直扫描线数:", 296, 70, 56, 10},
    {1159, Ctl::Label, "", "", 350, 70, 110, 10},
    {0, Ctl::Label, "framerate:", "场频:", 296, 82, 56, 10},
    {1160, Ctl::Label, "", "", 350, 82, 110, 10},
    {0, Ctl::Label, "trig status:", "外触发状态:", 296, 94, 56, 10},
    {1161, Ctl::Label, "", "", 350, 94, 110, 10},
    {1162, Ctl::RadioFirst, "4:3", nullptr, 296, 108, 40, 10},
    {1163, Ctl::Radio, "1:1", nullptr, 340, 108, 40, 10},
    {0, Ctl::Label, "total num:", "总帧数:", 296, 124, 56, 10},
    {1165, Ctl::EditDisabled, "", "", 354, 122, 50, 12},
    {0, Ctl::Label, "display fps:", "显示帧率:", 296, 140, 56, 10},
    {1169, Ctl::EditDisabled, "", "", 354, 138, 50, 12},
    {0, Ctl::Group, "offset", "偏移", 296, 156, 128, 58},
    {0, Ctl::Label, "x:", nullptr, 302, 172, 10, 10},
    {1167, Ctl::HScroll, nullptr, nullptr, 314, 172, 72, 10},
    {1168, Ctl::EditDisabled, "", "", 390, 171, 30, 12},
    {0, Ctl::Label, "y:", nullptr, 302, 192, 10, 10},
    {1166, Ctl::HScroll, nullptr, nullptr, 314, 192, 72, 10},
    {1033, Ctl::EditDisabled, "", "", 390, 191, 30, 12},
};

constexpr ControlSpec kSelectControls[] = {
    {0, Ctl::Label, "Card available: ", "已安装的图象卡: ", 8, 8, 70, 10},
    {2010, Ctl::Label, "", "", 80, 8, 40, 10},
    {0, Ctl::Label, "Card selected: ", "当前选用顺序号: ", 8, 22, 70, 10},
    {2012, Ctl::Label, "", "", 80, 22, 40, 10},
    // Wide enough for a board line with a name of some 30 characters; a
    // longer name is shown whole in the open list and in the tooltip.
    {2011, Ctl::Combo, nullptr, nullptr, 8, 38, 240, 13},
    {1, Ctl::DefaultButton, "OK", "确定", 120, 60, 60, 14},
    {2, Ctl::Button, "Cancel", "取消", 188, 60, 60, 14},
};

// A board list longer than this is taken as a driver fault; the rest is not
// listed.
constexpr int32_t kMaxListedBoards = 64;
// Longest the capture thread waits for the GUI thread to paint a frame. It
// only matters when the GUI thread is stuck elsewhere: the frame data are
// guarded by the mutex either way, so the next conversion cannot tear a
// frame being painted.
constexpr auto kPaintWait = std::chrono::seconds(2);

QString tr2(const char* en, const char* zh) { return cameraState().text(en, zh); }

BoardLibrary& boards() { return BoardLibrary::instance(); }

}  // namespace

// Which window a board's callbacks belong to. The callbacks get only the
// board handle; a window is found here and, while a callback uses it,
// counted in its inFlight_, which its stop path waits to fall to 0.
struct CDlgGrabVideo::Registry {
  std::mutex mutex;  // guards entries; taken before a window's frameMutex_
  std::vector<std::pair<void*, CDlgGrabVideo*>> entries;

  static Registry& get() {
    static Registry r;
    return r;
  }
  void add(void* b, CDlgGrabVideo* w) {
    std::lock_guard<std::mutex> lk(mutex);
    remove(w, false);
    entries.emplace_back(b, w);
  }
  void remove(CDlgGrabVideo* w, bool lock = true) {
    std::unique_lock<std::mutex> lk(mutex, std::defer_lock);
    if (lock) lk.lock();
    entries.erase(
        std::remove_if(entries.begin(), entries.end(), [w](const auto& e) { return e.second == w; }),
        entries.end());
  }
};

// ---- board selection -------------------------------------------------------

CDlgSelectBoard::CDlgSelectBoard(QWidget* parent, CDlgGrabVideo& video)
    : ControlHost<QDialog>(parent), video_(video) {
  buildControls(kSelectControls);
  resize(Layout::px(256), Layout::py(82));
  setWindowTitle(tr2("Select Card", "选择使用卡"));
  connect(control<QComboBox>(2011), &QComboBox::activated, this, [this](int) { onSelection(); });
  connect(control<QComboBox>(2011), &QComboBox::currentIndexChanged, this, [this](int) { onSelection(); });
  connect(control<QPushButton>(1), &QPushButton::clicked, this, [this] { onConfirm(); });
  connect(control<QPushButton>(2), &QPushButton::clicked, this, [this] { reject(); });
}

bool CDlgSelectBoard::prepare() {
  TyxBoardRecord* list = nullptr;
  const int32_t count = boards().getImageDevice(&list);
  if (count < 1 || list == nullptr) {
    Desktop::get().message(parentWidget(), "valid only for tyx image board,no tyx board detected,failed!",
                           "Vistrel");
    return false;
  }
  const int32_t listed = std::min(count, kMaxListedBoards);
  control<QLabel>(2010)->setText(QString::number(count));
  Busy guard(busy_);
  auto* combo = control<QComboBox>(2011);
  combo->clear();
  for (int32_t i = 0; i < listed; ++i) {
    const TyxBoardRecord& r = list[i];
    // The name is the driver's; it is read only up to the end of its field.
    const QString name = QString::fromLocal8Bit(r.name, static_cast<int>(strnlen(r.name, sizeof r.name)));
    combo->addItem(QString::asprintf(" No.%d :   ID=%d :  ", i, r.id) + name + QStringLiteral("    "));
  }
  // The start value -1 stands for the first board; an index past the list
  // (a board removed since) for the last.
  const int32_t index = std::clamp(video_.selectedBoard(), 0, listed - 1);
  video_.setSelectedBoard(index);
  combo->setCurrentIndex(index);
  control<QLabel>(2012)->setText(QString::number(index));
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 2 * combo->view()->frameWidth());
  combo->setToolTip(combo->currentText());
  return true;
}

void CDlgSelectBoard::onSelection() {
  if (busy_) return;
  const int current = control<QComboBox>(2011)->currentIndex();
  video_.setSelectedBoard(current < 0 ? 0 : current);
  control<QComboBox>(2011)->setToolTip(control<QComboBox>(2011)->currentText());
  control<QLabel>(2012)->setText(QString::number(video_.selectedBoard()));
}

void CDlgSelectBoard::onConfirm() {
  video_.openSelectedBoard(this);
  accept();
}

// ---- the window --------------------------------------------------------------

CDlgGrabVideo::CDlgGrabVideo(QWidget* owner, CTyxVistrelDlg* main) : CompanionWindow(owner, main) {
  buildControls(kControls);
  setDialogSize(464, 224);
  setWindowTitle("Grab video");

  QWidget* picture = controlWidget(1156);
  picture->installEventFilter(this);
  // The format of the window's backing store: painting it is a plain copy.
  offscreen_ = QImage(picture->size(), QImage::Format_ARGB32_Premultiplied);
  offscreen_.fill(Qt::black);

  connect(control<QPushButton>(1001), &QPushButton::clicked, this, [this] { onSignalTest(); });
  connect(control<QPushButton>(1065), &QPushButton::clicked, this, [this] { onAutoSet(); });
  connect(control<QPushButton>(1067), &QPushButton::clicked, this, [this] { onCaptureStart(); });
  connect(control<QPushButton>(1068), &QPushButton::clicked, this, [this] { onCaptureStop(); });
  auto* x = control<ReqScrollBar>(1167);
  auto* y = control<ReqScrollBar>(1166);
  connect(x, &ReqScrollBar::scrollRequest, this, [this](int code, int pos) { onScroll(true, code, pos); });
  connect(y, &ReqScrollBar::scrollRequest, this, [this](int code, int pos) { onScroll(false, code, pos); });
  // Before a board is first opened the offsets show the usual capture window.
  x->setRange(0, 768);
  y->setRange(0, 576);
  xOffset_ = xOffsetText_ = 168;
  yOffset_ = yOffsetText_ = 38;
  control<QRadioButton>(1162)->setChecked(true);
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

int32_t CDlgGrabVideo::frameCount() const {
  std::lock_guard<std::mutex> lk(frameMutex_);
  return frameCounter_;
}

void CDlgGrabVideo::pushMembers() {
  Busy guard(busy_);
  control<QLineEdit>(1165)->setText(QString::number(totalFrames_));
  control<QLineEdit>(1169)->setText(QString::number(rate_.fps(), 'f', 1));
  control<ReqScrollBar>(1167)->setValue(xOffset_);
  control<ReqScrollBar>(1166)->setValue(yOffset_);
  control<QLineEdit>(1168)->setText(QString::number(xOffsetText_));
  control<QLineEdit>(1033)->setText(QString::number(yOffsetText_));
}

void CDlgGrabVideo::setCaptureButtonsEnabled(bool enabled) {
  for (int id : {1067, 1001, 1065}) controlWidget(id)->setEnabled(enabled);
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
    control<ReqScrollBar>(1167)->setRange(0, range & 0xFFFF);
    control<ReqScrollBar>(1166)->setRange(0, (range >> 16) & 0xFFFF);
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
  control<QLabel>(1157)->setText(source);

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
  control<QLabel>(1158)->setText(type);

  lines_ = -1;
  QString lines = tr2("unknow", "未知");
  if (has) {
    lines_ = lib.getSignalParam(board_, 3);
    lines = lines_ == -1 ? tr2("unsupport", "不支持")
                         : (zh ? QString::fromUtf8("%1 行") : QString("%1 lines")).arg(lines_);
  }
  control<QLabel>(1159)->setText(lines);

  QString rate = tr2("unknow", "未知");
  if (has) {
    fieldRate_ = lib.getSignalParam(board_, 5);
    if (fieldRate_ != -1)
      rate = (zh ? QString::fromUtf8("%1 场数/秒") : QString("%1 field/s")).arg(fieldRate_);
  }
  control<QLabel>(1160)->setText(rate);

  const int32_t trigger = lib.getSignalParam(board_, 7);
  control<QLabel>(1161)->setText(trigger == -1  ? tr2("unsupport", "不支持")
                                 : trigger == 1 ? tr2("trig status", "触发状态")
                                                : tr2("no trig", "无触发"));

  control<QRadioButton>(1162)->setChecked(true);
  for (int id : {1065, 1162, 1163}) controlWidget(id)->setEnabled(lines_ != -1);
  lib.putSignalParam(board_, 1, 15);
}

void CDlgGrabVideo::onAutoSet() {
  if (!board_) return;
  // The signal test marks 4:3; the user's choice is taken before it, so a
  // chosen 1:1 is kept through the auto-set.
  const bool square = control<QRadioButton>(1163)->isChecked();
  {
    WaitCursor wait;
    onSignalTest();
    if (square && control<QRadioButton>(1163)->isEnabled()) control<QRadioButton>(1163)->setChecked(true);
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
  controlWidget(1156)->repaint();
}

void CDlgGrabVideo::refresh() { renderFrame(); }

bool CDlgGrabVideo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controlWidget(1156) && event->type() == QEvent::Paint) {
    QPainter painter(controlWidget(1156));
    painter.drawImage(0, 0, offscreen_);
    return true;
  }
  return CompanionWindow::eventFilter(watched, event);
}

// ---- offsets ---------------------------------------------------------------

void CDlgGrabVideo::onScroll(bool horizontal, int code, int pos) {
  if (busy_) return;
  auto* bar = control<ReqScrollBar>(horizontal ? 1167 : 1166);
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
