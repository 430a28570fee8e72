// scroll_bar.cpp - turning mouse, keys, wheel and menu into scroll requests.
#include "app/scroll_bar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "app/camera_values.h"
#include "app/desktop.h"

QPointer<ReqScrollBar> ReqScrollBar::active_;

namespace {

// One notch of a standard mouse wheel.
constexpr int kWheelNotch = 120;

bool isScrollKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
  }
}

}  // namespace

ReqScrollBar::ReqScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
  setTracking(true);
  Desktop::setModalWatcher(&ReqScrollBar::modalShown);
  connect(this, &QAbstractSlider::actionTriggered, this, &ReqScrollBar::onAction);
  connect(this, &QAbstractSlider::sliderPressed, this, [this] { dragging_ = true; });
  connect(this, &QAbstractSlider::sliderReleased, this, [this] {
    if (!dragging_) return;  // the drag was ended by a message box
    dragging_ = false;
    const int pos = sliderPosition();
    setSliderPosition(value());
    emitRequest(SbThumbPosition, pos);
  });
}

ReqScrollBar::~ReqScrollBar() = default;

void ReqScrollBar::request(int code, int pos) { emitRequest(code, pos); }

void ReqScrollBar::emitRequest(int code, int pos) {
  ++emitting_;
  emit scrollRequest(code, pos);
  --emitting_;
  // The handler showed a message while the user was holding the bar: now
  // that it has returned, the interaction ends as a release would end it.
  if (interrupted_ && emitting_ == 0) {
    interrupted_ = false;
    finishAfterMessage();
  }
}

void ReqScrollBar::finishAfterMessage() {
  ending_ = true;
  finish();
  ending_ = false;
  endingMessage_.clear();
}

void ReqScrollBar::begin() {
  if (!interacting_) {
    interacting_ = true;
    interrupted_ = false;
  }
  active_ = this;
}

void ReqScrollBar::finish() {
  if (!interacting_) return;
  interacting_ = false;
  // Still the active bar while the end is handled, so that the message of
  // an interrupted interaction is recognised if the end brings it again.
  emitRequest(SbEndScroll, value());
  if (active_ == this) active_ = nullptr;
}

bool ReqScrollBar::modalShown(const QString* text) {
  ReqScrollBar* bar = active_.data();
  if (bar == nullptr) return true;
  if (bar->ending_) return text == nullptr || *text != bar->endingMessage_;
  if (!bar->interacting_ || bar->interrupted_) return true;
  bar->stopHolding();
  bar->interrupted_ = true;
  bar->ignoreKeyRepeat_ = true;
  bar->endingMessage_ = text != nullptr ? *text : QString();
  if (bar->emitting_ == 0) {
    // Not inside one of our requests (something else showed the window):
    // end the interaction as soon as control returns to the event loop.
    QPointer<ReqScrollBar> guard(bar);
    QMetaObject::invokeMethod(
        bar,
        [guard] {
          if (guard && guard->interrupted_ && guard->emitting_ == 0) {
            guard->interrupted_ = false;
            guard->finishAfterMessage();
          }
        },
        Qt::QueuedConnection);
  }
  return true;
}

void ReqScrollBar::stopHolding() {
  // Let go of the arrow or thumb the way a mouse release does (this stops
  // the auto-repeat and clears the pressed part), without the thumb
  // position a finished drag reports: the user did not let go there.
  dragging_ = false;
  setRepeatAction(SliderNoAction);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QScrollBar::mouseReleaseEvent(&release);
  if (isSliderDown()) setSliderDown(false);
  setSliderPosition(value());
}

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
  // An action of an interaction that a message box has already ended (an
  // auto-repeat step Qt had scheduled) is not the user's.
  if (interrupted_) {
    inRequest_ = true;
    setSliderPosition(current);
    inRequest_ = false;
    return;
  }
  inRequest_ = true;
  if (code != SbThumbTrack) setSliderPosition(current);
  inRequest_ = false;
  emitRequest(code, proposed);
  if (code == SbThumbTrack) {
    // While dragging, the page decides where the thumb stays; Qt keeps the
    // drag going from the mouse position either way.
    if (!isSliderDown()) setSliderPosition(value());
  }
}

bool ReqScrollBar::event(QEvent* event) {
  // QScrollBar turns the wheel into its own moves inside event(), not in
  // wheelEvent(); take it here so that it becomes requests.
  if (event->type() == QEvent::Wheel) {
    wheel(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QScrollBar::event(event);
}

void ReqScrollBar::wheel(QWheelEvent* event) {
  event->accept();
  if (!isEnabled()) return;
  const QPoint delta = event->angleDelta();
  // Turning the wheel away from the user scrolls up, or to the left on a
  // horizontal bar, one notch at a time (fine-grained wheels add up).
  wheelRest_ += delta.y() != 0 ? delta.y() : delta.x();
  const int notches = wheelRest_ / kWheelNotch;
  wheelRest_ -= notches * kWheelNotch;
  if (notches == 0) return;
  const int code = notches > 0 ? SbLineLeft : SbLineRight;
  const int lines = std::abs(notches) * std::max(1, QApplication::wheelScrollLines());
  begin();
  for (int i = 0; i < lines && interacting_ && !interrupted_; ++i) emitRequest(code, value());
  finish();
}

void ReqScrollBar::mousePressEvent(QMouseEvent* event) {
  const bool starts = event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton;
  if (starts) begin();
  QScrollBar::mousePressEvent(event);
  // The press's own first step may have shown a message; Qt arms the
  // auto-repeat after that step, so disarm it again.
  if (starts && !interacting_) stopHolding();
}

void ReqScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  if (interacting_ && (event->buttons() & (Qt::LeftButton | Qt::MiddleButton)) == 0) finish();
}

void ReqScrollBar::keyPressEvent(QKeyEvent* event) {
  if (isScrollKey(event->key())) {
    if (event->isAutoRepeat() && ignoreKeyRepeat_) {
      event->accept();
      return;
    }
    if (!event->isAutoRepeat()) ignoreKeyRepeat_ = false;
    begin();
  }
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
  if (!event->isAutoRepeat() && isScrollKey(event->key())) {
    ignoreKeyRepeat_ = false;
    finish();
  }
}

QString ReqScrollBar::menuText(MenuChoice choice) const {
  // The platform's own texts for its bar menu, translated as Qt translates
  // them for its scroll bars.
  static const std::array<const char*, 7> horizontal = {
      "Scroll here", "Left edge", "Right edge", "Page left", "Page right", "Scroll left", "Scroll right"};
  static const std::array<const char*, 7> vertical = {"Scroll here", "Top",       "Bottom",     "Page up",
                                                      "Page down",   "Scroll up", "Scroll down"};
  const auto& texts = orientation() == Qt::Horizontal ? horizontal : vertical;
  return QCoreApplication::translate("QScrollBar", texts[static_cast<size_t>(choice)]);
}

void ReqScrollBar::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  std::array<QAction*, 7> actions{};
  for (int i = ScrollHere; i <= ScrollRight; ++i) {
    actions[static_cast<size_t>(i)] = menu.addAction(menuText(static_cast<MenuChoice>(i)));
    if (i == ScrollHere || i == RightEdge || i == PageRight) menu.addSeparator();
  }
  const QPoint at = event->pos();
  QPointer<ReqScrollBar> guard(this);
  QAction* chosen = menu.exec(event->globalPos());
  if (!guard || chosen == nullptr) return;
  for (int i = ScrollHere; i <= ScrollRight; ++i) {
    if (chosen == actions[static_cast<size_t>(i)]) menuChosen(static_cast<MenuChoice>(i), at);
  }
}

void ReqScrollBar::menuChosen(MenuChoice choice, QPoint at) {
  if (!isEnabled()) return;
  static constexpr std::array<int, 7> codes = {SbThumbPosition, SbLeft,     SbRight,    SbPageLeft,
                                               SbPageRight,     SbLineLeft, SbLineRight};
  begin();
  emitRequest(codes[static_cast<size_t>(choice)], choice == ScrollHere ? valueAt(at) : value());
  finish();
}

int ReqScrollBar::valueAt(QPoint at) const {
  // The value that puts the middle of the thumb under the point.
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove =
      style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, this);
  const QRect thumb =
      style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  const bool horizontal = orientation() == Qt::Horizontal;
  const int length = horizontal ? thumb.width() : thumb.height();
  const int start = horizontal ? groove.x() : groove.y();
  const int span = (horizontal ? groove.width() : groove.height()) - length;
  const int offset = (horizontal ? at.x() : at.y()) - start - length / 2;
  if (span <= 0) return minimum();
  return QStyle::sliderValueFromPosition(minimum(), maximum(), std::clamp(offset, 0, span), span,
                                         option.upsideDown);
}

void ReqScrollBar::hideEvent(QHideEvent* event) {
  // A bar hidden while held (its page was switched away) forgets the hold;
  // the hidden page is not sent an end of scrolling.
  QScrollBar::hideEvent(event);
  if (interacting_) {
    stopHolding();
    interacting_ = false;
    interrupted_ = false;
    if (active_ == this) active_ = nullptr;
  }
}

int ReqScrollBar::standardPosition(int code, int pos, int current, int minimum, int maximum, int line,
                                   int page) {
  int result = current;
  switch (code) {
    case SbLineLeft:
      if (current > minimum) result = current - line;
      break;
    case SbLineRight:
      if (current < maximum) result = current + line;
      break;
    case SbPageLeft:
      if (current > minimum) result = current - page;
      break;
    case SbPageRight:
      if (current < maximum) result = current + page;
      break;
    case SbThumbPosition:
    case SbThumbTrack: result = pos; break;
    case SbLeft: result = minimum; break;
    case SbRight: result = maximum; break;
    default: break;
  }
  return std::clamp(result, minimum, maximum);
}

namespace {

int roundThumb(int pos, int step, camval::ThumbRound round) {
  switch (round) {
    case camval::ThumbRound::Exact: return pos;
    case camval::ThumbRound::TowardZero: return step * (pos / step);
    case camval::ThumbRound::Down: return step * (pos >= 0 ? pos / step : -((-pos + step - 1) / step));
  }
  return pos;
}

}  // namespace

int ReqScrollBar::standardPosition(int code, int pos, int current, int minimum, int maximum, int step,
                                   const camval::BarRule& rule) {
  step = std::max(1, step);
  const int line = rule.line > 0 ? rule.line : step;
  const bool steppedPage = rule.pageSteps > 0 && step > 1 && step != rule.pageKeptAtStep;
  const int page = steppedPage ? rule.pageSteps * step : rule.page;
  int result = current;
  switch (code) {
    case SbLineLeft:
      if (current > minimum) result = rule.clampLines ? std::max(minimum, current - line) : current - line;
      break;
    case SbLineRight:
      if (current < maximum) result = rule.clampLines ? std::min(maximum, current + line) : current + line;
      break;
    case SbPageLeft:
      if (current > minimum) result = std::max(minimum, current - page);
      break;
    case SbPageRight:
      if (current < maximum) result = std::min(maximum, current + page);
      break;
    case SbThumbPosition: result = roundThumb(pos, step, rule.thumbPosition); break;
    case SbThumbTrack: result = roundThumb(pos, step, rule.thumbTrack); break;
    case SbLeft: result = minimum; break;
    case SbRight: result = maximum; break;
    default: break;
  }
  return rule.clampResult ? std::clamp(result, minimum, maximum) : result;
}
