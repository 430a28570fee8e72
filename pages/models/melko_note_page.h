// melko_note_page.h - what the Melko tab shows in the English interface.
#pragma once

#include "app/camera_page.h"

// The image orientation settings exist only with Chinese texts; in any
// other interface language the Melko tab explains where to find them
// instead of showing an empty page.
class CMelkoNotePage : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kNoteLabel = 1245,
  };

  CMelkoNotePage(QWidget* parent, CTyxVistrelDlg* main);
  ~CMelkoNotePage() override;

  static QString noteText();
};
