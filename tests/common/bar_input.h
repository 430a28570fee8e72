// bar_input.h - the mouse wheel and a scroll bar's own menu, as a user works them.
#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "app/scroll_bar.h"

// Turns the wheel over a widget by whole notches: positive away from the
// user (up, or left on a horizontal bar), negative towards the user.
inline void turnWheel(QWidget* widget, int notches) {
  const QPoint at = widget->rect().center();
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

// Right-clicks a bar at `at` and clicks the menu entry of `choice` in the
// menu that opens, as the user would. Returns false (and closes the menu)
// when no such entry is shown.
inline bool chooseFromBarMenu(ReqScrollBar* bar, ReqScrollBar::MenuChoice choice, QPoint at) {
  const QString text = bar->menuText(choice);
  bool found = false;
  QTimer::singleShot(0, bar, [&found, text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text() == text) {
        found = true;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return;
      }
    }
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
  QApplication::sendEvent(bar, &event);
  return found;
}

// The centre of the bar's right (or lower) arrow, where the user clicks to
// move a line; a null point when the style draws no arrows.
inline QPoint rightArrow(ReqScrollBar* bar) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  const QRect r =
      bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar);
  return r.isValid() && !r.isEmpty() ? r.center() : QPoint();
}
