// scroll_bar.h - a scroll bar that reports Windows-style scroll requests.
#pragma once

#include <QPointer>
#include <QScrollBar>

namespace camval {
struct BarRule;
}

// Scroll requests, numbered as the platform the panel was designed on numbers
// them; horizontal and vertical bars share the codes (line up = line left).
enum ScrollCode {
  SbLineLeft = 0,
  SbLineRight = 1,
  SbPageLeft = 2,
  SbPageRight = 3,
  SbThumbPosition = 4,  // thumb released at pos
  SbThumbTrack = 5,     // thumb dragged to pos
  SbLeft = 6,
  SbRight = 7,
  SbEndScroll = 8,
};

// The pages compute every new position themselves from the request, as the
// camera's rules say (some lower to a step, some write only at the end of
// scrolling). This bar therefore never moves by itself: each user action is
// turned into a request and the page sets the position. Every way of moving
// a bar gives the sequence the platform's own bars give: mouse and keys a
// request per step and one end of scrolling when released; the wheel line
// requests, then the end; each entry of the bar's own menu its request,
// then the end.
//
// A message box shown while the user holds an arrow would swallow the mouse
// release, and the arrow's auto-repeat would go on writing behind every box.
// So a modal window shown through the desktop seam during an interaction
// ends it: the arrow is released, the repeat stops and the end of scrolling
// is sent once, after the request that led to the message has been handled.
// If handling that end of scrolling brings up the very same message again
// (a page that writes at the end too, to a camera that refuses the value),
// the user is not shown it a second time for the same click.
class ReqScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  // The entries of the bar's context menu, in menu order.
  enum MenuChoice { ScrollHere, LeftEdge, RightEdge, PageLeft, PageRight, ScrollLeft, ScrollRight };

  explicit ReqScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
  ~ReqScrollBar() override;

  // Sends a request as if the user had made it (tests).
  void request(int code, int pos = 0);

  // The menu entry's text, as the platform names it for this orientation.
  QString menuText(MenuChoice choice) const;
  // The requests of one menu entry chosen with the menu opened at `at`
  // (widget coordinates; only "Scroll here" uses it).
  void menuChosen(MenuChoice choice, QPoint at);

  // True between the start of a mouse, key or wheel interaction and its end
  // of scrolling.
  bool interacting() const { return interacting_; }
  // True while a held arrow or page area repeats its step.
  bool repeating() const { return repeatAction() != SliderNoAction; }

  // The usual rule for a new position: line +-line, page +-page, thumb to
  // pos, ends to the range ends, end of scrolling unchanged; clamped to the
  // range. Lines and pages move only when not already at that end.
  static int standardPosition(int code, int pos, int current, int minimum, int maximum, int line, int page);
  // The same for a window that keeps a variant of it (thumb lowered to the
  // step, line moves stopped at the ends, no final clamp), as the value's
  // row for that window describes; step is the window's step for the value.
  static int standardPosition(int code, int pos, int current, int minimum, int maximum, int step,
                              const camval::BarRule& rule);

 signals:
  void scrollRequest(int code, int pos);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void onAction(int action);
  void emitRequest(int code, int pos);
  void begin();
  void finish();
  // Ends an interaction a message box cut short.
  void finishAfterMessage();
  void wheel(QWheelEvent* event);
  void stopHolding();
  int valueAt(QPoint at) const;
  static bool modalShown(const QString* text);

  bool dragging_ = false;
  bool inRequest_ = false;
  bool interacting_ = false;
  // A modal window ended the interaction; the end of scrolling is still due.
  bool interrupted_ = false;
  // Requests being emitted right now (a handler may show a message inside).
  int emitting_ = 0;
  // Keys held down when a message ended the interaction repeat into the
  // bar again after OK; they are ignored until the key is pressed afresh.
  bool ignoreKeyRepeat_ = false;
  int wheelRest_ = 0;
  // The message that ended the interaction, while its end is delivered.
  QString endingMessage_;
  bool ending_ = false;
  static QPointer<ReqScrollBar> active_;
};
