// tyx_vistrel_dlg.h - the main window of the panel.
#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "app/layout.h"
#include "app/page_registry.h"

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

  // Removes all tabs and inserts the pages of the current type code again,
  // in the order and with the titles of a reopen, then sets the buttons.
  // Reopen and a port change share this one routine.
  void rebuildPages();
  // Shows the camera state's model text in the model label.
  void showModelText();
  // Repaints the window and rebuilds the visible page from the camera state.
  void repaintWindow();
  // Opens the camera again on the last port (button 1002).
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
  // The position of an image window of SIZE beside the main window's frame.
  QPoint besideOnTheLeft(const QRect& mainFrame, const QSize& size) const;
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
  void identify();
  void createPages();
  void insertPage(PageKind kind, const QString& title);
  void setStartupButtons();
  void setGammaButton();
  void placeInfoWindow();
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
  bool infoShown_ = false;
};
