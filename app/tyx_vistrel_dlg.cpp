// tyx_vistrel_dlg.cpp - start-up, discovery, the page table and the buttons.
#include "app/tyx_vistrel_dlg.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/camera_session.h"
#include "app/camera_state.h"
#include "app/desktop.h"
#include "app/dlg_page2.h"
#include "app/dlg_page_wait.h"
#include "app/my_tab.h"
#include "app/net_records.h"
#include "app/startup.h"
#include "app/strings.h"
#include "comm/dlg_com.h"
#include "comm/dlg_net_camera.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "imaging/dlg_usb_param.h"
#include "imaging/dlg_video.h"
#include "pages/area/dlg_color_param.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_page3.h"
#include "pages/area/dlg_param.h"
#include "pages/linescan/dlg_linear_color.h"
#include "pages/linescan/dlg_linear_mode.h"
#include "pages/linescan/dlg_linear_param.h"
#include "pages/models/dlg_cirl.h"
#include "pages/models/dlg_color_correct.h"
#include "pages/models/dlg_tarvo.h"
#include "pages/models/melko.h"
#include "pages/models/melko_note_page.h"
#include "vistrel_build.h"

// The layout table and the tables below name controls by the window's ids.
using enum CTyxVistrelDlg::CtlId;

namespace {

// Template 102. The Chinese layout is larger: its captions are wider.
const ControlSpec kMainEnglish[] = {
    {kModelLabel, Ctl::Label, "", nullptr, 7, 232, 200, 10},
    {kBarModeButton, Ctl::Button, "Bar Mode", nullptr, 7, 246, 62, 14},
    {kGrabButton, Ctl::Button, "<<Grab", nullptr, 73, 246, 62, 14},
    {kGammaButton, Ctl::Button, "GAMMA SET>>", nullptr, 139, 246, 62, 14},
    {kInfoButton, Ctl::Button, "Info Window >>", nullptr, 205, 246, 62, 14},
    {kReopenButton, Ctl::Button, "Reopen Camera", nullptr, 271, 246, 62, 14},
    {kReadMemoryButton, Ctl::Button, "Read Memory", nullptr, 7, 264, 62, 14},
    {kWriteMemoryButton, Ctl::Button, "Write Memory", nullptr, 73, 264, 62, 14},
    {kDefaultParamButton, Ctl::Button, "Default Param", nullptr, 139, 264, 62, 14},
    {kCloseButton, Ctl::Button, "Close", nullptr, 271, 264, 62, 14},
};
const ControlSpec kMainChinese[] = {
    {kModelLabel, Ctl::Label, "", nullptr, 7, 232, 220, 10},
    {kBarModeButton, Ctl::Button, "控制条模式", nullptr, 7, 246, 68, 15},
    {kGrabButton, Ctl::Button, "<<采集图像", nullptr, 79, 246, 68, 15},
    {kGammaButton, Ctl::Button, "GAMMA设置>>", nullptr, 151, 246, 68, 15},
    {kInfoButton, Ctl::Button, "参数显示>>", nullptr, 223, 246, 68, 15},
    {kReopenButton, Ctl::Button, "重新打开", nullptr, 295, 246, 68, 15},
    {kReadMemoryButton, Ctl::Button, "读取记忆体参数", nullptr, 7, 265, 68, 15},
    {kWriteMemoryButton, Ctl::Button, "存储到记忆体", nullptr, 79, 265, 68, 15},
    {kDefaultParamButton, Ctl::Button, "恢复出厂设置", nullptr, 151, 265, 68, 15},
    {kCloseButton, Ctl::Button, "关闭", nullptr, 295, 265, 68, 15},
};

const char* const kTitlesEnglish[] = {
    "Mode",          "Param",       "Color", "Port and File", "Electronic Circle",
    "Color Correct", "video param", "Tarvo", "Melko"};
const char* const kTitlesChinese[] = {"模式选择", "参数调节", "色彩调节", "通信与文件", "消隐圆设置",
                                      "色彩校正", "视频参数", "Tarvo",    "Melko"};

bool notLineNotUsb(const CameraState& s) {
  return !types::isLineScan(s.typeCode) && !types::isUsbNine(s.typeCode);
}

// The page table: the pages each type code gets, with their tab titles.
struct Row {
  PageKind kind;
  int title;
  bool (*inserted)(const CameraState&);
};
const Row kRows[] = {
    {PageKind::Mode, 0, notLineNotUsb},
    {PageKind::Param, 1, notLineNotUsb},
    {PageKind::ColorParam, 2, [](const CameraState& s) { return types::isColour(s.typeCode); }},
    {PageKind::Circle, 4, [](const CameraState& s) { return types::isCircle(s.typeCode, s.versionCode); }},
    {PageKind::Tarvo, 7, [](const CameraState& s) { return s.typeCode == model::kTarvo; }},
    {PageKind::Melko, 8, [](const CameraState& s) { return s.typeCode == model::kMelko; }},
    {PageKind::Video, 6,
     [](const CameraState& s) { return types::isVideo(s.typeCode, s.versionCode, s.videoPageTag); }},
    {PageKind::UsbParam, 1, [](const CameraState& s) { return types::isUsbNine(s.typeCode); }},
    {PageKind::ColorCorrect, 5, [](const CameraState& s) { return types::isUsbNine(s.typeCode); }},
    {PageKind::LinearMode, 0, [](const CameraState& s) { return types::isLineScan(s.typeCode); }},
    {PageKind::LinearParam, 1, [](const CameraState& s) { return types::isLineScan(s.typeCode); }},
    {PageKind::LinearColor, 2, [](const CameraState& s) { return types::isLineScan(s.typeCode); }},
    {PageKind::Com, 3, [](const CameraState&) { return true; }},
};
// Start-up inserts in the order of kRows; a rebuild in this order.
const PageKind kRebuildOrder[] = {PageKind::Mode,         PageKind::Param,       PageKind::ColorParam,
                                  PageKind::Circle,       PageKind::Video,       PageKind::UsbParam,
                                  PageKind::ColorCorrect, PageKind::Tarvo,       PageKind::Melko,
                                  PageKind::LinearMode,   PageKind::LinearParam, PageKind::LinearColor,
                                  PageKind::Com};

const Row& rowOf(PageKind kind) {
  for (const Row& row : kRows)
    if (row.kind == kind) return row;
  return kRows[0];
}

// The gamma library's dialog numbers its radio buttons from this id, one per
// gamma setting, so the check callback names the button of the present one.
constexpr int32_t kGammaDialogFirstRadio = 1009;

int32_t gammaCheck(void*) { return kGammaDialogFirstRadio + cameraState().params.gamma; }

int32_t gammaApply(void* cam, int32_t gammaValue, int32_t, int32_t mode) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  WaitCursor wait;
  if (lib.setConfigParam(cam, tyxid::kGamma, mode, 0) != 1) s.showCameraError();
  s.params.gamma = mode;
  if (mode != 4 && lib.setConfigParam(cam, tyxid::kGammaDialogValue, gammaValue, 0) != 1) s.showCameraError();
  return 1;
}

}  // namespace

CTyxVistrelDlg::CTyxVistrelDlg(QWidget* parent) : QDialog(parent) {
  setWindowIcon(QIcon(":/icons/vistrel.png"));
}

CTyxVistrelDlg::~CTyxVistrelDlg() {
  CameraState& s = cameraState();
  s.beforeCameraCloses = nullptr;
  // Capture must end before the camera and its library go away. The
  // windows are no longer watched: their hiding while they are destroyed is
  // not a user closing them.
  grabShown_ = false;
  for (CompanionWindow* w : companions_) {
    if (w == nullptr) continue;
    w->removeEventFilter(this);
    w->closeGrab();
  }
  for (CompanionWindow* w : companions_) delete w;
  companions_.fill(nullptr);
  if (s.messageParent == this) s.messageParent = nullptr;
  s.closeCamera();
}

QPushButton* CTyxVistrelDlg::button(int id) const { return qobject_cast<QPushButton*>(layout_.byId(id)); }

QString CTyxVistrelDlg::tabTitle(int index) {
  return QString::fromUtf8(cameraState().chinese() ? kTitlesChinese[index] : kTitlesEnglish[index]);
}

void CTyxVistrelDlg::enable(int id, bool on) {
  if (QWidget* w = layout_.byId(id)) w->setEnabled(on);
}

void CTyxVistrelDlg::initialise() {
  CameraState& s = cameraState();
  s.reset();
  // 1. Language and captions.
  s.language = strings::systemLanguageFlag();
  s.messageParent = this;
  const bool zh = s.chinese();
  setWindowTitle(zh ? "Vistrel 20.09" : "Vistrel 14.12");
  if (zh)
    layout_.build(this, kMainChinese, true);
  else
    layout_.build(this, kMainEnglish, false);
  // The dialog keeps its layout's size: shrunk, it would hide its buttons
  // (Close among them); grown, it would only show empty space.
  setFixedSize(Layout::px(zh ? 370 : 340), Layout::py(zh ? 286 : 284));
  tabs_ = new CMyTab(this);
  tabs_->setObjectName("1000");
  tabs_->setGeometry(Layout::px(7), Layout::py(7), Layout::px(zh ? 356 : 326), Layout::py(222));
  modelLabel_ = qobject_cast<QLabel*>(layout_.byId(kModelLabel));
  connect(button(kCloseButton), &QPushButton::clicked, this, &QDialog::accept);
  connect(button(kReopenButton), &QPushButton::clicked, this, &CTyxVistrelDlg::reopenCamera);
  connect(button(kWriteMemoryButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onWriteMemory);
  connect(button(kReadMemoryButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onReadMemory);
  connect(button(kDefaultParamButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onDefaultParam);
  connect(button(kInfoButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onInfoWindow);
  connect(button(kBarModeButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onBarMode);
  connect(button(kGrabButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onGrab);
  connect(button(kGammaButton), &QPushButton::clicked, this, &CTyxVistrelDlg::onGammaSet);
  // Whatever changes the settings has the window painted again. Only
  // painted: a page rebuilds its controls when shown or repainted by hand,
  // never in the middle of its own handler because it told of a change.
  connect(&cameraSession(), &CameraSession::settingsChanged, this, qOverload<>(&QWidget::update));

  // 2. Discovery and identification.
  discover();
  // 4. Hide the progress window, line geometry, model label.
  if (progress_ != nullptr) progress_->hide();
  s.copyLineGeometry();
  showModelText();
  // 5. Pages.
  createPages();
  // 6. Buttons.
  setStartupButtons();
  // 7. Companion windows, created hidden, owned by the main window.
  for (size_t k = 0; k < companions_.size(); ++k) {
    CompanionWindow* w = newCompanion(static_cast<CompanionKind>(k), this, this);
    w->hide();
    companions_[k] = w;
  }
  for (CompanionKind kind : {CompanionKind::Info, CompanionKind::GrabVideo, CompanionKind::PaintUsb})
    companion(kind)->installEventFilter(this);
  for (CompanionKind kind : {CompanionKind::GrabVideo, CompanionKind::PaintUsb})
    connect(companion(kind), &CompanionWindow::captureStateChanged, this,
            [this] { setGrabCaption(grabShown_); });
  s.beforeCameraCloses = [this] {
    for (CompanionWindow* w : companions_)
      if (w != nullptr) w->cameraClosing();
  };
  delete progress_;
  progress_ = nullptr;
}

int CTyxVistrelDlg::run() {
  // QDialog::exec() leaves its loop as soon as the dialog is hidden, and Bar
  // Mode hides the main window while the control bar stands in for it: the
  // program would end under the user's hands. Only the dialog's own closing
  // (which emits finished) ends this loop.
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  show();
  loop.exec(QEventLoop::DialogExec);
  return result();
}

void CTyxVistrelDlg::discover() {
  CameraState& s = cameraState();
  CameraSession& session = cameraSession();
  Desktop& desktop = Desktop::get();
  s.linkFlag = 1;
  s.defaultsRestored = 0;

  progress_ = new CDlgPageWati(nullptr);
  progress_->move(static_cast<int>(0.7 * width()), static_cast<int>(0.8 * height()));
  progress_->show();
  const QString caption = s.text("camera status", "连接状态");
  progress_->message = s.text("prepare for scanning COM,please wait......", "准备检测端口,请等待......");
  progress_->caption = caption;
  progress_->push();

  int found = 0;
  auto pass = [&] {
    for (int n = 1; n <= 4; ++n) {
      s.setPortName(QString("COM%1").arg(n));
      progress_->step = n;
      progress_->message =
          s.chinese() ? QString::fromUtf8("正在检测端口COM%1").arg(n) : QString("scanning COM%1").arg(n);
      progress_->caption = caption;
      if (session.probe(s.port())) {
        found = n;
        return;
      }
      progress_->repaintNow();
    }
  };
  pass();
  if (found == 0) {
    progress_->message = s.text("scan COM again,please wait......", "准备重新检测端口,请等待......");
    progress_->repaintNow();
    desktop.sleepMs(3000);
    pass();
  }
  desktop.sleepMs(2000);
  if (found != 0) {
    progress_->message = s.chinese() ? QString::fromUtf8("设备已找到,连接端口COM%1,正在打开").arg(found)
                                     : QString("prepare for opening camera connected with COM%1").arg(found);
    progress_->step = 4;
    progress_->repaintNow();
    desktop.sleepMs(2000);
    const int32_t version = session.driverVersion();
    setWindowTitle(QString::asprintf("Vistrel %d.%02d", (version >> 16) & 0xFFFF, version & 0xFFFF));
  } else {
    s.linkFlag = 0;
    progress_->message =
        s.text("no camera connected,please check link status", "端口无设备连接,请检查设备连接是否正常");
    progress_->repaintNow();
    desktop.sleepMs(2000);
  }

  // 7.-11. Identify and read the records.
  s.initRecords();
  session.identifyAndRead(OpenedBy::Startup);
  session.notifySettingsChanged();
}

CameraPage* CTyxVistrelDlg::newPage(PageKind kind, QWidget* parent, CTyxVistrelDlg* main) {
  switch (kind) {
    case PageKind::Mode: return new CDlgMode(parent, main);
    case PageKind::Param: return new CDlgParam(parent, main);
    case PageKind::ColorParam: return new CDlgColorParam(parent, main);
    case PageKind::Circle: return new CDlgCirl(parent, main);
    case PageKind::Tarvo: return new CDlgTarvo(parent, main);
    case PageKind::Melko:
      // The page has Chinese texts only; the English interface shows a note
      // in the same tab.
      if (cameraState().chinese()) return new CMelko(parent, main);
      return new CMelkoNotePage(parent, main);
    case PageKind::Video: return new CDlgVideo(parent, main);
    case PageKind::UsbParam: return new CDlgUsbParam(parent, main);
    case PageKind::ColorCorrect: return new CDlgColorCorrect(parent, main);
    case PageKind::LinearMode: return new CDlgLinearMode(parent, main);
    case PageKind::LinearParam: return new CDlgLinearParam(parent, main);
    case PageKind::LinearColor: return new CDlgLinearColor(parent, main);
    case PageKind::Com: return new CDlgCom(parent, main);
    case PageKind::Count: break;
  }
  return nullptr;
}

CompanionWindow* CTyxVistrelDlg::newCompanion(CompanionKind kind, QWidget* owner, CTyxVistrelDlg* main) {
  switch (kind) {
    case CompanionKind::Info: return new CDlgPage2(owner, main);
    case CompanionKind::ControlBar: return new CDlgPage3(owner, main);
    case CompanionKind::GrabVideo: return new CDlgGrabVideo(owner, main);
    case CompanionKind::PaintUsb: return new CDlgPaintUsb(owner, main);
    case CompanionKind::Count: break;
  }
  return nullptr;
}

void CTyxVistrelDlg::showModelText() {
  if (modelLabel_ != nullptr) modelLabel_->setText(cameraState().modelText);
}

std::vector<CTyxVistrelDlg::PlannedPage> CTyxVistrelDlg::pagePlan(const CameraState& s, bool rebuild) {
  std::vector<PlannedPage> plan;
  auto add = [&](const Row& row) {
    if (!row.inserted(s)) return;
    QString title = tabTitle(row.title);
    if (rebuild && row.kind == PageKind::LinearMode) title = QString::fromUtf8("模式调节");
    if (rebuild && row.kind == PageKind::LinearParam) title = QString::fromUtf8("参数设置");
    plan.push_back({row.kind, title});
  };
  if (rebuild) {
    for (PageKind kind : kRebuildOrder) add(rowOf(kind));
  } else {
    for (const Row& row : kRows) add(row);
  }
  return plan;
}

void CTyxVistrelDlg::createPages() {
  tabs_->removeAllTabs();
  for (const Row& row : kRows) {
    CameraPage* page = newPage(row.kind, tabs_, this);
    page->hide();
    pages_[static_cast<size_t>(row.kind)] = page;
  }
  for (const PlannedPage& planned : pagePlan(cameraState(), false)) insertPage(planned.kind, planned.title);
}

void CTyxVistrelDlg::insertPage(PageKind kind, const QString& title) {
  CameraPage* p = page(kind);
  if (p == nullptr) return;
  tabs_->AddPage(p, title);
  p->inserted();
}

void CTyxVistrelDlg::rebuildPages() {
  CameraState& s = cameraState();
  tabs_->removeAllTabs();
  for (const PlannedPage& planned : pagePlan(s, true)) insertPage(planned.kind, planned.title);
  const int32_t t = s.typeCode;
  if (types::isLineScan(t)) {
    for (int id : {kBarModeButton, kInfoButton, kGrabButton}) enable(id, false);
  } else if (!types::hasNoCameraButtons(t)) {
    for (int id : {kGrabButton, kBarModeButton, kInfoButton}) enable(id, true);
  }
  if (types::isUsbNine(t)) {
    for (int id : {kBarModeButton, kGammaButton, kInfoButton, kReadMemoryButton, kWriteMemoryButton,
                   kDefaultParamButton})
      enable(id, false);
  } else {
    // A USB camera disables the memory and default buttons; the next camera
    // that has them must get them back, or they would stay dead until the
    // program is restarted.
    for (int id : {kReopenButton, kReadMemoryButton, kWriteMemoryButton, kDefaultParamButton})
      enable(id, true);
  }
  setGammaButton();
}

void CTyxVistrelDlg::cameraChanged(OpenedBy by) {
  rebuildPages();
  if (by == OpenedBy::PortChange || by == OpenedBy::Network) setPortChangeButtons();
  if (by == OpenedBy::Network) {
    // These network cameras have neither gamma, control bar nor information
    // window.
    const bool limited = types::isNetworkLimited(cameraState().typeCode);
    for (int id : {kGammaButton, kBarModeButton, kInfoButton}) enable(id, !limited);
  }
  companionsFollowCamera();
}

void CTyxVistrelDlg::setPortChangeButtons() {
  const int32_t t = cameraState().typeCode;
  if (types::isLineScan(t)) {
    for (int id : {kBarModeButton, kGammaButton, kInfoButton, kGrabButton}) enable(id, false);
    for (int id : {kReadMemoryButton, kWriteMemoryButton, kDefaultParamButton}) enable(id, true);
  } else if (types::hasNoCameraButtons(t)) {
    for (int id : {kBarModeButton, kGammaButton, kInfoButton, kReadMemoryButton, kWriteMemoryButton,
                   kDefaultParamButton})
      enable(id, false);
  } else {
    for (int id : {kBarModeButton, kInfoButton, kReadMemoryButton, kWriteMemoryButton, kDefaultParamButton})
      enable(id, true);
  }
  setGammaButton();
}

CompanionWindow* CTyxVistrelDlg::imageWindowFor(int32_t type) const {
  return companion(types::isUsbImage(type) ? CompanionKind::PaintUsb : CompanionKind::GrabVideo);
}

void CTyxVistrelDlg::companionsFollowCamera() {
  // Grab acts on the window it has shown. A window the new camera's Grab
  // would not use (a board video left running under a USB camera, say), or
  // one whose button can no longer close it, would otherwise run on with
  // nothing to end it.
  if (grabShown_ && grabWindow_ != nullptr) {
    const QPushButton* grab = button(kGrabButton);
    if (grabWindow_ != imageWindowFor(cameraState().typeCode) || (grab != nullptr && !grab->isEnabled())) {
      CompanionWindow* shown = grabWindow_;
      endGrab(shown);
      shown->hide();
    }
  }
  setGrabCaption(grabShown_);
  // The same for the information window: it lists area-scan values and
  // would stay open with no button to hide it.
  CompanionWindow* info = companion(CompanionKind::Info);
  const QPushButton* infoButton = button(kInfoButton);
  if (info != nullptr && infoButton != nullptr && !infoButton->isEnabled() &&
      (infoShown_ || info->isVisible())) {
    infoShown_ = false;
    setInfoCaption(false);
    info->hide();
  }
}

void CTyxVistrelDlg::setStartupButtons() {
  const int32_t t = cameraState().typeCode;
  if (types::isLineScan(t)) {
    for (int id : {kBarModeButton, kInfoButton, kGrabButton}) enable(id, false);
  }
  if (types::isUsbNine(t)) {
    for (int id : {kBarModeButton, kGammaButton, kInfoButton, kReopenButton, kReadMemoryButton,
                   kWriteMemoryButton, kDefaultParamButton})
      enable(id, false);
  }
  setGammaButton();
}

void CTyxVistrelDlg::setGammaButton() { enable(kGammaButton, !types::isNoGamma(cameraState().typeCode)); }

void CTyxVistrelDlg::reopenCamera() {
  CameraState& s = cameraState();
  CameraSession& session = cameraSession();
  Desktop& desktop = Desktop::get();
  const OpenWay way = CameraSession::wayOf(OpenedBy::Reopen);
  // The pages of the camera before must not follow the new one's settings.
  CameraSession::Hold hold;
  desktop.setWaitCursor(true);
  s.linkFlag = 1;
  session.close();
  desktop.sleepMs(way.waitAfterCloseMs);
  QString port = s.port();
  if (CameraSession::isNetworkPort(port)) {
    // On the network the camera may have changed: the user picks it again
    // from a fresh scan.
    desktop.sleepMs(way.waitAroundNetworkPickMs);
    std::memset(&s.netArea[0], 0, sizeof(NetDeviceRecord));
    void* list = nullptr;
    const int32_t count = session.scanNetwork(&list);
    desktop.setWaitCursor(false);
    if (!showNetCameraList(this, s.netArea, list, count)) {
      // The camera was closed above and none was chosen: the port page must
      // not go on showing it as linked (the pages stay as they were).
      s.linkFlag = 0;
      repaintWindow();
      return;
    }
    port = netrecords::portName(s.netPortChoice);
    desktop.setWaitCursor(true);
    desktop.sleepMs(way.waitAroundNetworkPickMs);
  }
  session.openChosen(port, OpenedBy::Reopen);
  desktop.setWaitCursor(false);
  cameraChanged(OpenedBy::Reopen);
  showModelText();
  repaintWindow();
}

void CTyxVistrelDlg::repaintWindow() {
  // Repainting the dialog repaints its children, and a page rebuilds itself
  // from the camera state when it repaints; the visible page must show what
  // a memory or default operation has just read.
  if (tabs_ != nullptr) {
    if (auto* p = qobject_cast<CameraPage*>(tabs_->page(tabs_->currentIndex()))) p->repaint();
  }
  update();
}

// The session's signal only has the main window painted again; these three
// buttons also rebuild the visible page at once, so it shows what the camera
// holds when the button's work is done.
void CTyxVistrelDlg::onWriteMemory() {
  cameraSession().memorize();
  repaintWindow();
}

void CTyxVistrelDlg::onReadMemory() {
  cameraSession().recall();
  repaintWindow();
}

void CTyxVistrelDlg::onDefaultParam() {
  cameraSession().restoreDefaults();
  repaintWindow();
}

void CTyxVistrelDlg::placeInfoWindow() {
  CompanionWindow* info = companion(CompanionKind::Info);
  if (info == nullptr) return;
  const QScreen* screen = this->screen();
  if (screen == nullptr) {
    info->move(frameGeometry().right() + 1, frameGeometry().top());
    return;
  }
  info->move(placeInfo(screen->availableGeometry(), frameGeometry(), info->frameGeometry().size()));
}

void CTyxVistrelDlg::onInfoWindow() {
  CompanionWindow* info = companion(CompanionKind::Info);
  if (info == nullptr) return;
  if (info->isVisible()) {
    setInfoCaption(false);
    info->hide();
  } else {
    setInfoCaption(true);
    placeInfoWindow();
    info->show();
  }
  // Follows the window, which the user may also close by itself.
  infoShown_ = info->isVisible();
}

void CTyxVistrelDlg::setInfoCaption(bool shown) {
  const bool zh = cameraState().chinese();
  if (shown)
    button(kInfoButton)->setText(zh ? QString::fromUtf8("参数显示<<") : QString("Info Window<<"));
  else
    button(kInfoButton)->setText(zh ? QString::fromUtf8("参数显示>>") : QString("Info Window>>"));
}

void CTyxVistrelDlg::setGrabCaption(bool shown) {
  const bool zh = cameraState().chinese();
  // The USB window keeps its video running while hidden (so that it shows
  // it again at once); the button says so, since nothing else on the screen
  // would.
  const CompanionWindow* usb = companion(CompanionKind::PaintUsb);
  const bool liveBehind = !shown && usb != nullptr && usb->captureRunning();
  QString text;
  if (shown)
    text = zh ? QString::fromUtf8(">>采集图像") : QString(">>Grab");
  else if (liveBehind)
    text = zh ? QString::fromUtf8("<<视频采集中") : QString("<<Grab (live)");
  else
    text = zh ? QString::fromUtf8("<<采集图像") : QString("<<Grab");
  Layout::setFittedText(button(kGrabButton), text);
}

void CTyxVistrelDlg::endGrab(CompanionWindow* window) {
  // Cleared first, so that hiding the window afterwards is not taken for
  // the user closing it.
  grabShown_ = false;
  grabWindow_ = nullptr;
  window->closeGrab();
  setGrabCaption(false);
}

bool CTyxVistrelDlg::eventFilter(QObject* watched, QEvent* event) {
  // Only a hide that leaves the window hidden counts; a minimised window
  // gets a spontaneous hide and stays open.
  auto* w = qobject_cast<CompanionWindow*>(watched);
  if (w == nullptr || event->type() != QEvent::Hide || event->spontaneous() || w->isVisible())
    return QDialog::eventFilter(watched, event);
  if (w == companion(CompanionKind::Info) && infoShown_) {
    infoShown_ = false;
    setInfoCaption(false);
  } else if (w == grabWindow_ && grabShown_) {
    // The user closed the image window: end what the Grab button would end,
    // so the board does not stay open behind a hidden window and the next
    // press opens the window again instead of only closing it.
    endGrab(w);
  }
  return QDialog::eventFilter(watched, event);
}

void CTyxVistrelDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CTyxVistrelDlg::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  CompanionWindow* info = companion(CompanionKind::Info);
  if (info != nullptr && info->isVisible()) placeInfoWindow();
}

void CTyxVistrelDlg::onBarMode() {
  CompanionWindow* bar = companion(CompanionKind::ControlBar);
  if (bar == nullptr) return;
  bar->move(10, 10);
  bar->setMainWindow(this);
  bar->show();
  hide();
  bar->repaint();
}

CTyxVistrelDlg::Placement CTyxVistrelDlg::placeImageWindow(const QRect& area, const QRect& main,
                                                           const QRect& occupied, const QSize& image) {
  // Kept inside the screen along one axis.
  auto clampX = [&](int x) {
    return std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - image.width()));
  };
  auto clampY = [&](int y) {
    return std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - image.height()));
  };
  const int top = clampY(main.top());
  // Just left of the main window, top-aligned.
  const int left = main.left() - image.width();
  if (left >= area.left()) return {QPoint(left, top), main.topLeft()};
  // To the right of the main window (and the information window).
  const int right = occupied.right() + 1;
  if (right + image.width() <= area.right() + 1) return {QPoint(right, top), main.topLeft()};
  // The main window moves right just far enough for the image window to fit
  // on its left.
  if (image.width() + occupied.width() <= area.width()) {
    const int shift = area.left() + image.width() - occupied.left();
    return {QPoint(area.left(), top), main.topLeft() + QPoint(shift, 0)};
  }
  // Too narrow a screen for the two side by side: below or above them.
  const int below = occupied.bottom() + 1;
  if (below + image.height() <= area.bottom() + 1)
    return {QPoint(clampX(main.left()), below), main.topLeft()};
  const int above = occupied.top() - image.height();
  if (above >= area.top()) return {QPoint(clampX(main.left()), above), main.topLeft()};
  // The main window moves up just far enough for the image window to fit
  // below it.
  if (image.height() + occupied.height() <= area.height()) {
    const int shift = area.bottom() + 1 - image.height() - (occupied.bottom() + 1);
    return {QPoint(clampX(main.left()), area.bottom() + 1 - image.height()),
            main.topLeft() + QPoint(0, shift)};
  }
  // The screen holds the two windows in no way: the image window stays on
  // the screen at its left edge and the main window goes as far right as the
  // screen allows, so that they overlap as little as they can.
  const int farRight = area.right() + 1 - occupied.width() + (main.left() - occupied.left());
  return {QPoint(area.left(), top), QPoint(std::max(main.left(), farRight), main.top())};
}

CTyxVistrelDlg::ImageSize CTyxVistrelDlg::fitImageWindow(const QSize& current, const QSize& controls,
                                                         const QSize& room) {
  const QSize minimum = controls.boundedTo(room);
  return {minimum, current.expandedTo(minimum).boundedTo(room)};
}

QPoint CTyxVistrelDlg::placeInfo(const QRect& area, const QRect& main, const QSize& info) {
  const int x =
      std::clamp(main.right() + 1, area.left(), std::max(area.left(), area.right() + 1 - info.width()));
  const int y = std::clamp(main.top(), area.top(), std::max(area.top(), area.bottom() + 1 - info.height()));
  return {x, y};
}

void CTyxVistrelDlg::showImageWindow(CompanionWindow* window) {
  const QScreen* screen = this->screen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
  // The window shows all its controls where the screen allows it, and is
  // never larger than the screen (less its frame).
  window->show();
  const QSize frameExtra = window->frameGeometry().size() - window->size();
  const ImageSize sized = fitImageWindow(window->size(), window->controlsExtent(),
                                         (area.size() - frameExtra).expandedTo(QSize(1, 1)));
  window->setMinimumSize(sized.minimum);
  if (window->size() != sized.size) window->resize(sized.size);
  const QSize image = window->size() + frameExtra;
  CompanionWindow* info = companion(CompanionKind::Info);
  QRect occupied = frameGeometry();
  if (info != nullptr && info->isVisible()) occupied |= info->frameGeometry();
  const Placement at = placeImageWindow(area, frameGeometry(), occupied, image);
  if (at.main != frameGeometry().topLeft()) move(at.main);  // the information window follows
  window->move(at.image);
}

void CTyxVistrelDlg::onGrab() {
  CameraState& s = cameraState();
  // The second press closes the window the first one showed, whatever the
  // camera is now; closing needs no camera.
  if (grabShown_ && grabWindow_ != nullptr) {
    CompanionWindow* shown = grabWindow_;
    endGrab(shown);
    shown->hide();
    return;
  }
  if (s.handle == nullptr) {
    Desktop::get().message(this, "Open camera failed!", "Vistrel");
    return;
  }
  CompanionWindow* window = imageWindowFor(s.typeCode);
  if (window == nullptr) return;
  if (!window->openGrab(this)) return;
  grabWindow_ = window;
  grabShown_ = true;
  setGrabCaption(true);
  showImageWindow(window);
}

void CTyxVistrelDlg::onGammaSet() {
  CameraState& s = cameraState();
  const bool longTable = types::hasLongGammaTable(s.typeCode);
  const int32_t count = longTable ? 2048 : 1024;
  std::vector<int32_t> table(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) table[static_cast<size_t>(i)] = longTable ? 2 * i : i;
  CameraLibrary::instance().gammaDlgCallback(s.handle, this, table.data(), count, 10,
                                             static_cast<uint8_t>(longTable ? 17 : 1), gammaCheck,
                                             gammaApply);
  cameraSession().notifySettingsChanged();
}

void CTyxVistrelDlg::showAbout() {
  const bool zh = cameraState().chinese();
  QDialog about(this);
  about.setWindowTitle(zh ? QString::fromUtf8("关于 Vistrel") : QString("About Vistrel"));
  auto* box = new QVBoxLayout(&about);
  auto* text = new QLabel(
      zh ? QString::fromUtf8("Vistrel 相机控制面板\n工业相机与图像采集卡的参数设置")
         : QString("Vistrel camera control panel\nSettings for industrial cameras and frame grabbers"),
      &about);
  box->addWidget(text);
  // The version and the libraries in use, so that a user can tell at a glance
  // whether the camera on screen is the maker's or a simulator's.
  auto* libraries =
      new QLabel(QString::fromUtf8(zh ? "版本 " : "Version ") + QStringLiteral(VISTREL_VERSION) + "\n" +
                     QString::fromStdString(libraryReportText(zh)),
                 &about);
  libraries->setObjectName("libraries");
  libraries->setTextInteractionFlags(Qt::TextSelectableByMouse);
  box->addWidget(libraries);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
  box->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  Desktop::get().execDialog(&about);
}

void CTyxVistrelDlg::contextMenuEvent(QContextMenuEvent* event) {
  // Linux window managers offer no system menu a program can extend; the
  // about item lives in the window's context menu instead.
  const QString item = strings::aboutItem(cameraState().chinese());
  if (item.isEmpty()) return;
  QMenu menu(this);
  menu.addAction(item, this, &CTyxVistrelDlg::showAbout);
  menu.exec(event->globalPos());
}
