// info_follow_test.cpp - every change on the mode and parameter tabs has the information window repaint.
#include <QCoreApplication>
#include <QPaintEvent>

#include "app/camera_session.h"
#include "mode_fixture.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_param.h"

namespace {

// Stands in for the information window and counts its paintings.
class InfoSpy : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

enum class Act { Click, Type, Scroll, Choose };

struct FollowCase {
  const char* name;
  bool modePage;
  std::string camera;
  int32_t runMode;
  int before;  // a radio clicked first (0: none)
  Act act;
  int id;
  const char* text;  // Type
  int arg;           // Scroll code, Choose index
};

class InfoFollows : public AreaPageTest, public ::testing::WithParamInterface<FollowCase> {};

TEST_P(InfoFollows, TheInformationWindowRepaintsAfterTheChange) {
  const FollowCase& c = GetParam();
  openCamera(c.camera);
  if (c.runMode != 1) cameraHolds(2, c.runMode);
  InfoSpy spy;
  spy.resize(100, 100);
  spy.show();
  // Follows the settings the way the information window does.
  QObject::connect(&cameraSession(), &CameraSession::settingsChanged, &spy, qOverload<>(&QWidget::update));
  if (c.modePage)
    page = std::make_unique<CDlgMode>(nullptr, nullptr);
  else
    page = std::make_unique<CDlgParam>(nullptr, nullptr);
  showPage();
  if (c.before != 0) click(c.before);
  QCoreApplication::processEvents();
  sim.clearLog();
  spy.paints = 0;
  switch (c.act) {
    case Act::Click: click(c.id); break;
    case Act::Type: type(c.id, QString::fromUtf8(c.text)); break;
    case Act::Scroll: bar(c.id)->request(c.arg, 0); break;
    case Act::Choose: choose(c.id, c.arg); break;
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(sim.writes().empty());
  EXPECT_GT(spy.paints, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, InfoFollows,
    ::testing::Values(FollowCase{"RunMode", true, "219290", 1, 0, Act::Click, 1037, "", 0},
                      FollowCase{"FrameMode", true, "219290", 1, 0, Act::Click, 1041, "", 0},
                      FollowCase{"Output", true, "219290", 1, 0, Act::Click, 1046, "", 0},
                      FollowCase{"ProtectEdit", true, "219290", 2, 0, Act::Type, 1062, "5", 0},
                      FollowCase{"ProtectBar", true, "219290", 2, 0, Act::Scroll, 1033, "", SbLineRight},
                      FollowCase{"Gain", false, "219290", 1, 0, Act::Type, 1048, "7", 0},
                      FollowCase{"BlackBar", false, "219290", 1, 0, Act::Scroll, 1035, "", SbLineRight},
                      FollowCase{"Rate", false, "219290", 1, 0, Act::Choose, 1074, "", 1},
                      FollowCase{"Coarse", false, "219290", 1, 0, Act::Choose, 1094, "", 6},
                      FollowCase{"Fine", false, "219290", 1, 1130, Act::Click, 1001, "", 0},
                      FollowCase{"Short", false, "215590/9", 1, 1135, Act::Click, 1001, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
