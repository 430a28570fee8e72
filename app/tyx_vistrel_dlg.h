// tyx_vistrel_dlg.h - the main window of the panel.
#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "app/camera_state.h"
#include "app/layout.h"
#include "app/page_kinds.h"

class CMyTab;
class CameraState;
class CameraPage;
class CompanionWindow;
class CDlgPageWati;
class QLabel;
class QPushButton;

// The one dialog of the program: the page tab control with the pages that
// suit the connected camera, the model label, the memory and default buttons
// and the buttons that show the companion windows. It runs the start-up
// discovery and Reopen, and assembles the pages for the type code.
class CTyxVistrelDlg : public QDialog {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kModelLabel = 1092,
    kBarModeButton = 1007,
    kGrabButton = 1008,
    kGammaButton = 1006,
    kInfoButton = 1005,
    kReopenButton = 1002,
    kReadMemoryButton = 1071,
    kWriteMemoryButton = 1026,
    kDefaultParamButton = 1003,
    kCloseButton = 1,
  };

  explicit CTyxVistrelDlg(QWidget* parent = nullptr);
  ~CTyxVistrelDlg() override;

  // The dialog's initialisation: language, discovery, pages, companions.
  void initialise();
  // Shows the window and runs until it is closed (Close, Escape, the window's
  // close box); hiding it for Bar Mode does not end the run. Returns the
  // dialog's result.
  int run();

  CMyTab* tabs() const { return tabs_; }
  QPushButton* button(int id) const;
  QWidget* controlWidget(int id) const { return layout_.byId(id); }
  CameraPage* page(PageKind kind) const { return pages_[static_cast<size_t>(kind)]; }
  CompanionWindow* companion(CompanionKind kind) const { return companions_[static_cast<size_t>(kind)]; }
  // The title of tab index 0..8 in the interface language.
  static QString tabTitle(int index);

  // The pages a camera state gets, in insertion order, with their tab
  // titles: at start-up (rebuild false) or after a reopen or port change.
  struct PlannedPage {
    PageKind kind;
    QString title;
  };
  static std::vector<PlannedPage> pagePlan(const CameraState& state, bool rebuild);
  // The table of every page and companion window the program has, by kind.
  static CameraPage* newPage(PageKind kind, QWidget* parent, CTyxVistrelDlg* main);
  static CompanionWindow* newCompanion(CompanionKind kind, QWidget* owner, CTyxVistrelDlg* main);

  // Removes all tabs and inserts the pages of the current type code again,
  // in the order and with the titles of a reopen, then sets the buttons.
  void rebuildPages();
  // After Reopen, a port change or a network open has read the new camera:
  // rebuilds the tabs and sets the buttons for its type (a port change and a
  // network open add the port page's own button rules), then brings the
  // companion windows in step with it.
  void cameraChanged(OpenedBy by);
  // The image window the Grab button uses for a type code.
  CompanionWindow* imageWindowFor(int32_t type) const;
  // The image window Grab has shown, or null.
  CompanionWindow* grabWindow() const { return grabWindow_; }
  // Shows the camera state's model text in the model label.
  void showModelText();
  // Repaints the window and rebuilds the visible page from the camera state.
  void repaintWindow();
  // Opens the camera again on the last port (kReopenButton).
  void reopenCamera();

  bool grabShown() const { return grabShown_; }
  bool infoShown() const { return infoShown_; }

  // Button handlers, public so that the control bar and tests can use them.
  void onWriteMemory();
  void onReadMemory();
  void onDefaultParam();
  void onInfoWindow();
  void onBarMode();
  void onGrab();
  void onGammaSet();
  // Where an image window of frame size `image` goes beside the main
  // window's frame `main` on a screen whose free area is `area`; `occupied`
  // is the main window with the information window when that is shown. In
  // this order: just left of the main window, top-aligned; to the right of
  // what is occupied; on the left after the main window moves right; below
  // or above what is occupied; below after the main window moves up; only
  // when the screen holds the two in no way
  // does the image window cover part of the main window, as little as the
  // screen allows. The image window is never placed off the screen.
  struct Placement {
    QPoint image;  // top-left of the image window's frame
    QPoint main;   // top-left of the main window's frame (moved or not)
  };
  static Placement placeImageWindow(const QRect& area, const QRect& main, const QRect& occupied,
                                    const QSize& image);
  // The smallest size an image window accepts and the size it opens with:
  // never below what its controls need (`controls`), never above the room
  // the screen gives it (`room`, its frame left out); the screen wins where
  // the two conflict.
  struct ImageSize {
    QSize minimum;
    QSize size;
  };
  static ImageSize fitImageWindow(const QSize& current, const QSize& controls, const QSize& room);
  // The information window's top-left: at the main window's right edge,
  // top-aligned, kept on the screen.
  static QPoint placeInfo(const QRect& area, const QRect& main, const QSize& info);
  void showAbout();

 protected:
  void moveEvent(QMoveEvent* event) override;
  // Watches the information and image windows: a user who closes one of
  // them by itself gets the button captions (and, for an image window, the
  // close operation) that pressing the button would have given.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Escape does not close the program: the way out is the Close button.
  // In a numeric edit Escape cancels the entry being typed (the edit takes
  // the key first); anywhere else it does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void discover();
  void createPages();
  void insertPage(PageKind kind, const QString& title);
  void setStartupButtons();
  void setGammaButton();
  // The port page's button rules after a port change (and a network open).
  void setPortChangeButtons();
  // A shown image window that is no longer the one Grab uses, or whose
  // button is disabled, is ended and hidden; so is the information window
  // when its button is disabled. Captions follow.
  void companionsFollowCamera();
  void placeInfoWindow();
  // Sizes an image window to the screen and shows it beside the main window.
  void showImageWindow(CompanionWindow* window);
  // The Info Window and Grab captions for a shown or hidden window.
  void setInfoCaption(bool shown);
  void setGrabCaption(bool shown);
  // Ends the image window's capture as the Grab button's second press does.
  void endGrab(CompanionWindow* window);
  void enable(int id, bool on);

  CMyTab* tabs_ = nullptr;
  QLabel* modelLabel_ = nullptr;
  Layout layout_;
  CDlgPageWati* progress_ = nullptr;
  std::array<CameraPage*, static_cast<size_t>(PageKind::Count)> pages_{};
  std::array<CompanionWindow*, static_cast<size_t>(CompanionKind::Count)> companions_{};
  bool grabShown_ = false;
  CompanionWindow* grabWindow_ = nullptr;
  bool infoShown_ = false;
};
