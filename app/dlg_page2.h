// dlg_page2.h - the information window listing the current settings.
#pragma once

#include <QFont>
#include <QStringList>

#include "app/camera_page.h"

// A captioned window without controls that draws the settings of the camera
// state as lines of text. It repaints whenever the session says the settings
// have changed.
class CDlgPage2 : public CompanionWindow {
  Q_OBJECT
public:
  CDlgPage2(QWidget* owner, CTyxVistrelDlg* main);

  // The lines the window draws for the current camera state.
  static QStringList lines();
  // The font the lines are drawn in.
  static QFont listFont();
  // Where the lines are drawn: the first at (10, 15), one every 17 pixels.
  static constexpr int kLeft = 10, kTop = 15, kLineStep = 17;

 protected:
  void paintEvent(QPaintEvent* event) override;
};
