// dlg_select_board.h - the board-selection dialog the Grab button runs before live video.
#pragma once

#include <QDialog>

#include "app/camera_page.h"

class CDlgGrabVideo;

// The modal board-selection dialog: lists the installed boards, lets the user
// pick one and opens it on confirmation.
class CDlgSelectBoard : public ControlHost<QDialog> {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table (1 and 2 are the dialog's OK and
  // Cancel).
  enum CtlId : int {
    kBoardCountText = 2010,
    kSelectedText = 2012,
    kBoardList = 2011,
  };

  CDlgSelectBoard(QWidget* parent, CDlgGrabVideo& video);
  // The dialog's opening: reads the board list. False when there is no
  // board (the message has been shown and the dialog is not to be run).
  bool prepare();

 private:
  void onSelection();
  void onConfirm();

  CDlgGrabVideo& video_;
};
