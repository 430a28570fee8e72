// camera_page.h - the common base of every tab page and companion window.
#pragma once

#include <QDialog>
#include <QWidget>
#include <span>

#include "abi/tyxcamera_ids.h"
#include "app/camera_state.h"
#include "app/layout.h"
#include "app/typed_number.h"

class CTyxVistrelDlg;

// Shared by pages and companion windows: the control table, lookup by id and
// a guard against re-entry. The original pages rebuilt themselves in their
// paint handler; in Qt a page must not change widgets while painting, so the
// same work lives in refresh(), which runs when the page becomes visible and
// whenever a behaviour says the page repaints (only while visible).
template <class Base>
class ControlHost : public Base {
 public:
  using Base::Base;
  // The page's numeric edits stop acting first: closing the window moves
  // the focus out of an edit, which would take a waiting entry into a page
  // that is half gone.
  ~ControlHost() override {
    for (TypedNumber* typed : this->template findChildren<TypedNumber*>()) typed->disarm();
  }

  template <class T>
  T* control(int id) const {
    return qobject_cast<T*>(layout_.byId(id));
  }
  QWidget* controlWidget(int id) const { return layout_.byId(id); }
  const Layout& layout() const { return layout_; }

  // Rebuilds the page from the camera state. Called when shown and by
  // repaint(); never from paintEvent.
  virtual void refresh() {}
  // "Repaint": refresh now if visible (hidden windows do not paint).
  void repaint() {
    if (this->isVisible()) refresh();
    this->update();
  }

 protected:
  void buildControls(std::span<const ControlSpec> specs) {
    layout_.build(this, specs, cameraState().chinese());
  }
  // Sizes the window to dialog units.
  void setDialogSize(int widthDu, int heightDu) { this->resize(Layout::px(widthDu), Layout::py(heightDu)); }

  // Set while a handler runs, so that changes the handler makes to the
  // controls (which fire the same signals as user input) act once and do not
  // recurse without end.
  bool busy_ = false;
  struct Busy {
    explicit Busy(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Busy() { flag_ = was_; }
    bool& flag_;
    bool was_;
  };

 private:
  Layout layout_;
};

// A tab page of the main window.
class CameraPage : public ControlHost<QWidget> {
  Q_OBJECT
 public:
  CameraPage(QWidget* parent, CTyxVistrelDlg* main) : ControlHost<QWidget>(parent), main_(main) {}
  CTyxVistrelDlg* mainWindow() const { return main_; }
  // Called by the main window right after it inserted the page's tab.
  virtual void inserted() {}

 protected:
  void showEvent(QShowEvent* event) override;
  // A check box the user clicks to switch a camera value: 1 checked, 0 not,
  // through the value's writer.
  void writesOnClick(int checkId, tyxid::Param value);
  // A radio button that writes `number` to a camera value when the user
  // checks it (a click on a checked button writes again, as it always has).
  void writesOnChoice(int radioId, tyxid::Param value, int32_t number);

 private:
  CTyxVistrelDlg* main_;
};

// A top-level window owned by the main window (information window, control
// bar, image windows).
class CompanionWindow : public ControlHost<QDialog> {
  Q_OBJECT
 public:
  CompanionWindow(QWidget* owner, CTyxVistrelDlg* main);
  CTyxVistrelDlg* mainWindow() const { return main_; }
  void setMainWindow(CTyxVistrelDlg* main) { main_ = main; }

  // The Grab button's open operation (image windows); true when the window
  // may be shown.
  virtual bool openGrab(QWidget* owner) {
    (void)owner;
    return true;
  }
  // The Grab button's close operation, before the window is hidden. Must
  // also stop any running capture.
  virtual void closeGrab() {}
  // The camera is about to be closed (Reopen, a port change, the network
  // open): a capture from it must end first.
  virtual void cameraClosing() {}
  // True while a capture of this window runs (it may run while the window is
  // hidden).
  virtual bool captureRunning() const { return false; }
  // The smallest size that still shows every control of the window.
  QSize controlsExtent() const;

 signals:
  // A capture started or ended.
  void captureStateChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  CTyxVistrelDlg* main_;
};
