// dlg_select_board.cpp - listing the installed boards and opening the one picked.
#include "imaging/dlg_select_board.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "app/camera_state.h"
#include "app/desktop.h"
#include "imaging/board_library.h"
#include "imaging/dlg_grab_video.h"

using enum CDlgSelectBoard::CtlId;

namespace {

constexpr ControlSpec kSelectControls[] = {
    {0, Ctl::Label, "Card available: ", "已安装的图象卡: ", 8, 8, 70, 10},
    {kBoardCountText, Ctl::Label, "", "", 80, 8, 40, 10},
    {0, Ctl::Label, "Card selected: ", "当前选用顺序号: ", 8, 22, 70, 10},
    {kSelectedText, Ctl::Label, "", "", 80, 22, 40, 10},
    // Wide enough for a board line with a name of some 30 characters; a
    // longer name is shown whole in the open list and in the tooltip.
    {kBoardList, Ctl::Combo, nullptr, nullptr, 8, 38, 240, 13},
    {1, Ctl::DefaultButton, "OK", "确定", 120, 60, 60, 14},
    {2, Ctl::Button, "Cancel", "取消", 188, 60, 60, 14},
};

// A board list longer than this is taken as a driver fault; the rest is not
// listed.
constexpr int32_t kMaxListedBoards = 64;

}  // namespace

CDlgSelectBoard::CDlgSelectBoard(QWidget* parent, CDlgGrabVideo& video)
    : ControlHost<QDialog>(parent), video_(video) {
  buildControls(kSelectControls);
  resize(Layout::px(256), Layout::py(82));
  setWindowTitle(cameraState().text("Select Card", "选择使用卡"));
  connect(control<QComboBox>(kBoardList), &QComboBox::activated, this, [this](int) { onSelection(); });
  connect(control<QComboBox>(kBoardList), &QComboBox::currentIndexChanged, this, [this](int) { onSelection(); });
  connect(control<QPushButton>(1), &QPushButton::clicked, this, [this] { onConfirm(); });
  connect(control<QPushButton>(2), &QPushButton::clicked, this, [this] { reject(); });
}

bool CDlgSelectBoard::prepare() {
  TyxBoardRecord* list = nullptr;
  const int32_t count = BoardLibrary::instance().getImageDevice(&list);
  if (count < 1 || list == nullptr) {
    Desktop::get().message(parentWidget(), "valid only for tyx image board,no tyx board detected,failed!",
                           "Vistrel");
    return false;
  }
  const int32_t listed = std::min(count, kMaxListedBoards);
  control<QLabel>(kBoardCountText)->setText(QString::number(count));
  Busy guard(busy_);
  auto* combo = control<QComboBox>(kBoardList);
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
  control<QLabel>(kSelectedText)->setText(QString::number(index));
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 2 * combo->view()->frameWidth());
  combo->setToolTip(combo->currentText());
  return true;
}

void CDlgSelectBoard::onSelection() {
  if (busy_) return;
  const int current = control<QComboBox>(kBoardList)->currentIndex();
  video_.setSelectedBoard(current < 0 ? 0 : current);
  control<QComboBox>(kBoardList)->setToolTip(control<QComboBox>(kBoardList)->currentText());
  control<QLabel>(kSelectedText)->setText(QString::number(video_.selectedBoard()));
}

void CDlgSelectBoard::onConfirm() {
  video_.openSelectedBoard(this);
  accept();
}
