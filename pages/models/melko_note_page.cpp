// melko_note_page.cpp - what the Melko tab shows in the English interface.
#include "pages/models/melko_note_page.h"

#include <QLabel>

// The layout table and the tables below name controls by the window's ids.
using enum CMelkoNotePage::CtlId;

namespace {

constexpr ControlSpec kControls[] = {
    {kNoteLabel, Ctl::Label, nullptr, nullptr, 10, 10, 300, 40},
};

}  // namespace

CMelkoNotePage::CMelkoNotePage(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  auto* label = control<QLabel>(kNoteLabel);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(noteText());
}

CMelkoNotePage::~CMelkoNotePage() = default;

QString CMelkoNotePage::noteText() {
  return QStringLiteral(
      "The Melko image orientation settings are available in the Chinese interface. "
      "Start Vistrel with a Chinese (zh_CN) system language to use them.");
}
