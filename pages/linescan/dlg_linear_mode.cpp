// dlg_linear_mode.cpp - the line-scan mode page: six lists, each written at once.
#include "pages/linescan/dlg_linear_mode.h"

#include <QComboBox>

#include "app/camera_values.h"
#include "app/desktop.h"
#include "pages/linescan/linear_timing.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgLinearMode::CtlId;

namespace {

// Templates 170 and 180 share their geometry; only the group labels differ.
const ControlSpec kControls[] = {
    {0, Ctl::Group, "work mode", "工作模式", 10, 8, 150, 36},
    {kWorkModeList, Ctl::Combo, nullptr, nullptr, 18, 22, 134, 14},
    {0, Ctl::Group, "CameraLink output mode", "CameraLink输入模式", 170, 8, 150, 36},
    {kOutputFormatList, Ctl::Combo, nullptr, nullptr, 178, 22, 134, 14},
    {0, Ctl::Group, "test video mode", "测试图模式", 10, 52, 150, 36},
    {kTestImageList, Ctl::Combo, nullptr, nullptr, 18, 66, 134, 14},
    {0, Ctl::Group, "regulate begin ", "校正起始行", 170, 52, 150, 36},
    {kCorrectionStartList, Ctl::Combo, nullptr, nullptr, 178, 66, 134, 14},
    {0, Ctl::Group, "regulate line num", "数据移位", 10, 96, 150, 36},
    {kDataShiftList, Ctl::Combo, nullptr, nullptr, 18, 110, 134, 14},
    {0, Ctl::Group, "data offset", "位置校正行数", 170, 96, 150, 36},
    {kCorrectionLinesList, Ctl::Combo, nullptr, nullptr, 178, 110, 134, 14},
};

// The list ids in the order of the page's positions, and the parameter id
// each one writes (work mode has its own handler).
constexpr int kLists[6] = {kWorkModeList,        kOutputFormatList,    kTestImageList,
                           kCorrectionStartList, kCorrectionLinesList, kDataShiftList};
constexpr int kIds[6] = {tyxid::kWorkMode,        tyxid::kCameraLinkMode,  tyxid::kTestImage,
                         tyxid::kCorrectionStart, tyxid::kCorrectionLines, tyxid::kDataShift};

int32_t& blockField(LinearParams& b, int index) {
  switch (index) {
    case 0: return b.workMode;
    case 1: return b.cameraLinkMode;
    case 2: return b.testImage;
    case 3: return b.correctionStart;
    case 4: return b.correctionLines;
    default: return b.dataShift;
  }
}

int indexOfList(int listId) {
  for (int i = 0; i < 6; ++i)
    if (kLists[i] == listId) return i;
  return -1;
}

void fill(QComboBox* box, const QStringList& items) {
  box->clear();
  box->addItems(items);
}

QStringList utf8List(std::initializer_list<const char*> items) {
  QStringList out;
  for (const char* item : items) out << QString::fromUtf8(item);
  return out;
}

// The item text at a block position; a position the list does not have
// (a value the camera reports that this program has no name for) gives an
// empty text instead of reading past the list.
QString itemText(const QComboBox* box, int32_t position) {
  return position >= 0 && position < box->count() ? box->itemText(position) : QString();
}

}  // namespace

CDlgLinearMode::CDlgLinearMode(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(330, 210);
  const bool zh = cameraState().chinese();
  fill(control<QComboBox>(kWorkModeList),
       utf8List({"Free-run,Programmable", "Free-run,Edge-controlled", "ExSync,Programmable",
                 "ExSync,Edge-controlled", "ExSync,Level-congrolled"}));
  fill(control<QComboBox>(kCorrectionStartList),
       zh ? utf8List({"红色起始", "蓝色起始"}) : utf8List({"red line", "blue line"}));
  fill(control<QComboBox>(kDataShiftList),
       zh ? utf8List({"无移位", "移1位", "移2位", "移3位"}) : utf8List({"none", "1", "2", "3"}));
  QStringList lines;
  lines << (zh ? QString::fromUtf8("无校正") : QString("none"));
  for (int i = 1; i <= 16; ++i) lines << (zh ? QString::fromUtf8("校正%1行").arg(i) : QString::number(i));
  fill(control<QComboBox>(kCorrectionLinesList), lines);
  copyFromBlock();

  connect(control<QComboBox>(kWorkModeList), &QComboBox::currentIndexChanged, this, [this](int position) {
    if (!busy_) onWorkMode(position);
  });
  for (int i = 1; i < 6; ++i) {
    const int listId = kLists[i];
    connect(control<QComboBox>(listId), &QComboBox::currentIndexChanged, this, [this, listId](int position) {
      if (!busy_) onSimpleChoice(listId, position);
    });
  }
}

void CDlgLinearMode::copyFromBlock() {
  LinearParams& b = cameraState().linear;
  for (int i = 0; i < 6; ++i) positions_[static_cast<size_t>(i)] = blockField(b, i);
}

void CDlgLinearMode::refresh() {
  Busy guard(busy_);
  CameraState& s = cameraState();
  const bool colour = s.typeCode == linescan::kColourType;
  QComboBox* output = control<QComboBox>(kOutputFormatList);
  if (colour) {
    fill(output, {"20 MHz 8 Bit RGB mode", "60 MHz Single Pixel 8 Bit mode", "40 MHz Dual Pixel 8 Bit mode",
                  "60 MHz Single Pixel 10 Bit mode", "40 MHz Dual Pixel 10 Bit mode"});
  } else {
    fill(output, {"8 bit", "10 bit", "12 bit", "14 bit"});
  }
  outputText_ = itemText(output, s.linear.cameraLinkMode);

  QStringList tests = utf8List(
      {"实时图像", "水平测试图", "纵向测试图", "双向测试图", "红色测试图", "绿色测试图", "蓝色测试图"});
  if (!colour) tests = tests.mid(0, 4);
  QComboBox* test = control<QComboBox>(kTestImageList);
  fill(test, tests);
  testImageText_ = itemText(test, s.linear.testImage);

  copyFromBlock();
  for (int i = 0; i < 6; ++i) {
    QComboBox* box = control<QComboBox>(kLists[i]);
    const int32_t position = positions_[static_cast<size_t>(i)];
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
  }
  control<QComboBox>(kCorrectionStartList)->setEnabled(colour);
  control<QComboBox>(kCorrectionLinesList)->setEnabled(colour);
}

void CDlgLinearMode::onSimpleChoice(int listId, int position) {
  const int index = indexOfList(listId);
  if (index < 1 || position < 0) return;
  {
    WaitCursor wait;
    positions_[static_cast<size_t>(index)] = position;
    if (listId == kOutputFormatList) outputText_ = control<QComboBox>(kOutputFormatList)->itemText(position);
    if (listId == kTestImageList) testImageText_ = control<QComboBox>(kTestImageList)->itemText(position);
    camval::write(camval::of(kIds[index]), position);
  }
  repaint();
}

void CDlgLinearMode::onWorkMode(int position) {
  if (position < 0) return;
  {
    WaitCursor wait;
    positions_[0] = position;
    // The work mode's description also writes the pair of times the new
    // mode needs, Time2 first, each stored before it is written.
    camval::write(camval::of(tyxid::kWorkMode), position);
  }
  repaint();
}
