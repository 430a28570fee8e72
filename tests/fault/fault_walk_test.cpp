// fault_walk_test.cpp - every page of the main window driven control by control
// while the camera fails: vanished, refusing writes, or refusing record reads.
//
// One table of cameras (together they get every kind of page) times one
// table of failure states, and one walker that operates every control a user
// can reach. After each single action the simulator's call log says which
// camera calls failed; the fake desktop says what the user was told.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/scroll_bar.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

namespace {

struct CameraCase {
  const char* name;
  const char* camera;  // TYPE or TYPE/VERSION, placed on COM1
  int32_t language;
};

// Together these get every page kind (checked by PageKindsAreAllCovered).
const CameraCase kCameras[] = {
    {"ColourArea219290", "219290", 9},       // Mode, Param, Colour, trigger rows, white balance
    {"CircleVideo212630", "212630/4", 9},    // Electronic Circle, video page
    {"Ntsc210781", "210781/2", 9},           // PAL/NTSC mode, video page by tag
    {"ShortExposure215590", "215590/9", 9},  // short exposure
    {"MultiFrame210780", "210780/4", 9},     // multi-frame average
    {"ColourLine120770", "120770", 9},       // line-scan pages
    {"Line117810", "117810", 9},             // line-scan timing pair
    {"Usb219660", "219660", 9},              // USB parameter, colour correction
    {"Usb211150", "211150", 9},
    {"Tarvo321880", "321880", 9},      // Tarvo model page
    {"Melko321140", "321140", 2},      // Melko page (Chinese layout only)
    {"MelkoNote321140", "321140", 9},  // Melko note page
    {"UsbImage218920", "218920", 9},   // colour, USB image window
};

struct FaultCase {
  const char* name;
  const char* command;
  int32_t code;  // the last error every failing call leaves
  // What the user reads: the string-table entry for the code, written out
  // here so that a wrong table entry fails too.
  const char* english;
  const char* chinese;
};

const FaultCase kFaults[] = {
    {"Vanish103", "vanish 103", 103, "can not read camera info, please check it",
     "无法读取设备信息，请检查设备连接是否正常"},
    {"Vanish120", "vanish 120", 120, "Invalidate Handle", "引用句柄无效"},
    {"WritesFail106", "fail *=106", 106, "Can not write in for invalid link.",
     "由于设备连接不正常，无法写入参数，仅改变界面设置。"},
    {"ReadFails103", "fail read=103", 103, "can not read camera info, please check it",
     "无法读取设备信息，请检查设备连接是否正常"},
};

// Which record field a single parameter id mirrors: the table the simulator
// writes by, so the walk checks the record the camera changed.
constexpr const auto& kCameraMirrors = tyxid::kCameraFields;
constexpr const auto& kExtMirrors = tyxid::kExtendedFields;
constexpr const auto& kLinearMirrors = tyxid::kLinearFields;

enum class Block { None, Camera, Extended, Linear };

Block blockOf(int32_t id) {
  for (const auto& m : kCameraMirrors)
    if (m.id == id) return Block::Camera;
  for (const auto& m : kExtMirrors)
    if (m.id == id) return Block::Extended;
  for (const auto& m : kLinearMirrors)
    if (m.id == id) return Block::Linear;
  return Block::None;
}

int64_t recordValue(int32_t id) {
  const CameraState& s = cameraState();
  for (const auto& m : kCameraMirrors)
    if (m.id == id) return s.params.*(m.member);
  for (const auto& m : kExtMirrors)
    if (m.id == id) return s.ext.*(m.member);
  for (const auto& m : kLinearMirrors)
    if (m.id == id) return s.linear.*(m.member);
  return INT64_MIN;
}

// Calls whose failure the user must hear about. The others are questions
// to the library (tags, identity, exposure arithmetic, versions, frames)
// whose answers the pages use as they come.
const std::set<std::string> kReportedCalls = {"SetConfigParam", "GetConfigParam", "MemorizeParam",
                                              "RecallParam",    "SaveConfigFile", "LoadConfigFile",
                                              "OpenCamera",     "SetCameraIP"};

// Failed calls that the program deliberately does not report. `action` is
// a part of the action label ("" for any action), `calls` the call name and
// id of each excused call.
struct Silent {
  const char* action;
  std::vector<std::string> calls;
  const char* why;
  int32_t camera = 0;  // only for this type code; 0: any camera
};
const std::vector<Silent> kSilent = {
    {"CDlgMode/1045", {"GetConfigParam -1"}, "the read-back after an output choice ignores its result"},
    {"CDlgMode/1046", {"GetConfigParam -1"}, "the read-back after an output choice ignores its result"},
    {"main/1003", {"GetConfigParam -1"}, "Default Param ignores the result of its read-back of the record"},
    {"CDlgCom/1050",
     {"GetConfigParam -1", "GetConfigParam 34"},
     "a port change ignores the result of its reads of the record and of the second block"},
    {"CDlgTarvo/1065",
     {"SetConfigParam 52", "SetConfigParam 54", "SetConfigParam 55"},
     "the video mode, speed and frame rate writes of the Set button report nothing"},
    {"CDlgTarvo/1123", {"SetConfigParam 56"}, "the automatic white balance check box reports nothing"},
    {"CMelko/1242=", {"SetConfigParam 66"}, "Melko edits report nothing"},
    {"CMelko/1062=", {"SetConfigParam 65"}, "Melko edits report nothing"},
    {"CMelko/1063=", {"SetConfigParam 62"}, "Melko edits report nothing"},
    {"CMelko/1064=", {"SetConfigParam 63"}, "Melko edits report nothing"},
    {"CMelko/1238=", {"SetConfigParam 68"}, "Melko edits report nothing"},
    {"CMelko/1239=", {"SetConfigParam 64"}, "Melko edits report nothing"},
    {"CMelko/1243", {"SetConfigParam 27", "SetConfigParam 28"}, "Melko lists report nothing"},
    {"CMelko/1240", {"SetConfigParam 5"}, "Melko lists report nothing"},
    {"CMelko/1244", {"SetConfigParam 61", "GetConfigParam -1"}, "Melko lists report nothing"},
    {"CMelko/1236",
     {"GetConfigParam 68"},
     "the exposure bar takes the camera's exposure back without a report"},
    {"CDlgUsbParam/1108", {"GetConfigParam 19"}, "the exposure read-back after a choice is not checked"},
    {" shown",
     {"SetConfigParam 61", "GetConfigParam -1", "GetConfigParam 68", "SetConfigParam 69"},
     "the Melko page's writes and reads while it is drawn (also when the tabs leave it) report nothing",
     321140},
};

// A record field that rightly differs from the value last written for it.
// `camera` is the type code of the camera the walk started on; failed
// memory operations set the state's own type code to 0.
bool recordMayDiffer(int32_t camera, int32_t id, int64_t written, int64_t held) {
  const CameraState& s = cameraState();
  // Multi-frame average: the camera's own code is 4, the record keeps 5.
  if (id == 5 && written == 4 && held == 5) return true;
  // In PAL/NTSC mode some cameras take a fixed rate code; the record keeps
  // the position chosen in the list.
  if (id == 14 && s.params.frameMode == 4) return true;
  // The USB parameter page keeps the trigger state in its own member and
  // reads the record back instead of storing the run mode.
  if (id == 2 && types::isUsbNine(camera)) return true;
  // The line-scan parameter page fixes both times for the externally
  // synchronised work modes when it draws, without writing them.
  if ((id == 106 || id == 107) && types::isLineScan(camera) && s.linear.workMode >= 2) return true;
  // The control bar writes red and blue gains of at most 252; the record
  // keeps the value chosen.
  if ((id == 10 || id == 12) && written == 252 && held > 252) return true;
  return false;
}

// Message boxes that inform rather than report a failure.
const std::set<QString> kInformationCaptions = {"Ver Information", "Information"};

std::string describe(const SimCamera::Call& c) { return c.line; }

void PrintTo(const CameraCase& c, std::ostream* os) { *os << c.camera << " (language " << c.language << ")"; }
void PrintTo(const FaultCase& f, std::ostream* os) { *os << f.command; }

class FaultWalk : public ::testing::TestWithParam<std::tuple<CameraCase, FaultCase>> {
 protected:
  void SetUp() override {
    sim.reset();
    ASSERT_TRUE(dir.isValid());
    configPath = dir.filePath("walk.cfg");
    // A hang would show up as the fake clock running away: no action of the
    // program waits longer than a few seconds.
    desktop.onSleep = [this](int) {
      if (desktop.clock - actionStart_ > 10 * 60 * 1000) {
        std::fprintf(stderr, "action %s keeps waiting: hang\n", action_.c_str());
        std::abort();
      }
    };
  }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }

  const CameraCase& cam() const { return std::get<0>(GetParam()); }
  const FaultCase& fault() const { return std::get<1>(GetParam()); }
  QString expectedText() const {
    return QString::fromUtf8(cam().language == 2 ? fault().chinese : fault().english);
  }

  void start() {
    sim.control(std::string("clear;camera COM1=") + cam().camera);
    window.reset(startMainWindow(cam().language));
    window->show();
    QApplication::processEvents();
    ASSERT_NE(cameraState().handle, nullptr);
    // A real configuration file for Load, written while the camera is well.
    CameraLibrary::instance().saveConfigFile(cameraState().handle, configPath.toUtf8().constData());
    sim.clearLog();
    desktop.clear();
  }

  // Runs one user action and checks what it did against what it was told.
  size_t act(const std::string& label, const std::function<void()>& fn) {
    sim.clearLog();
    desktop.messages.clear();
    desktop.fileNames = {configPath};
    action_ = label;
    actionStart_ = desktop.clock;
    fn();
    QApplication::processEvents();
    desktop.fileNames.clear();
    ++actions_;
    return check(label);
  }

  bool silent(const std::string& label, const SimCamera::Call& c) const {
    std::string key = c.name;
    if (c.has("id")) key += " " + c.args.at("id");
    for (const Silent& s : kSilent) {
      if (label.find(s.action) == std::string::npos) continue;
      if (s.camera != 0 && s.camera != std::stoi(cam().camera)) continue;
      for (const std::string& call : s.calls)
        if (call == key) return true;
    }
    return false;
  }

  // Returns how many failed calls the action had to report.
  size_t check(const std::string& label) {
    const std::vector<SimCamera::Call> log = sim.log();
    std::vector<std::string> mustReport;
    // A vanished camera fails every call on its handle, questions included;
    // otherwise only parameter calls fail.
    const bool vanished = std::string(fault().command).rfind("vanish", 0) == 0;
    size_t failedTotal = 0;
    std::string previous;
    for (const SimCamera::Call& c : log) {
      if (vanished && c.has("port") && c.args.at("port") != "-") ++failedTotal;
      if (kReportedCalls.count(c.name) == 0 || c.result != "0") {
        previous.clear();
        continue;
      }
      if (!vanished) ++failedTotal;
      // A write tried once more at once (the mode page's frame mode) is
      // one failure for the user.
      const bool retry = c.name == "SetConfigParam" && c.line == previous;
      previous = c.line;
      if (!retry && !silent(label, c)) mustReport.push_back(describe(c));
    }
    size_t errors = 0;
    for (const FakeDesktop::Message& m : desktop.messages) {
      if (kInformationCaptions.count(m.caption) != 0) continue;
      if (m.text == expectedText()) {
        EXPECT_EQ(m.caption, "Vistrel") << label;
        ++errors;
        continue;
      }
      ADD_FAILURE() << label << ": message \"" << m.text.toStdString() << "\" (" << m.caption.toStdString()
                    << ") instead of the library's text for " << fault().code << " \""
                    << expectedText().toStdString() << "\"" << callsOf(log);
    }
    if (failedTotal > 0) ++failingActions_;
    // One message for each failed call: a handler that swallows one
    // failure among several is still caught.
    EXPECT_GE(errors, mustReport.size())
        << label << ": failed calls not reported to the user:\n  " << join(mustReport) << callsOf(log);
    // A report without a failed call would tell the user of a failure that
    // did not happen (or of an old one).
    EXPECT_LE(errors, failedTotal) << label << ": more error messages than failed calls" << callsOf(log);
    trackWrites(log);
    checkRecord(label, log);
    return mustReport.size();
  }

  // The record keeps every value a page meant to write, failed or not,
  // until a whole read of that block succeeds and replaces it.
  void trackWrites(const std::vector<SimCamera::Call>& log) {
    for (const SimCamera::Call& c : log) {
      if (c.name == "SetConfigParam" && c.value("mode") == 0) {
        const int32_t id = static_cast<int32_t>(c.value("id"));
        if (blockOf(id) != Block::None) expected_[id] = c.value("value");
      } else if (c.name == "GetConfigParam" && c.result == "1" && c.value("mode") == 0) {
        const int64_t id = c.value("id");
        const Block b = id == -1    ? Block::Camera
                        : id == 34  ? Block::Extended
                        : id == 100 ? Block::Linear
                                    : Block::None;
        for (auto it = expected_.begin(); it != expected_.end();)
          it = b != Block::None && blockOf(it->first) == b ? expected_.erase(it) : std::next(it);
      }
    }
  }

  void checkRecord(const std::string& label, const std::vector<SimCamera::Call>& log) {
    for (const auto& [id, value] : expected_) {
      if (recordDiffers_.count(id) != 0) continue;
      const int64_t held = recordValue(id);
      if (held != value && !recordMayDiffer(std::stoi(cam().camera), id, value, held)) {
        ADD_FAILURE() << label << ": id " << id << " was written as " << value << " but the record holds "
                      << held << callsOf(log);
        recordDiffers_.insert(id);  // one report per id and run
      }
    }
  }

  static std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n  ";
    return out;
  }
  static std::string callsOf(const std::vector<SimCamera::Call>& log) {
    std::string out = "\n calls:\n";
    for (const SimCamera::Call& c : log) out += "  " + c.line + "\n";
    return out;
  }

  // ---- the walker --------------------------------------------------------

  static std::string idOf(const QWidget* w) {
    const QString name = w->objectName();
    return name.isEmpty() ? std::string(w->metaObject()->className()) : name.toStdString();
  }

  // A control that belongs to another control (a combo box's edit and
  // list) is operated through its owner.
  static bool insideCompound(const QWidget* w, const QWidget* root) {
    for (const QWidget* p = w->parentWidget(); p != nullptr && p != root; p = p->parentWidget())
      if (qobject_cast<const QComboBox*>(p) != nullptr) return true;
    return false;
  }

  static bool reachable(const QWidget* w) { return w != nullptr && w->isVisible() && w->isEnabled(); }

  // Every control of a window a user can operate, in creation order.
  static std::vector<QPointer<QWidget>> controlsOf(QWidget* root, const std::set<std::string>& skip) {
    std::vector<QPointer<QWidget>> out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
      if (insideCompound(w, root) || skip.count(idOf(w)) != 0) continue;
      const bool edit = qobject_cast<QLineEdit*>(w) != nullptr && !static_cast<QLineEdit*>(w)->isReadOnly();
      if (qobject_cast<QAbstractButton*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr ||
          qobject_cast<QAbstractSlider*>(w) != nullptr || edit)
        out.emplace_back(w);
    }
    return out;
  }

  // A new text for an edit: the number next to the one shown, towards the
  // inside of the usual ranges; "1" where the edit holds no number.
  static QString nextText(const QString& text) {
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    if (!ok) return "1";
    return QString::number(n > 0 ? n - 1 : n + 1);
  }

  void operate(const std::string& where, QWidget* raw) {
    QPointer<QWidget> w(raw);
    const std::string name = where + "/" + idOf(raw);
    if (auto* box = qobject_cast<QComboBox*>(raw)) {
      const int count = std::min(box->count(), 8);
      for (int i = 0; i < count; ++i) {
        if (!reachable(w) || i == box->currentIndex()) continue;
        act(name + "#" + std::to_string(i), [&] {
          box->setCurrentIndex(i);
          emit box->activated(i);
        });
      }
    } else if (auto* bar = qobject_cast<ReqScrollBar*>(raw)) {
      if (!reachable(w)) return;
      const int code = bar->value() < bar->maximum() ? SbLineRight : SbLineLeft;
      act(name + " line", [&] {
        bar->request(code);
        if (w) bar->request(SbEndScroll);
      });
      if (reachable(w))
        act(name + " thumb", [&] {
          bar->request(SbThumbTrack, (bar->minimum() + bar->maximum()) / 2);
          if (w) bar->request(SbEndScroll);
        });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(raw)) {
      if (!reachable(w)) return;
      act(name, [&] {
        slider->setValue(slider->value() < slider->maximum() ? slider->value() + 1 : slider->value() - 1);
      });
    } else if (auto* edit = qobject_cast<QLineEdit*>(raw)) {
      if (!reachable(w)) return;
      act(name + "=" + nextText(edit->text()).toStdString(), [&] {
        edit->setText(nextText(edit->text()));
        if (w) emit edit->editingFinished();
        if (w) emit edit->returnPressed();
      });
    } else if (auto* button = qobject_cast<QAbstractButton*>(raw)) {
      if (!reachable(w)) return;
      act(name, [&] { button->click(); });
    }
  }

  void walk(const std::string& where, QWidget* root, const std::set<std::string>& skip = {}) {
    for (const QPointer<QWidget>& w : controlsOf(root, skip))
      if (w) operate(where, w);
  }

  int tabOf(QWidget* page) const {
    for (int i = 0; i < window->tabs()->pageCount(); ++i)
      if (window->tabs()->page(i) == page) return i;
    return -1;
  }

  // Brings each tab to the front and walks its page; the port and file page
  // comes last because its port list reconnects.
  void walkTabs() {
    std::vector<QPointer<QWidget>> pages;
    for (int i = 0; i < window->tabs()->pageCount(); ++i) pages.emplace_back(window->tabs()->page(i));
    CameraPage* com = window->page(PageKind::Com);
    for (const QPointer<QWidget>& page : pages) {
      if (!page || page == com) continue;
      const int tab = tabOf(page);
      if (tab < 0) continue;
      const std::string where = page->metaObject()->className();
      act(where + " shown", [&] { window->tabs()->setCurrentIndex(tab); });
      walked_.insert(where);
      // Operating a control may rebuild the tabs (memory, default, reopen);
      // walk the page only while it is the one on show.
      if (page->isVisible()) walk(where, page);
    }
    if (com != nullptr && tabOf(com) >= 0) {
      act("CDlgCom shown", [&] { window->tabs()->setCurrentIndex(tabOf(com)); });
      // The port list reconnects the camera; it is picked at the very end.
      walk("CDlgCom", com, {"1050"});
    }
  }

  void walkMainButtons() {
    auto click = [&](int id) {
      QPushButton* b = window->button(id);
      ASSERT_NE(b, nullptr) << id;
      if (!reachable(b)) return;
      act("main/" + std::to_string(id), [&] { b->click(); });
    };
    click(CTyxVistrelDlg::kGammaButton);  // GAMMA SET: the library's dialog applies its choice
    click(CTyxVistrelDlg::kInfoButton);   // info window on and off
    click(CTyxVistrelDlg::kInfoButton);
    click(CTyxVistrelDlg::kGrabButton);  // grab window open (the fake desktop declines dialogs)
    click(CTyxVistrelDlg::kGrabButton);
    if (reachable(window->button(CTyxVistrelDlg::kBarModeButton))) {
      act("main/1007", [&] { window->button(CTyxVistrelDlg::kBarModeButton)->click(); });
      CompanionWindow* bar = window->companion(CompanionKind::ControlBar);
      ASSERT_NE(bar, nullptr);
      if (bar->isVisible()) {
        // Each entry of the bar's list selects another value for its bar
        // and edit.
        auto* list = bar->findChild<QComboBox*>("1023");
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i) {
          act("CDlgPage3/1023#" + std::to_string(i), [&] {
            list->setCurrentIndex(i);
            emit list->activated(i);
          });
          walk("CDlgPage3#" + std::to_string(i), bar, {"1023", "1034"});
        }
        act("CDlgPage3/1034", [&] { bar->findChild<QPushButton*>("1034")->click(); });
      }
      EXPECT_TRUE(window->isVisible()) << "the bar gives the main window back";
      window->show();
    }
    // A failed memory or default operation leaves the camera treated as
    // absent until it is opened again; it must not look connected.
    for (int id : {CTyxVistrelDlg::kReadMemoryButton, CTyxVistrelDlg::kWriteMemoryButton,
                   CTyxVistrelDlg::kDefaultParamButton}) {
      QPushButton* b = window->button(id);
      if (!reachable(b)) continue;
      if (act("main/" + std::to_string(id), [&] { b->click(); }) > 0) {
        EXPECT_EQ(cameraState().linkFlag, 0) << id;
        EXPECT_EQ(cameraState().typeCode, 0) << id;
      }
    }
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
  QTemporaryDir dir;
  QString configPath;
  std::string action_;
  int64_t actionStart_ = 0;
  int actions_ = 0;
  int failingActions_ = 0;
  std::map<int32_t, int64_t> expected_;
  std::set<int32_t> recordDiffers_;
  std::set<std::string> walked_;
};

TEST_P(FaultWalk, EveryControlReportsTheFailureAndKeepsItsValue) {
  start();
  ASSERT_FALSE(HasFatalFailure());
  sim.control(fault().command);
  walkTabs();
  walkMainButtons();
  EXPECT_GT(actions_, 10) << "the walk reached hardly any control";
  EXPECT_GT(failingActions_, 0) << "the walk hardly made the camera fail";

  // Once the camera is well again, showing every page rebuilds it from the
  // record: what the pages wrote is still there.
  sim.control("unfail");
  const size_t kept = expected_.size();
  for (int i = 0; i < window->tabs()->pageCount(); ++i)
    act("after unfail, tab " + std::to_string(i), [&] { window->tabs()->setCurrentIndex(i); });
  RecordProperty("values_kept_after_unfail", static_cast<int>(kept));

  // Reopen and a pick in the port list connect again, under the failure
  // once more; they come last because they replace the open handle.
  sim.control(fault().command);
  if (reachable(window->button(CTyxVistrelDlg::kReopenButton)))
    act("main/1002", [&] { window->button(CTyxVistrelDlg::kReopenButton)->click(); });
  CameraPage* com = window->page(PageKind::Com);
  if (com != nullptr && tabOf(com) >= 0) {
    window->tabs()->setCurrentIndex(tabOf(com));
    auto* ports = com->findChild<QComboBox*>("1050");
    if (reachable(ports)) {
      act("CDlgCom/1050 same port", [&] {
        const int i = ports->currentIndex();
        emit ports->activated(i);
      });
    }
  }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<CameraCase, FaultCase>>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(AllPages, FaultWalk,
                         ::testing::Combine(::testing::ValuesIn(kCameras), ::testing::ValuesIn(kFaults)),
                         caseName);

// The camera table is only useful if together its cameras get every page.
TEST(FaultWalkCameras, PageKindsAreAllCovered) {
  CameraState& s = cameraState();
  std::set<PageKind> kinds;
  for (const CameraCase& c : kCameras) {
    s.reset();
    const std::string camera = c.camera;
    const size_t slash = camera.find('/');
    s.typeCode = std::stoi(camera.substr(0, slash));
    s.versionCode = slash == std::string::npos ? 1 : std::stoi(camera.substr(slash + 1));
    s.language = c.language;
    for (const auto& planned : CTyxVistrelDlg::pagePlan(s, false)) kinds.insert(planned.kind);
  }
  s.reset();
  for (int k = 0; k < static_cast<int>(PageKind::Count); ++k)
    EXPECT_EQ(kinds.count(static_cast<PageKind>(k)), 1u) << "no camera gets page kind " << k;
}

}  // namespace
