// dlg_color_correct.h - the colour correction tab of the USB cameras (brightness and contrast per channel).
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_page.h"

// Brightness and contrast for each colour channel of a USB camera, and on
// the two models that have it a contrast for all channels together. The page
// keeps one value per channel so that switching channels shows what was set
// last; every change is written at once.
class CDlgColorCorrect : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kChannelList = 1102,
    kBrightnessBar = 1098,
    kBrightnessEdit = 1099,
    kContrastBar = 1100,
    kContrastEdit = 1101,
    kAllContrastBar = 1117,
    kAllContrastEdit = 1103,
    kSetDefaultButton = 1001,
  };

  enum Channel { All = 0, Red = 1, Green = 2, Blue = 3, Mono = 4, ChannelCount = 5 };

  CDlgColorCorrect(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgColorCorrect() override;

  // The main window has just inserted the tab: take the values from the
  // camera's record.
  void inserted() override;
  // Shows the members in the controls.
  void refresh() override;

  // Brightness and contrast members from CameraParams, with the stand-in
  // values for fields the camera has never set.
  void loadFromParams();

 private:
  enum class Slider { Brightness, Contrast, AllContrast };

  void initialise();
  void updateAllContrastBar();
  void pushMembers();
  void takeMembers();
  void onScroll(Slider slider, int code, int pos);
  void onTyped(Slider slider);
  void onChannel(int index);
  void onSetDefault();
  // Sets the current channel's brightness (all three colours for "all") and
  // writes the ids of that channel.
  void setBrightness(int32_t value);
  void setContrast(int32_t value);

  int32_t channel_ = All;
  int32_t brightness_[ChannelCount] = {128, 128, 128, 128, 128};
  int32_t contrast_[ChannelCount] = {128, 128, 128, 128, 128};
  int32_t brightnessPos_ = 128;
  int32_t contrastPos_ = 128;
  int32_t allContrastPos_ = 128;
  int32_t brightnessValue_ = 128;
  int32_t contrastValue_ = 128;
  int32_t allContrastValue_ = 0;
  QString channelText_ = QStringLiteral("All Channel");
};
