// dlg_page2.cpp - the lines of the information window, in both languages.
#include "app/dlg_page2.h"

#include "app/camera_session.h"

#include <QPainter>

#include "app/camera_library.h"

CDlgPage2::CDlgPage2(QWidget* owner, CTyxVistrelDlg* main) : CompanionWindow(owner, main) {
  setWindowTitle(cameraState().text("All Info", "全部配置信息"));
  // Wide enough for the longest lines ("Frame Mode: Average Frame;", the
  // circle centre with four-digit coordinates), which a narrower window cuts
  // off at its right edge.
  setDialogSize(140, 290);
  connect(&cameraSession(), &CameraSession::settingsChanged, this, qOverload<>(&QWidget::update));
}

static bool hasCircleLines(int32_t t, int32_t v) {
  return types::hasEdgeTrigger(t) || (t == model::kCircleCamera && v == 4);
}

QStringList CDlgPage2::lines() {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  CameraLibrary& lib = CameraLibrary::instance();
  const int rate = wholeRate(lib.calFrameRate(s.handle, -1));
  const int exposure = lib.calExposeTime(s.handle, p.exposalTime);
  const QString port = s.port();
  QStringList out;
  auto add = [&out](const char* text) { out << QString::fromUtf8(text); };
  auto addf = [&out](const char* format, auto... values) { out << QString::asprintf(format, values...); };

  if (s.chinese()) {
    switch (p.runMode) {
      case 1: add("运行模式: 连续;"); break;
      case 2: add(types::hasEdgeTrigger(s.typeCode) ? "运行模式: 沿触发;" : "运行模式: 外触发;"); break;
      case 3: add("运行模式: 外同步;"); break;
      case 4: add("运行模式: 末帧冻结;"); break;
      case 18: add("运行模式: 脉冲触发;"); break;
      default: add("运行模式: 参数错误;"); break;
    }
    switch (p.gamma) {
      case 1: add("GAMMA校正模式: 系统参数;"); break;
      case 2: add("GAMMA校正模式: 0.45;"); break;
      case 3: add("GAMMA校正模式: 0.60;"); break;
      case 4: add("GAMMA校正模式: 无校正"); break;
      default: add("GAMMA校正模式: 参数错误;"); break;
    }
    switch (p.frameMode) {
      case 1: add("幅度模式: 全图;"); break;
      case 2: add("幅度模式: 局部;"); break;
      case 3: add("幅度模式: BINNING;"); break;
      case 4:
        add(s.typeCode == model::kNtscCamera && s.versionCode >= 1 ? "幅度模式: NTSC;" : "幅度模式: PAL;");
        break;
      case 5: add("幅度模式: 多帧平均;"); break;
      default: add("幅度模式: 参数错误;"); break;
    }
    switch (p.outputMode) {
      case 1: add("输出模式: 摄像机;"); break;
      case 2: add("输出模式: 测试图;"); break;
      default: add("输出模式: 参数错误;"); break;
    }
    out << QString::fromUtf8("增益: %1;").arg(p.gain) << QString::fromUtf8("黑电平: %1;").arg(p.black)
        << QString::fromUtf8("场频: %1").arg(rate) << QString::fromUtf8("局部起始行: %1;").arg(p.beginLine)
        << QString::fromUtf8("局部结束行: %1;").arg(p.endLine)
        << QString::fromUtf8("曝光时间: %1微秒;").arg(exposure);
    if (types::hasRgbGains(s.typeCode)) {
      out << QString::fromUtf8("R增益: %1;").arg(p.rGain) << QString::fromUtf8("G增益: %1;").arg(p.gGain)
          << QString::fromUtf8("B增益: %1;").arg(p.bGain)
          << QString::fromUtf8("饱和度: %1;").arg(p.saturation);
    }
    out << QString::fromUtf8("通讯端口: %1;").arg(port);
    if (hasCircleLines(s.typeCode, s.versionCode)) {
      out << QString::fromUtf8("消隐圆半径: %1;").arg(p.radius)
          << QString::fromUtf8("消隐圆中心坐标: %1, %2;").arg(p.coordinateX).arg(p.coordinateY);
    }
    if (s.typeCode == model::kNtscCamera || (s.typeCode == model::kCircleCamera && s.versionCode == 4)) {
      if (p.recursionParam < 16)
        out << QString::fromUtf8("递归参数: %1;").arg(p.recursionParam);
      else
        add("递归参数: 参数错误;");
      out << QString::fromUtf8("左右反转: %1;").arg(p.horizontalInverse)
          << QString::fromUtf8("上下反转: %1;").arg(p.verticalInverse)
          << QString::fromUtf8("负像: %1;").arg(p.negativeImage);
    }
    return out;
  }

  switch (p.runMode) {
    case 1: add("Run Mode: Free;"); break;
    case 2: add(types::hasEdgeTrigger(s.typeCode) ? "Run Mode: Edge Trig;" : "Run Mode: Pusle Trig;"); break;
    case 3: add("Run Mode: Syn;"); break;
    case 4: add("Run Mode: Freeze Frame;"); break;
    case 18: add("Run Mode: Pulse Trig:"); break;
    default: add("Run Mode: Param Wrong;"); break;
  }
  const bool colourList = types::isSerialColour(s.typeCode);
  if (!types::hasRgbGains(s.typeCode)) {
    switch (p.gamma) {
      case 1: add("GAMMA: 0.35;"); break;
      case 2: add("GAMMA: 0.45;"); break;
      case 3: add("GAMMA: 0.60;"); break;
      case 4: add("GAMMA: 1;"); break;
      default: add("GAMMA: Param Wrong;"); break;
    }
  }
  switch (p.frameMode) {
    case 1: add("Frame Mode: FULL;"); break;
    case 2: add("Frame Mode: PART;"); break;
    case 3: add("Frame Mode: BINNING;"); break;
    case 4: add("Frame Mode: PAL;"); break;
    case 5: add("Frame Mode: Average Frame;"); break;
    default: add("Frame Mode: Param Wrong;"); break;
  }
  switch (p.outputMode) {
    case 1: add("Output Mode: Camera;"); break;
    case 2: add("Output Mode: Test;"); break;
    default: add("Output: Param Wrong;"); break;
  }
  addf("Gain: %d;", p.gain);
  addf("Black: %d;", p.black);
  addf("Rate: %d", rate);
  addf("Begin Line: %d;", p.beginLine);
  addf("End Line: %d;", p.endLine);
  // The value is in microseconds, as the Chinese list says ("微秒"); a
  // "ms" label would tell the user a thousand times the real exposure.
  addf("Exposal Time: %dus;", exposure);
  if (colourList) {
    addf("R Gain: %d;", p.rGain);
    addf("G Gain: %d;", p.gGain);
    addf("B Gain: %d;", p.bGain);
    addf("Saturation: %d;", p.saturation);
  }
  out << QString("Port: %1;").arg(port);
  if (hasCircleLines(s.typeCode, s.versionCode)) {
    addf("Radius: %d;", p.radius);
    addf("Coordinate: %d, %d;", p.coordinateX, p.coordinateY);
  }
  return out;
}

QFont CDlgPage2::listFont() {
  QFont font;
  font.setFamilies(
      {QString::fromUtf8("黑体"), "SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Sans Serif"});
  font.setPixelSize(15);
  font.setWeight(QFont::Normal);
  return font;
}

void CDlgPage2::paintEvent(QPaintEvent* event) {
  CompanionWindow::paintEvent(event);
  QPainter painter(this);
  painter.setFont(listFont());
  painter.setBackgroundMode(Qt::TransparentMode);
  int y = kTop;
  for (const QString& line : lines()) {
    painter.drawText(kLeft, y + 12, line);
    y += kLineStep;
  }
}
