// scroll_bar.cpp - turning Qt slider actions into scroll requests.
#include "app/scroll_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

ReqScrollBar::ReqScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
  setTracking(true);
  connect(this, &QAbstractSlider::actionTriggered, this, &ReqScrollBar::onAction);
  connect(this, &QAbstractSlider::sliderPressed, this, [this] { dragging_ = true; });
  connect(this, &QAbstractSlider::sliderReleased, this, [this] {
    dragging_ = false;
    const int pos = sliderPosition();
    setSliderPosition(value());
    emit scrollRequest(SbThumbPosition, pos);
  });
}

void ReqScrollBar::request(int code, int pos) { emit scrollRequest(code, pos); }

void ReqScrollBar::onAction(int action) {
  if (inRequest_) return;
  // Qt has already moved the slider position for the action; take the
  // proposed position and put the slider back, so that only the page's
  // answer to the request moves the bar.
  const int proposed = sliderPosition();
  const int current = value();
  int code = -1;
  switch (action) {
    case SliderSingleStepAdd: code = SbLineRight; break;
    case SliderSingleStepSub: code = SbLineLeft; break;
    case SliderPageStepAdd: code = SbPageRight; break;
    case SliderPageStepSub: code = SbPageLeft; break;
    case SliderToMinimum: code = SbLeft; break;
    case SliderToMaximum: code = SbRight; break;
    case SliderMove: code = SbThumbTrack; break;
    default: return;
  }
  inRequest_ = true;
  if (code != SbThumbTrack) setSliderPosition(current);
  inRequest_ = false;
  emit scrollRequest(code, proposed);
  if (code == SbThumbTrack) {
    // While dragging, the page decides where the thumb stays; Qt keeps the
    // drag going from the mouse position either way.
    if (!isSliderDown()) setSliderPosition(value());
  }
}

void ReqScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  emit scrollRequest(SbEndScroll, value());
}

void ReqScrollBar::keyPressEvent(QKeyEvent* event) {
  // Qt's own key handling triggers the same actions as the arrows and pages,
  // except that a horizontal QScrollBar swaps Left and Right (its inverted
  // controls are meant for the vertical Up and Down): Right must ask for a
  // line to the right, as the right arrow button does.
  if (orientation() == Qt::Horizontal && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
    const bool towardsRight = (event->key() == Qt::Key_Right) != isRightToLeft();
    triggerAction(towardsRight ? SliderSingleStepAdd : SliderSingleStepSub);
    event->accept();
    return;
  }
  QScrollBar::keyPressEvent(event);
}

void ReqScrollBar::keyReleaseEvent(QKeyEvent* event) {
  QScrollBar::keyReleaseEvent(event);
  if (!event->isAutoRepeat()) {
    switch (event->key()) {
      case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
      case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        emit scrollRequest(SbEndScroll, value());
        break;
      default: break;
    }
  }
}

int ReqScrollBar::standardPosition(int code, int pos, int current, int minimum, int maximum,
                                   int line, int page) {
  int result = current;
  switch (code) {
    case SbLineLeft: if (current > minimum) result = current - line; break;
    case SbLineRight: if (current < maximum) result = current + line; break;
    case SbPageLeft: if (current > minimum) result = current - page; break;
    case SbPageRight: if (current < maximum) result = current + page; break;
    case SbThumbPosition: case SbThumbTrack: result = pos; break;
    case SbLeft: result = minimum; break;
    case SbRight: result = maximum; break;
    default: break;
  }
  return std::clamp(result, minimum, maximum);
}
