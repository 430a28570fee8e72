// dlg_video.cpp - the video state tab (mirror, flip, negative image, recursion).
#include "imaging/dlg_video.h"

#include <QCheckBox>
#include <QComboBox>

#include "app/camera_library.h"
#include "app/desktop.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgVideo::CtlId;

namespace {

// Both languages share one geometry; only the texts differ (the English
// labels are the camera maker's, spelling included).
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "video param", "视频状态", 8, 8, 150, 70},
    {kHorizontalInverseCheck, Ctl::Check, "horizontal inverse", "左右反转", 16, 24, 130, 10},
    {kVerticalInverseCheck, Ctl::Check, "virtical inverse", "上下反转", 16, 40, 130, 10},
    {kNegativeImageCheck, Ctl::Check, "negative image ", "负像", 16, 56, 130, 10},
    {0, Ctl::Group, "recursion param ", "递归参数", 168, 8, 100, 40},
    {kRecursionList, Ctl::Combo, nullptr, nullptr, 176, 24, 60, 13},
};

constexpr int kRecursionCount = 16;

bool circleVideoModel(const CameraState& s) { return types::isCircleVideo(s.typeCode, s.versionCode); }

}  // namespace

CDlgVideo::CDlgVideo(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  Busy guard(busy_);
  // Static so that the connections may refer to the rows.
  static const Switch switches[] = {
      {kHorizontalInverseCheck, &CDlgVideo::horizontalInverse_, tyxid::kHorizontalInverse,
       &CameraParams::horizontalInverse},
      {kVerticalInverseCheck, &CDlgVideo::verticalInverse_, tyxid::kVerticalInverse,
       &CameraParams::verticalInverse},
      {kNegativeImageCheck, &CDlgVideo::negativeImage_, tyxid::kNegativeImage, &CameraParams::negativeImage},
  };
  for (const Switch& sw : switches)
    connect(control<QCheckBox>(sw.checkId), &QCheckBox::clicked, this, [this, &sw] { onSwitch(sw); });
  auto* list = control<QComboBox>(kRecursionList);
  for (int i = 0; i < kRecursionCount; ++i) list->addItem(QString::number(i));
  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) { onRecursion(index); });
  pushMembers();
}

CDlgVideo::~CDlgVideo() = default;

void CDlgVideo::pushMembers() {
  Busy guard(busy_);
  control<QCheckBox>(kHorizontalInverseCheck)->setChecked(horizontalInverse_ != 0);
  control<QCheckBox>(kVerticalInverseCheck)->setChecked(verticalInverse_ != 0);
  control<QCheckBox>(kNegativeImageCheck)->setChecked(negativeImage_ != 0);
  auto* list = control<QComboBox>(kRecursionList);
  // A value outside 0..15 selects nothing rather than a wrong entry.
  const int index = recursionIndex_ >= 0 && recursionIndex_ < kRecursionCount ? recursionIndex_ : -1;
  if (list->currentIndex() != index) list->setCurrentIndex(index);
}

void CDlgVideo::refresh() {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  horizontalInverse_ = p.horizontalInverse;
  verticalInverse_ = p.verticalInverse;
  negativeImage_ = p.negativeImage;
  recursionIndex_ = p.recursionParam;

  control<QCheckBox>(kHorizontalInverseCheck)->setEnabled(s.versionCode == 4 || s.videoPageTag == 1);
  // The tags are asked at each showing, so a camera that gains a feature
  // (new firmware, a reconnection) offers it without restarting.
  CameraLibrary& lib = CameraLibrary::instance();
  const bool model = circleVideoModel(s);
  const std::pair<int, int32_t> tagged[] = {
      {kVerticalInverseCheck, 28}, {kNegativeImageCheck, 26}, {kRecursionList, 25}};
  for (const auto& [id, tag] : tagged)
    controlWidget(id)->setEnabled(model || lib.functionTag(s.handle, tag) == 1);
  pushMembers();
}

void CDlgVideo::onSwitch(const Switch& sw) {
  if (busy_) return;
  Busy guard(busy_);
  CameraState& s = cameraState();
  {
    WaitCursor wait;
    this->*sw.member = this->*sw.member != 0 ? 0 : 1;
    s.params.*sw.field = this->*sw.member;
    s.applyParam(sw.paramId, this->*sw.member);
  }
  // The box shows the member, which is what the record now holds.
  control<QCheckBox>(sw.checkId)->setChecked(this->*sw.member != 0);
  s.repaintInfo();
}

void CDlgVideo::onRecursion(int index) {
  if (busy_) return;
  if (index < 0 || index >= kRecursionCount) return;
  Busy guard(busy_);
  CameraState& s = cameraState();
  {
    WaitCursor wait;
    recursionIndex_ = index;
    s.params.recursionParam = index;
    s.applyParam(tyxid::kRecursionParam, index);
  }
  s.repaintInfo();
}
