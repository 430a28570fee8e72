// self_check.cpp - cycling through the windows and checking what is drawn.
#include "selfcheck/self_check.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "app/camera_models.h"
#include "app/camera_page.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "comm/dlg_com.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "pages/area/dlg_page3.h"
#include "selfcheck/glyph_check.h"

namespace {

// The board image window's buttons, and the board-selection dialog's confirm
// button (a dialog's OK is id 1).
constexpr int kBoardAutoSetButton = CDlgGrabVideo::kAutoSetButton;
constexpr int kBoardCaptureButton = CDlgGrabVideo::kCaptureButton;
constexpr int kBoardStopButton = CDlgGrabVideo::kStopButton;
constexpr int kSelectBoardConfirm = 1;

void settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
}

void complain(const QString& text) { std::fprintf(stderr, "selfcheck: %s\n", qPrintable(text)); }
void say(const QString& text) { std::printf("selfcheck: %s\n", qPrintable(text)); }

// A window that drew nothing is one or two colours; real controls and text
// give many.
int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  return colours.size();
}

// minHeight: the control bar is one slim row.
bool check(const QImage& image, const QString& what, const QString& file, int minHeight = 50) {
  if (image.isNull() || image.width() < 50 || image.height() < minHeight) {
    complain(what + " is missing or too small");
    return false;
  }
  if (!image.save(file)) complain("cannot save " + file);
  const int colours = distinctColours(image);
  if (colours < 8) {
    complain(QString("%1 looks blank (%2 colours)").arg(what).arg(colours));
    return false;
  }
  say(QString("%1 ok (%2x%3, %4 colours) -> %5")
          .arg(what)
          .arg(image.width())
          .arg(image.height())
          .arg(colours)
          .arg(file));
  return true;
}

// Confirms the board-selection dialog the Grab button runs modally, once it
// is up.
void confirmModalWhenShown(int triesLeft) {
  QTimer::singleShot(100, [triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* confirm = modal ? modal->findChild<QPushButton*>(QString::number(kSelectBoardConfirm)) : nullptr) {
      confirm->click();
    } else if (triesLeft > 0) {
      confirmModalWhenShown(triesLeft - 1);
    }
  });
}

// A message box the check did not expect (a port without a camera, say)
// would wait for a person for ever: say what it said and close it, so the
// check fails with the reason instead of hanging.
void closeMessagesWhileRunning(int triesLeft) {
  QTimer::singleShot(100, [triesLeft] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      complain("unexpected message: " + box->text());
      box->done(QMessageBox::Ok);
    }
    if (triesLeft > 0) closeMessagesWhileRunning(triesLeft - 1);
  });
}

// A character as the Unicode charts write it: U+ and at least four hex digits.
QString hex(char32_t code) { return QString::number(static_cast<unsigned>(code), 16).toUpper().rightJustified(4, '0'); }

void click(CompanionWindow* window, int id) {
  if (auto* b = qobject_cast<QPushButton*>(window->controlWidget(id)); b && b->isEnabled()) b->click();
}

// One run of the check over the main window and what it opens; ok_ turns
// false at the first fault and stays so, while the run goes on to report
// every fault it finds.
class SelfCheck {
 public:
  SelfCheck(CTyxVistrelDlg& dialog, const QString& dir)
      : dialog_(dialog), dir_(dir), usb_(types::isUsbImage(cameraState().typeCode)) {
    const CameraState& s = cameraState();
    prefix_ = QString("%1_%2").arg(s.chinese() ? "zh" : "en").arg(s.typeCode);
  }

  int run(bool handshake) {
    if (cameraState().chinese()) checkChineseFont();
    dialog_.show();
    settle(300);
    checkEveryTab();
    checkInformationWindow();
    checkBarMode();
    startLiveVideo();
    if (handshake) waitForScreenPicture();
    if (live_ != nullptr) ok_ &= switchPortWithLiveVideo();
    stopLiveVideo();
    return report();
  }

 private:
  QString file(const QString& name) const { return QString("%1/%2_%3.png").arg(dir_, prefix_, name); }
  void fail(const QString& text) {
    complain(text);
    ok_ = false;
  }

  // Every text of a window must be drawn with real glyphs: the English pages
  // carry Chinese labels too, so a system without a CJK font shows boxes in
  // either language.
  void checkGlyphs(const QWidget* window, const QString& what) {
    const std::vector<MissingGlyph> missing = missingGlyphs(window);
    for (size_t i = 0; i < missing.size() && i < 5; ++i)
      complain(QString("%1: no installed font draws U+%2 of '%3' (font '%4')")
                   .arg(what, hex(missing[i].code), missing[i].text, missing[i].family));
    missingCount_ += static_cast<int>(missing.size());
    if (!missing.empty()) ok_ = false;
  }

  // Without a font that has the Chinese glyphs every caption shows boxes.
  void checkChineseFont() {
    const QFont& font = dialog_.font();
    const QFontMetrics metrics(font);
    for (char32_t c : {U'模', U'式', U'参', U'数', U'关', U'闭'}) {
      if (!metrics.inFontUcs4(c)) {
        fail(QString("font '%1' has no glyph U+%2").arg(QFontInfo(font).family(), hex(c)));
        break;
      }
    }
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
      fail("no installed font covers Simplified Chinese");
  }

  void checkEveryTab() {
    CMyTab* tabs = dialog_.tabs();
    if (tabs->pageCount() == 0) fail("the main window has no tabs");
    for (int i = 0; i < tabs->pageCount(); ++i) {
      tabs->setCurrentIndex(i);
      settle(150);
      if (tabs->page(i) == nullptr || !tabs->page(i)->isVisible())
        fail(QString("page of tab %1 is not shown").arg(i));
      ok_ &= check(dialog_.grab().toImage(), QString("tab %1 '%2'").arg(i).arg(tabs->title(i)),
                   file(QString("tab%1").arg(i)));
      checkGlyphs(&dialog_, QString("tab %1").arg(i));
    }
    if (tabs->pageCount() > 0) tabs->setCurrentIndex(0);
  }

  // The information window beside the main window.
  void checkInformationWindow() {
    if (!dialog_.button(CTyxVistrelDlg::kInfoButton)->isEnabled()) return;
    dialog_.onInfoWindow();
    settle(200);
    if (CompanionWindow* info = dialog_.companion(CompanionKind::Info)) {
      ok_ &= check(info->grab().toImage(), "information window", file("info"));
      checkGlyphs(info, "information window");
    }
  }

  // Bar Mode swaps the main window for the control bar; its Full Mode button
  // brings the main window back.
  void checkBarMode() {
    if (!dialog_.button(CTyxVistrelDlg::kBarModeButton)->isEnabled()) return;
    dialog_.button(CTyxVistrelDlg::kBarModeButton)->click();
    settle(200);
    CompanionWindow* bar = dialog_.companion(CompanionKind::ControlBar);
    if (bar == nullptr || !bar->isVisible() || dialog_.isVisible()) {
      fail("Bar Mode does not show the control bar in place of the main window");
      return;
    }
    ok_ &= check(bar->grab().toImage(), "control bar", file("bar"), 20);
    checkGlyphs(bar, "control bar");
    click(bar, CDlgPage3::kFullModeButton);
    settle(200);
    if (!dialog_.isVisible() || bar->isVisible()) fail("Full Mode does not bring the main window back");
  }

  // The live image window: Grab, then live video for a moment. Two pictures
  // taken apart must differ, since the simulated sources move.
  void startLiveVideo() {
    if (!dialog_.button(CTyxVistrelDlg::kGrabButton)->isEnabled()) return;
    if (!usb_) confirmModalWhenShown(50);
    dialog_.button(CTyxVistrelDlg::kGrabButton)->click();
    CompanionWindow* live = dialog_.companion(usb_ ? CompanionKind::PaintUsb : CompanionKind::GrabVideo);
    if (live == nullptr || !live->isVisible()) {
      fail("the live image window is not shown");
      return;
    }
    live_ = live;
    // USB: Capture Video; board: auto-set, then capture.
    const std::vector<int> start = usb_ ? std::vector<int>{CDlgPaintUsb::kCaptureVideoButton}
                                        : std::vector<int>{kBoardAutoSetButton, kBoardCaptureButton};
    for (int id : start) click(live_, id);
    // Past a second, so the displayed rate has its first figure.
    settle(1300);
    const QImage first = live_->grab().toImage();
    ok_ &= check(first, "live image window", file("live"));
    checkGlyphs(live_, "live image window");
    settle(300);
    if (live_->grab().toImage() == first)
      fail("the live picture does not move");
    else
      say("live picture moves");
  }

  void waitForScreenPicture() {
    QFile ready(dir_ + "/ready");
    ready.open(QIODevice::WriteOnly);
    ready.close();
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !QFile::exists(dir_ + "/done")) settle(50);
    QFile::remove(dir_ + "/ready");
    QFile::remove(dir_ + "/done");
  }

  // Picks the port of the camera with the other image window (USB1 from a
  // board video, COM4 from a USB camera; the calling script places both) on
  // the port page and waits for the camera to open.
  bool changePortToTheOtherKind() {
    CameraPage* com = dialog_.page(PageKind::Com);
    auto* ports = com != nullptr ? com->findChild<QComboBox*>(QString::number(CDlgCom::kPortList)) : nullptr;
    const int at = ports != nullptr ? ports->findText(usb_ ? "COM4" : "USB1") : -1;
    if (at < 0) {
      complain("no port page to switch the port on");
      return false;
    }
    CMyTab* tabs = dialog_.tabs();
    for (int i = 0; i < tabs->pageCount(); ++i)
      if (tabs->page(i) == com) tabs->setCurrentIndex(i);
    ports->setCurrentIndex(at);
    closeMessagesWhileRunning(10);
    emit ports->activated(at);
    settle(300);
    const int32_t type = cameraState().typeCode;
    say(QString("port %1 opened type %2 with live video running").arg(ports->itemText(at)).arg(type));
    if (type == 0 || types::isUsbImage(type) == usb_) {
      complain("the port change did not open the other kind of camera");
      return false;
    }
    return true;
  }

  // With live video running, a port change to a camera whose Grab uses the
  // other image window: the running window must end and hide, the tabs must
  // be the new camera's, and Grab must then show the new camera's window.
  bool switchPortWithLiveVideo() {
    if (!changePortToTheOtherKind()) return false;
    bool ok = true;
    if (live_->isVisible() || dialog_.grabShown()) {
      complain("the image window of the camera before is still shown");
      ok = false;
    }
    const size_t planned = CTyxVistrelDlg::pagePlan(cameraState(), true).size();
    if (dialog_.tabs()->pageCount() != static_cast<int>(planned)) {
      complain("the tabs are not those of the new camera");
      ok = false;
    }
    ok &= check(dialog_.grab().toImage(), "main window after the port change", file("switched"));
    if (usb_) confirmModalWhenShown(50);  // the board's selection dialog
    dialog_.button(CTyxVistrelDlg::kGrabButton)->click();
    CompanionWindow* next = dialog_.grabWindow();
    if (next == nullptr || next == live_ || !next->isVisible()) {
      complain("Grab does not show the new camera's image window");
      return false;
    }
    settle(300);
    ok &= check(next->grab().toImage(), "image window after the port change", file("switched_live"));
    if (next->frameGeometry().intersects(dialog_.frameGeometry()))
      say("the image window overlaps the main window (screen too small for both)");
    return ok;
  }

  void stopLiveVideo() {
    CompanionWindow* shown = dialog_.grabWindow();
    if (shown == nullptr) return;
    const bool usbWindow = shown == dialog_.companion(CompanionKind::PaintUsb);
    click(shown, usbWindow ? CDlgPaintUsb::kStopButton : kBoardStopButton);
    dialog_.button(CTyxVistrelDlg::kGrabButton)->click();  // closes the window
    settle(100);
  }

  int report() const {
    if (missingCount_ == 0)
      say("every text has its glyphs");
    else
      complain(QString("%1 characters drawn as boxes").arg(missingCount_));
    say(ok_ ? "passed" : "FAILED");
    return ok_ ? 0 : 1;
  }

  CTyxVistrelDlg& dialog_;
  const QString dir_;
  const bool usb_;
  QString prefix_;
  bool ok_ = true;
  int missingCount_ = 0;
  CompanionWindow* live_ = nullptr;
};

}  // namespace

int runSelfCheck(CTyxVistrelDlg& dialog, const QString& dir, bool handshake) {
  // Line by line, so a check stopped by its time limit still shows how far it got.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QDir().mkpath(dir);
  return SelfCheck(dialog, dir).run(handshake);
}
