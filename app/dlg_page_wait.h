// dlg_page_wait.h - the progress window of the start-up port scan.
#pragma once

#include <QDialog>

#include "app/layout.h"

class QLineEdit;
class QLabel;
class QProgressBar;

// A line of text, a caption text and a progress bar of four steps. The
// discovery sets the members, pushes them and repaints between its blocking
// steps; the window does nothing on its own.
class CDlgPageWati : public QDialog {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kCaptionLabel = 1137,
    kMessageEdit = 1136,
    kProgressBar = 1025,
  };

  explicit CDlgPageWati(QWidget* parent = nullptr);

  QString message;
  QString caption;
  int step = 0;

  // Members into the controls.
  void push();
  // Push and paint at once (the scan blocks the event loop between steps).
  void repaintNow();


 private:
  QLineEdit* message_;
  QLabel* caption_;
  QProgressBar* bar_;
  Layout layout_;
};
