// window_texts_test.cpp - the English and Chinese texts of the two image windows and the board choice.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <memory>

#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "imaging/dlg_select_board.h"

namespace {

struct WindowTexts {
  QString title;
  std::map<int, QString> buttons;  // push buttons and radio buttons by id
  QStringList groups;
  QStringList captions;  // the labels without an id of their own
};

// Every push or radio button the window has must be listed, and its group
// titles and captions must be exactly those given (in any order).
template <class Window>
void expectTexts(const Window& w, const WindowTexts& want) {
  EXPECT_EQ(w.windowTitle(), want.title);
  int buttons = 0;
  for (const QAbstractButton* b : w.template findChildren<QAbstractButton*>()) {
    ++buttons;
    const auto it = want.buttons.find(b->objectName().toInt());
    if (it == want.buttons.end()) {
      ADD_FAILURE() << "unexpected button " << b->objectName().toStdString();
      continue;
    }
    EXPECT_EQ(b->text(), it->second) << it->first;
  }
  EXPECT_EQ(buttons, static_cast<int>(want.buttons.size()));
  QStringList groups, captions, wantGroups = want.groups, wantCaptions = want.captions;
  for (const QGroupBox* g : w.template findChildren<QGroupBox*>()) groups << g->title();
  for (const QLabel* l : w.template findChildren<QLabel*>())
    if (l->objectName().toInt() == 0 && !l->text().isEmpty()) captions << l->text();
  for (QStringList* list : {&groups, &captions, &wantGroups, &wantCaptions}) list->sort();
  EXPECT_EQ(groups, wantGroups);
  EXPECT_EQ(captions, wantCaptions);
}

QString u(const char* s) { return QString::fromUtf8(s); }

class ImagingWindowTexts : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override {
    cameraState().reset();
    cameraState().language = GetParam();
  }
  void TearDown() override { cameraState().reset(); }
  bool chinese() const { return GetParam() == 2; }

  FakeDesktop desktop;
};

TEST_P(ImagingWindowTexts, GrabVideo) {
  CDlgGrabVideo window(nullptr, nullptr);
  const WindowTexts en{"Grab video",
                       {{CDlgGrabVideo::kSignalTestButton, "video info"},
                        {CDlgGrabVideo::kAutoSetButton, "auto-set param"},
                        {CDlgGrabVideo::kCaptureButton, "capture video"},
                        {CDlgGrabVideo::kStopButton, "stop capture"},
                        {CDlgGrabVideo::kAspect43Radio, "4:3"},
                        {CDlgGrabVideo::kAspect11Radio, "1:1"}},
                       {"offset"},
                       {"video info:", "video type:", "scan lines  :", "framerate:", "trig status:",
                        "total num:", "display fps:", "x:", "y:"}};
  const WindowTexts zh{"Grab video",
                       {{CDlgGrabVideo::kSignalTestButton, u("测试信号源")},
                        {CDlgGrabVideo::kAutoSetButton, u("自动设置采集参数")},
                        {CDlgGrabVideo::kCaptureButton, u("采集图像")},
                        {CDlgGrabVideo::kStopButton, u("停止采集")},
                        {CDlgGrabVideo::kAspect43Radio, "4:3"},
                        {CDlgGrabVideo::kAspect11Radio, "1:1"}},
                       {u("偏移")},
                       {u("视频输入源:"), u("视频输入类型:"), u("垂直扫描线数:"), u("场频:"),
                        u("外触发状态:"), u("总帧数:"), u("显示帧率:"), "x:", "y:"}};
  expectTexts(window, chinese() ? zh : en);
}

TEST_P(ImagingWindowTexts, BoardSelection) {
  CDlgGrabVideo video(nullptr, nullptr);
  CDlgSelectBoard dialog(nullptr, video);
  const WindowTexts en{
      "Select Card", {{1, "OK"}, {2, "Cancel"}}, {}, {"Card available: ", "Card selected: "}};
  const WindowTexts zh{
      u("选择使用卡"), {{1, u("确定")}, {2, u("取消")}}, {}, {u("已安装的图象卡: "), u("当前选用顺序号: ")}};
  expectTexts(dialog, chinese() ? zh : en);
}

TEST_P(ImagingWindowTexts, CaptureImage) {
  CDlgPaintUsb window(nullptr, nullptr);
  const WindowTexts en{"Capture Image",
                       {{1107, "OK"},
                        {1066, "Capture Image"},
                        {1065, "Capture Video"},
                        {1001, "Stop"},
                        {1067, "Save Image"},
                        {1110, "Original"},
                        {1111, "Zoom "}},
                       {"System Parameter", "Display mode", "Image size"},
                       {"Rate:", "Total frame:", "Display fps:", "width:", "height:"}};
  const WindowTexts zh{"Capture Image",
                       {{1107, u("修改")},
                        {1066, u("采集单帧")},
                        {1065, u("采集视频")},
                        {1001, u("停止采集")},
                        {1067, u("存图像")},
                        {1110, u("原始大小")},
                        {1111, u("屏幕大小")}},
                       {u("系统参数"), u("图像显示效果"), u("图像大小")},
                       {u("采集速率："), u("采集总帧数："), u("显示帧率："), u("宽度："), u("高度：")}};
  expectTexts(window, chinese() ? zh : en);
}

INSTANTIATE_TEST_SUITE_P(Languages, ImagingWindowTexts, ::testing::Values(9, 2),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return info.param == 2 ? std::string("Chinese") : std::string("English");
                         });

}  // namespace
