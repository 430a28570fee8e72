// smoke_run.cpp - cycling through the tabs and checking what is drawn.
#include "app/smoke_run.h"

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

#include "app/camera_page.h"
#include "app/camera_state.h"
#include "app/glyph_check.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"

namespace {

void settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
}

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
    std::fprintf(stderr, "smoke: %s is missing or too small\n", qPrintable(what));
    return false;
  }
  if (!image.save(file)) std::fprintf(stderr, "smoke: cannot save %s\n", qPrintable(file));
  const int colours = distinctColours(image);
  if (colours < 8) {
    std::fprintf(stderr, "smoke: %s looks blank (%d colours)\n", qPrintable(what), colours);
    return false;
  }
  std::printf("smoke: %s ok (%dx%d, %d colours) -> %s\n", qPrintable(what), image.width(), image.height(),
              colours, qPrintable(file));
  return true;
}

// Confirms the board-selection dialog the Grab button runs modally, once it
// is up (its confirm button is control 1).
void confirmModalWhenShown(int triesLeft) {
  QTimer::singleShot(100, [triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* confirm = modal ? modal->findChild<QPushButton*>("1") : nullptr) {
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
      std::fprintf(stderr, "smoke: unexpected message: %s\n", qPrintable(box->text()));
      box->done(QMessageBox::Ok);
    }
    if (triesLeft > 0) closeMessagesWhileRunning(triesLeft - 1);
  });
}

void click(CompanionWindow* window, int id) {
  if (auto* b = qobject_cast<QPushButton*>(window->controlWidget(id)); b && b->isEnabled()) b->click();
}

// Every text of a window must be drawn with real glyphs: the English pages
// carry Chinese labels too, so a system without a CJK font shows boxes in
// either language.
bool glyphsDrawn(const QWidget* window, const QString& what, int& missingCount) {
  const std::vector<MissingGlyph> missing = missingGlyphs(window);
  for (size_t i = 0; i < missing.size() && i < 5; ++i)
    std::fprintf(stderr, "smoke: %s: no installed font draws U+%04X of '%s' (font '%s')\n", qPrintable(what),
                 static_cast<unsigned>(missing[i].code), qPrintable(missing[i].text),
                 qPrintable(missing[i].family));
  missingCount += static_cast<int>(missing.size());
  return missing.empty();
}

// With live video running, a port change on the port page to a camera whose
// Grab uses the other image window (USB1 from a board video, COM4 from a USB
// camera; the smoke script places both): the running window must end and
// hide, the tabs must be the new camera's, and Grab must then show the new
// camera's window.
bool switchPortWithLiveVideo(CTyxVistrelDlg& dialog, CompanionWindow* live, bool usb, const QString& dir,
                             const QString& prefix) {
  CameraPage* com = dialog.page(PageKind::Com);
  auto* ports = com != nullptr ? com->findChild<QComboBox*>("1050") : nullptr;
  const int at = ports != nullptr ? ports->findText(usb ? "COM4" : "USB1") : -1;
  if (at < 0) {
    std::fprintf(stderr, "smoke: no port page to switch the port on\n");
    return false;
  }
  CMyTab* tabs = dialog.tabs();
  for (int i = 0; i < tabs->pageCount(); ++i)
    if (tabs->page(i) == com) tabs->setCurrentIndex(i);
  ports->setCurrentIndex(at);
  closeMessagesWhileRunning(10);
  emit ports->activated(at);
  settle(300);
  bool ok = true;
  const int32_t type = cameraState().typeCode;
  std::printf("smoke: port %s opened type %d with live video running\n", qPrintable(ports->itemText(at)),
              type);
  if (type == 0 || types::isUsbImage(type) == usb) {
    std::fprintf(stderr, "smoke: the port change did not open the other kind of camera\n");
    return false;
  }
  if (live->isVisible() || dialog.grabShown()) {
    std::fprintf(stderr, "smoke: the image window of the camera before is still shown\n");
    ok = false;
  }
  if (tabs->pageCount() != static_cast<int>(CTyxVistrelDlg::pagePlan(cameraState(), true).size())) {
    std::fprintf(stderr, "smoke: the tabs are not those of the new camera\n");
    ok = false;
  }
  ok &= check(dialog.grab().toImage(), "main window after the port change",
              QString("%1/%2_switched.png").arg(dir, prefix));
  if (usb) confirmModalWhenShown(50);  // the board's selection dialog
  dialog.button(1008)->click();
  CompanionWindow* next = dialog.grabWindow();
  if (next == nullptr || next == live || !next->isVisible()) {
    std::fprintf(stderr, "smoke: Grab does not show the new camera's image window\n");
    return false;
  }
  settle(300);
  ok &= check(next->grab().toImage(), "image window after the port change",
              QString("%1/%2_switched_live.png").arg(dir, prefix));
  if (next->frameGeometry().intersects(dialog.frameGeometry()))
    std::printf("smoke: the image window overlaps the main window (screen too small for both)\n");
  return ok;
}

}  // namespace

int runSmokeShots(CTyxVistrelDlg& dialog, const QString& dir, bool handshake) {
  // Line by line, so a check stopped by its time limit still shows how far it got.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QDir().mkpath(dir);
  CameraState& s = cameraState();
  const QString prefix = QString("%1_%2").arg(s.chinese() ? "zh" : "en").arg(s.typeCode);
  bool ok = true;
  int missingCount = 0;

  if (s.chinese()) {
    // Without a font that has the Chinese glyphs every caption shows boxes.
    const QFont& font = dialog.font();
    const QFontMetrics metrics(font);
    const char32_t samples[] = {U'模', U'式', U'参', U'数', U'关', U'闭'};
    for (char32_t c : samples) {
      if (!metrics.inFontUcs4(c)) {
        std::fprintf(stderr, "smoke: font '%s' has no glyph U+%04X\n", qPrintable(QFontInfo(font).family()),
                     static_cast<unsigned>(c));
        ok = false;
        break;
      }
    }
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) {
      std::fprintf(stderr, "smoke: no installed font covers Simplified Chinese\n");
      ok = false;
    }
  }

  dialog.show();
  settle(300);
  CMyTab* tabs = dialog.tabs();
  if (tabs->pageCount() == 0) {
    std::fprintf(stderr, "smoke: the main window has no tabs\n");
    ok = false;
  }
  for (int i = 0; i < tabs->pageCount(); ++i) {
    tabs->setCurrentIndex(i);
    settle(150);
    if (tabs->page(i) == nullptr || !tabs->page(i)->isVisible()) {
      std::fprintf(stderr, "smoke: page of tab %d is not shown\n", i);
      ok = false;
    }
    ok &= check(dialog.grab().toImage(), QString("tab %1 '%2'").arg(i).arg(tabs->title(i)),
                QString("%1/%2_tab%3.png").arg(dir, prefix).arg(i));
    ok &= glyphsDrawn(&dialog, QString("tab %1").arg(i), missingCount);
  }
  if (tabs->pageCount() > 0) tabs->setCurrentIndex(0);

  // The information window beside the main window.
  if (dialog.button(1005)->isEnabled()) {
    dialog.onInfoWindow();
    settle(200);
    if (CompanionWindow* info = dialog.companion(CompanionKind::Info)) {
      ok &= check(info->grab().toImage(), "information window", QString("%1/%2_info.png").arg(dir, prefix));
      ok &= glyphsDrawn(info, "information window", missingCount);
    }
  }

  // Bar Mode swaps the main window for the control bar; its Full Mode
  // button (1034) brings the main window back.
  if (dialog.button(1007)->isEnabled()) {
    dialog.button(1007)->click();
    settle(200);
    CompanionWindow* bar = dialog.companion(CompanionKind::ControlBar);
    if (bar == nullptr || !bar->isVisible() || dialog.isVisible()) {
      std::fprintf(stderr, "smoke: Bar Mode does not show the control bar in place of the main window\n");
      ok = false;
    } else {
      ok &= check(bar->grab().toImage(), "control bar", QString("%1/%2_bar.png").arg(dir, prefix), 20);
      ok &= glyphsDrawn(bar, "control bar", missingCount);
      click(bar, 1034);
      settle(200);
      if (!dialog.isVisible() || bar->isVisible()) {
        std::fprintf(stderr, "smoke: Full Mode does not bring the main window back\n");
        ok = false;
      }
    }
  }

  // The live image window: Grab, then live video for a moment. Two pictures
  // taken apart must differ, since the simulated sources move.
  CompanionWindow* live = nullptr;
  const bool usb = types::isUsbImage(s.typeCode);
  if (dialog.button(1008)->isEnabled()) {
    if (!usb) confirmModalWhenShown(50);
    dialog.button(1008)->click();
    live = dialog.companion(usb ? CompanionKind::PaintUsb : CompanionKind::GrabVideo);
    if (live == nullptr || !live->isVisible()) {
      std::fprintf(stderr, "smoke: the live image window is not shown\n");
      ok = false;
      live = nullptr;
    } else {
      // USB: Capture Video; board: auto-set, then capture.
      const std::vector<int> start = usb ? std::vector<int>{1065} : std::vector<int>{1065, 1067};
      for (int id : start) click(live, id);
      // Past a second, so the displayed rate has its first figure.
      settle(1300);
      const QImage first = live->grab().toImage();
      ok &= check(first, "live image window", QString("%1/%2_live.png").arg(dir, prefix));
      ok &= glyphsDrawn(live, "live image window", missingCount);
      settle(300);
      if (live->grab().toImage() == first) {
        std::fprintf(stderr, "smoke: the live picture does not move\n");
        ok = false;
      } else {
        std::printf("smoke: live picture moves\n");
      }
    }
  }

  if (handshake) {
    QFile ready(dir + "/ready");
    ready.open(QIODevice::WriteOnly);
    ready.close();
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !QFile::exists(dir + "/done")) settle(50);
    QFile::remove(dir + "/ready");
    QFile::remove(dir + "/done");
  }
  if (live != nullptr) ok &= switchPortWithLiveVideo(dialog, live, usb, dir, prefix);
  if (CompanionWindow* shown = dialog.grabWindow()) {
    click(shown, shown == dialog.companion(CompanionKind::PaintUsb) ? 1001 : 1068);  // stop the video
    dialog.button(1008)->click();                                                    // and close it
    settle(100);
  }
  if (missingCount == 0)
    std::printf("smoke: every text has its glyphs\n");
  else
    std::fprintf(stderr, "smoke: %d characters drawn as boxes\n", missingCount);
  std::printf("smoke: %s\n", ok ? "passed" : "FAILED");
  return ok ? 0 : 1;
}
