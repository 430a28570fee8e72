// dlg_linear_color.cpp - the line-scan colour page: eight values of 0..1023.
#include "pages/linescan/dlg_linear_color.h"

#include <QLineEdit>
#include <vector>

#include "app/camera_values.h"
#include "app/number_text.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "pages/linescan/linear_timing.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgLinearColor::CtlId;

namespace {

// One value of the page: its parameter id, its field in the block and its
// controls.
struct Channel {
  tyxid::Param paramId;
  int32_t LinearParams::*field;
  int bar;
  int edit;
  int label;
};

const Channel kChannels[CDlgLinearColor::kValues] = {
    {tyxid::kRedGain, &LinearParams::redGain, kRedGainBar, kRedGainEdit, kRedGainLabel},
    {tyxid::kGreenGain, &LinearParams::greenGain, kGreenGainBar, kGreenGainEdit, kGreenGainLabel},
    {tyxid::kBlueGain, &LinearParams::blueGain, kBlueGainBar, kBlueGainEdit, kBlueGainLabel},
    {tyxid::kRedOffset, &LinearParams::redOffset, kRedOffsetBar, kRedOffsetEdit, kRedOffsetLabel},
    {tyxid::kGreenOffset, &LinearParams::greenOffset, kGreenOffsetBar, kGreenOffsetEdit, kGreenOffsetLabel},
    {tyxid::kBlueOffset, &LinearParams::blueOffset, kBlueOffsetBar, kBlueOffsetEdit, kBlueOffsetLabel},
    {tyxid::kOverallGain, &LinearParams::overallGain, kGainBar, kGainEdit, kGainLabel},
    {tyxid::kOverallOffset, &LinearParams::overallOffset, kOffsetBar, kOffsetEdit, kOffsetLabel},
};
constexpr int kChannelCount = 6;  // the first six are the colour channels

// Templates 169 and 173. The labels carry ids in both languages here, so
// that the labels of hidden controls are hidden with them.
const ControlSpec kControls[] = {
    {kRedGainLabel, Ctl::Label, "Red Gain(0-1023):", "红色增益(0-1023):", 10, 12, 90, 10},
    {kRedGainBar, Ctl::HScroll, nullptr, nullptr, 104, 11, 150, 11},
    {kRedGainEdit, Ctl::Edit, "", nullptr, 262, 10, 48, 13},
    {kGreenGainLabel, Ctl::Label, "Green Gain(0-1023):", "绿色增益(0-1023):", 10, 32, 90, 10},
    {kGreenGainBar, Ctl::HScroll, nullptr, nullptr, 104, 31, 150, 11},
    {kGreenGainEdit, Ctl::Edit, "", nullptr, 262, 30, 48, 13},
    {kBlueGainLabel, Ctl::Label, "Blue Gain(0-1023):", "蓝色增益(0-1023):", 10, 52, 90, 10},
    {kBlueGainBar, Ctl::HScroll, nullptr, nullptr, 104, 51, 150, 11},
    {kBlueGainEdit, Ctl::Edit, "", nullptr, 262, 50, 48, 13},
    {kRedOffsetLabel, Ctl::Label, "Red offset(0-1023):", "红色偏置(0-1023):", 10, 72, 90, 10},
    {kRedOffsetBar, Ctl::HScroll, nullptr, nullptr, 104, 71, 150, 11},
    {kRedOffsetEdit, Ctl::Edit, "", nullptr, 262, 70, 48, 13},
    {kGreenOffsetLabel, Ctl::Label, "Green offset(0-1023):", "绿色偏置(0-1023):", 10, 92, 90, 10},
    {kGreenOffsetBar, Ctl::HScroll, nullptr, nullptr, 104, 91, 150, 11},
    {kGreenOffsetEdit, Ctl::Edit, "", nullptr, 262, 90, 48, 13},
    {kBlueOffsetLabel, Ctl::Label, "Blue offset(0-1023):", "蓝色偏置(0-1023):", 10, 112, 90, 10},
    {kBlueOffsetBar, Ctl::HScroll, nullptr, nullptr, 104, 111, 150, 11},
    {kBlueOffsetEdit, Ctl::Edit, "", nullptr, 262, 110, 48, 13},
    // The overall controls take the place of the first two rows.
    {kGainLabel, Ctl::Label, "Gain(0-1023):", "增益(0-1023):", 10, 12, 90, 10},
    {kGainBar, Ctl::HScroll, nullptr, nullptr, 104, 11, 150, 11},
    {kGainEdit, Ctl::Edit, "", nullptr, 262, 10, 48, 13},
    {kOffsetLabel, Ctl::Label, "Offset(0-1023):", "偏置(0-1023):", 10, 32, 90, 10},
    {kOffsetBar, Ctl::HScroll, nullptr, nullptr, 104, 31, 150, 11},
    {kOffsetEdit, Ctl::Edit, "", nullptr, 262, 30, 48, 13},
};

}  // namespace

CDlgLinearColor::CDlgLinearColor(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(330, 210);
  edit_.fill(200);
  bar_.fill(200);
  for (int i = 0; i < kValues; ++i) {
    ReqScrollBar* bar = control<ReqScrollBar>(kChannels[i].bar);
    bar->setRange(0, 1023);
    bar->setSingleStep(1);
    bar->setPageStep(4);
    bar->setValue(200);
    connect(bar, &ReqScrollBar::scrollRequest, this,
            [this, i](int code, int pos) { onScroll(i, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(kChannels[i].edit),
        [](const QString& t) { return TypedNumber::judge(t, TypedNumber::intValue(t), 1, 1023); },
        [this, i] {
          if (!busy_) onTyped(i);
        });
  }
  Busy guard(busy_);
  pushValues();
}

void CDlgLinearColor::takeValues() {
  for (int i = 0; i < kValues; ++i) {
    if (const auto v = numtext::intValue(control<QLineEdit>(kChannels[i].edit)->text()))
      edit_[static_cast<size_t>(i)] = static_cast<int32_t>(*v);
  }
}

void CDlgLinearColor::pushValues() {
  const bool wasBusy = busy_;
  std::vector<int> changed;
  {
    Busy guard(busy_);
    for (int i = 0; i < kValues; ++i) {
      QLineEdit* edit = control<QLineEdit>(kChannels[i].edit);
      const QString text = QString::number(edit_[static_cast<size_t>(i)]);
      if (edit->text() == text) continue;
      edit->setText(text);
      // A hidden box is not part of this camera's page: the channel values
      // of a camera without channels are not written back to it.
      if (!edit->isHidden()) changed.push_back(i);
    }
  }
  if (wasBusy) return;
  for (int i : changed) onTyped(i);
}

void CDlgLinearColor::onTyped(int index) {
  if (busy_) return;
  Busy guard(busy_);
  const Channel& ch = kChannels[index];
  const auto typed = numtext::intValue(control<QLineEdit>(ch.edit)->text());
  if (!typed) return;
  const int value = static_cast<int>(*typed);
  takeValues();
  if (value < 1 || value > 1023) return;
  // The typed value is the base of the next scroll step; the thumb moves
  // only when its bar is scrolled.
  bar_[static_cast<size_t>(index)] = value;
  camval::write(ch.paramId, value);
  pushValues();
}

void CDlgLinearColor::onScroll(int index, int code, int pos) {
  if (busy_) return;
  // The scroll writes the value itself; the edit box it fills must not
  // write it a second time.
  Busy guard(busy_);
  const Channel& ch = kChannels[index];
  ReqScrollBar* bar = control<ReqScrollBar>(ch.bar);
  const int position =
      ReqScrollBar::standardPosition(code, pos, bar_[static_cast<size_t>(index)], 0, 1023, 1, 4);
  bar_[static_cast<size_t>(index)] = position;
  edit_[static_cast<size_t>(index)] = position;
  bar->setValue(position);
  camval::write(ch.paramId, position);
  pushValues();
  repaint();
}

void CDlgLinearColor::refresh() {
  CameraState& s = cameraState();
  {
    Busy guard(busy_);
    // Only the channel values come from the block; the overall gain and
    // offset keep the values last set on this page.
    for (int i = 0; i < kChannelCount; ++i) {
      const int32_t v = s.linear.*(kChannels[i].field);
      edit_[static_cast<size_t>(i)] = v;
      bar_[static_cast<size_t>(i)] = v;
    }
    const bool colour = s.typeCode == linescan::kColourType;
    for (int i = 0; i < kValues; ++i) {
      const bool show = (i < kChannelCount) == colour;
      for (int id : {kChannels[i].bar, kChannels[i].edit, kChannels[i].label})
        controlWidget(id)->setVisible(show);
    }
  }
  // The scroll bars keep their positions; the edit boxes show the values.
  pushValues();
}
