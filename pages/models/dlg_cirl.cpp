// dlg_cirl.cpp - the electronic circle tab (radius and centre of the camera's circular mask).
#include "pages/models/dlg_cirl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "app/camera_values.h"
#include "app/desktop.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgCirl::CtlId;

namespace {

// Both languages share one geometry; only the texts differ.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "Radius", "半径", 8, 8, 120, 40},
    {kRadiusEdit, Ctl::Edit, nullptr, nullptr, 18, 24, 50, 13},
    {kRadiusButton, Ctl::Button, "Change", "设置", 76, 23, 44, 15},
    {0, Ctl::Group, "Coordinate", "中心坐标", 8, 56, 200, 40},
    {0, Ctl::Label, "X:", nullptr, 16, 74, 12, 10},
    {kCentreXEdit, Ctl::Edit, nullptr, nullptr, 30, 72, 50, 13},
    {0, Ctl::Label, "Y:", nullptr, 88, 74, 12, 10},
    {kCentreYEdit, Ctl::Edit, nullptr, nullptr, 102, 72, 50, 13},
    {kCentreButton, Ctl::Button, "Change", "设置", 158, 71, 44, 15},
    {kReadParamButton, Ctl::Button, "Read Param", "当前参数", 8, 108, 70, 15},
    {kMemoryParamButton, Ctl::Button, "Memory Param", "记忆体参数", 86, 108, 70, 15},
};

// The camera takes the two centre coordinates as separate commands and needs
// this long between them.
constexpr int kCentreGapMs = 200;

// An unsigned decimal number, or nothing for an empty or malformed text.
bool parseUnsigned(const QString& text, uint32_t* out) {
  bool ok = false;
  const uint v = text.trimmed().toUInt(&ok);
  if (ok) *out = v;
  return ok;
}

// The circle's edits hold unsigned 32-bit numbers: digits only, and no
// keystroke that would make the number too large to send. Whatever can be
// entered reaches the camera, which says itself what it cannot take.
class UnsignedValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    if (input.isEmpty()) return Intermediate;
    for (const QChar c : input)
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
    bool ok = false;
    input.toUInt(&ok);
    return ok ? Acceptable : Invalid;
  }
};

}  // namespace

CDlgCirl::CDlgCirl(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  for (int id : {kRadiusEdit, kCentreXEdit, kCentreYEdit}) {
    auto* edit = control<QLineEdit>(id);
    edit->setValidator(new UnsignedValidator(edit));
  }
  connect(control<QPushButton>(kRadiusButton), &QPushButton::clicked, this, [this] { onChangeRadius(); });
  connect(control<QPushButton>(kCentreButton), &QPushButton::clicked, this, [this] { onChangeCentre(); });
  connect(control<QPushButton>(kReadParamButton), &QPushButton::clicked, this, [this] { onRead(0); });
  connect(control<QPushButton>(kMemoryParamButton), &QPushButton::clicked, this, [this] { onRead(1); });
  refresh();
}

CDlgCirl::~CDlgCirl() = default;

void CDlgCirl::copyFromParams() {
  const CameraParams& p = cameraState().params;
  radius_ = static_cast<uint32_t>(p.radius);
  x_ = static_cast<uint32_t>(p.coordinateX);
  y_ = static_cast<uint32_t>(p.coordinateY);
}

void CDlgCirl::pushMembers() {
  control<QLineEdit>(kRadiusEdit)->setText(QString::number(radius_));
  control<QLineEdit>(kCentreXEdit)->setText(QString::number(x_));
  control<QLineEdit>(kCentreYEdit)->setText(QString::number(y_));
}

void CDlgCirl::refresh() {
  copyFromParams();
  pushMembers();
}

bool CDlgCirl::takeNumber(int editId, uint32_t* out) {
  if (parseUnsigned(control<QLineEdit>(editId)->text(), out)) return true;
  // Only an empty edit gets here (the validator lets nothing else in); a
  // Change that sends nothing says so instead of doing nothing silently.
  Desktop::get().message(this, cameraState().text("Enter a whole number.", "请输入整数。"), "Vistrel");
  control<QLineEdit>(editId)->setFocus();
  return false;
}

void CDlgCirl::onChangeRadius() {
  if (!takeNumber(kRadiusEdit, &radius_)) return;
  WaitCursor wait;
  // The radius reads the record back afterwards; the record keeps what the
  // user asked for, whatever the read reported.
  camval::write(tyxid::kRadius, static_cast<int32_t>(radius_));
}

void CDlgCirl::onChangeCentre() {
  uint32_t x = 0;
  uint32_t y = 0;
  if (!takeNumber(kCentreXEdit, &x) || !takeNumber(kCentreYEdit, &y)) return;
  x_ = x;
  y_ = y;
  WaitCursor wait;
  // Y is sent even when X failed: the two are independent settings.
  camval::write(tyxid::kCoordinateX, static_cast<int32_t>(x_));
  Desktop::get().sleepMs(kCentreGapMs);
  camval::write(tyxid::kCoordinateY, static_cast<int32_t>(y_));
}

void CDlgCirl::onRead(int32_t mode) {
  CameraState& s = cameraState();
  {
    WaitCursor wait;
    if (s.readCameraParams(mode) == 0) s.showCameraError();
    copyFromParams();
  }
  pushMembers();
  s.repaintInfo();
}
