// layout.h - windows built from tables of controls.
#pragma once

#include <QHash>
#include <QString>
#include <span>

class QButtonGroup;
class QWidget;

// The kinds of control a layout table can hold.
enum class Ctl {
  Button,
  DefaultButton,
  Radio,       // joins the radio group opened by the last RadioFirst
  RadioFirst,  // opens a new exclusive radio group
  Check,
  Edit,
  EditReadOnly,
  EditDisabled,
  Label,
  Group,
  Combo,      // drop-down list
  ComboEdit,  // drop-down list with an edit field
  List,
  HScroll,
  VScroll,
  Progress,
  Picture,
  Tab,
};

// One control of a window: its numeric id (0 for static texts that nothing
// refers to), kind, label in each language (null zh: same as en) and
// geometry in dialog units.
struct ControlSpec {
  int id;
  Ctl kind;
  const char* en;
  const char* zh;
  int x, y, w, h;
};

// Builds the controls of a table into a parent widget and maps ids to them.
// Dialog units are turned into pixels with fixed factors close to those of
// the platform font the layouts were drawn for.
class Layout {
public:
  static constexpr int kUnitX = 8;  // pixels per 5 horizontal units
  static constexpr int kUnitY = 13; // pixels per 8 vertical units
  static int px(int du) { return du * kUnitX / 5; }
  static int py(int du) { return du * kUnitY / 8; }

  // Builds every control; labels in Chinese when chinese is set.
  void build(QWidget* parent, std::span<const ControlSpec> specs, bool chinese);
  QWidget* byId(int id) const { return controls_.value(id, nullptr); }
  const QHash<int, QWidget*>& controls() const { return controls_; }
  // The radio group that holds a radio button id, or null.
  QButtonGroup* groupOf(int radioId) const;
  // Sets a label's or button's text after the window was built, a little
  // smaller when it would not fit the control, as build() does.
  static void setFittedText(QWidget* control, const QString& text);

 private:
  QHash<int, QWidget*> controls_;
  QHash<int, QButtonGroup*> groups_;
};
