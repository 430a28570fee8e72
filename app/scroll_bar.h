// scroll_bar.h - a scroll bar that reports Windows-style scroll requests.
#pragma once

#include <QScrollBar>

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
// turned into a request (and, when the mouse button or key is released, an
// end-of-scrolling request) and the page sets the position. Mouse and keys
// produce the same sequences; tests can send requests with request().
class ReqScrollBar : public QScrollBar {
  Q_OBJECT
public:
  explicit ReqScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  // Sends a request as if the user had made it (tests, and the keyboard).
  void request(int code, int pos = 0);

  // The usual rule for a new position: line +-line, page +-page, thumb to
  // pos, ends to the range ends, end of scrolling unchanged; clamped to the
  // range. Lines and pages move only when not already at that end.
  static int standardPosition(int code, int pos, int current, int minimum, int maximum, int line,
                              int page);

signals:
  void scrollRequest(int code, int pos);

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

private:
  void onAction(int action);
  bool dragging_ = false;
  bool inRequest_ = false;
};
