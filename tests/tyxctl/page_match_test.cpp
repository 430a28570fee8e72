// page_match_test.cpp - a value set with tyxctl reaches the library exactly as the same change on its page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>

#include "area_mode/mode_fixture.h"
#include "in_process.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_param.h"

namespace {

// The calls that change or read the camera's settings, in order.
QStringList settingCalls(const QStringList& log) {
  QStringList out;
  for (const QString& line : log)
    if (line.startsWith("SetConfigParam ") || line.startsWith("GetConfigParam ")) out << line;
  return out;
}

struct MatchCase {
  const char* name;
  const char* assignment;  // what the tool is given
  bool modePage;           // else the parameter page
  std::function<void(CameraPageTest&)> onPage;
};

class ToolMatchesPage : public AreaPageTest, public ::testing::WithParamInterface<MatchCase> {
 public:
  void setText(int id, const QString& text) { ctl<QLineEdit>(id)->setText(text); }
  void clickOn(int id) { click(id); }

 protected:

  // What the tool sends for the assignment, after the opening it shares
  // with every command (taken from a get, which writes nothing).
  QStringList fromTool(const char* assignment) {
    const ToolRun opening = runInProcess(sim, {"get", "-p", "COM1", "gain"}, {}, {}, &desktop);
    const ToolRun run = runInProcess(sim, {"set", "-p", "COM1", assignment}, {}, {}, &desktop);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList prefix = opening.log.mid(0, opening.log.size() - 1);
    EXPECT_EQ(run.log.mid(0, prefix.size()), prefix);
    EXPECT_TRUE(run.log.last().startsWith("CloseCamera "));
    return settingCalls(run.log.mid(prefix.size(), run.log.size() - prefix.size() - 1));
  }
};

TEST_P(ToolMatchesPage, SameCallsInTheSameOrder) {
  const MatchCase& c = GetParam();
  const QStringList tool = fromTool(c.assignment);
  ASSERT_FALSE(tool.isEmpty());

  openCamera("219290");
  if (c.modePage)
    page = std::make_unique<CDlgMode>(nullptr, nullptr);
  else
    page = std::make_unique<CDlgParam>(nullptr, nullptr);
  showPage();
  c.onPage(*this);
  EXPECT_EQ(tool, settingCalls([&] {
              QStringList lines;
              for (const SimCamera::Call& call : sim.log()) lines << QString::fromStdString(call.line);
              return lines;
            }()))
      << "tool:\n" << tool.join('\n').toStdString();
}

// The page's own ways of making the change: a whole number put into its
// edit (as the program does itself), a click on a choice.
void edit(CameraPageTest& t, int id, const char* text) {
  static_cast<ToolMatchesPage&>(t).setText(id, text);
}
void choose(CameraPageTest& t, int id) { static_cast<ToolMatchesPage&>(t).clickOn(id); }

INSTANTIATE_TEST_SUITE_P(
    Values, ToolMatchesPage,
    ::testing::Values(
        MatchCase{"Gain", "gain=500", false, [](CameraPageTest& t) { edit(t, CDlgParam::kGainEdit, "500"); }},
        MatchCase{"Black", "black=20", false, [](CameraPageTest& t) { edit(t, CDlgParam::kBlackEdit, "20"); }},
        MatchCase{"Brightness", "brightness=700", false,
                  [](CameraPageTest& t) { edit(t, CDlgParam::kBrightnessEdit, "700"); }},
        MatchCase{"EdgeTrigger", "run-mode=edge-trigger", true,
                  [](CameraPageTest& t) { choose(t, CDlgMode::kEdgeTriggerRadio); }},
        MatchCase{"PartialFrame", "frame-mode=part", true, [](CameraPageTest& t) { choose(t, CDlgMode::kPartRadio); }},
        MatchCase{"TestImage", "output-mode=test-image", true,
                  [](CameraPageTest& t) { choose(t, CDlgMode::kTestImageRadio); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
