// dlg_page2.h - the information window listing the current settings.
#pragma once

#include <QStringList>

#include "app/camera_page.h"

// A captioned window without controls that draws the settings of the camera
// state as lines of text. Every page asks it to repaint after a change.
class CDlgPage2 : public CompanionWindow {
  Q_OBJECT
public:
  CDlgPage2(QWidget* owner, CTyxVistrelDlg* main);

  // The lines the window draws for the current camera state.
  static QStringList lines();

protected:
  void paintEvent(QPaintEvent* event) override;
};
