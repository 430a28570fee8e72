// dlg_cirl.h - the electronic circle tab (radius and centre of the camera's circular mask).
#pragma once

#include <cstdint>

#include "app/camera_page.h"

// Sets the radius and the centre of the camera's electronic circle and reads
// them back, as currently set or as kept in the camera's memory. The edit
// boxes always show the record: a value typed but not applied is replaced
// when the page is shown again.
class CDlgCirl : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kRadiusEdit = 1095,
    kRadiusButton = 1099,
    kCentreXEdit = 1096,
    kCentreYEdit = 1097,
    kCentreButton = 1098,
    kReadParamButton = 1101,
    kMemoryParamButton = 1100,
  };

  CDlgCirl(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgCirl() override;

  // Copies the circle fields from CameraParams and shows them.
  void refresh() override;

 private:
  void pushMembers();
  void copyFromParams();
  // Reads an edit's number; an empty edit is reported and gives false.
  bool takeNumber(int editId, uint32_t* out);
  void onChangeRadius();
  void onChangeCentre();
  // Read Param (mode 0) and Memory Param (mode 1).
  void onRead(int32_t mode);

  uint32_t radius_ = 0;
  uint32_t x_ = 0;
  uint32_t y_ = 0;
};
