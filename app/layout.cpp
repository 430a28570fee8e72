// layout.cpp - the one builder of every window's controls.
#include "app/layout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>

#include "app/scroll_bar.h"

namespace {

// The width a control's text has once the style has taken its frame or its
// indicator: the text is clipped to it.
int textRoom(QWidget* w) {
  QStyle* style = w->style();
  if (qobject_cast<QPushButton*>(w) != nullptr)
    return w->width() - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
  if (qobject_cast<QRadioButton*>(w) != nullptr)
    return w->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) -
           style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
  if (qobject_cast<QCheckBox*>(w) != nullptr)
    return w->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) -
           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
  return w->width();
}

// The layouts were drawn for a narrower platform font: a text that does not
// fit its control in ours is set a little smaller rather than cut off. The
// geometry stays as drawn, so nothing moves or overlaps.
void shrinkToFit(QWidget* w, const QString& text) {
  if (text.isEmpty()) return;
  QString shown = text;
  shown.remove(QLatin1Char('&'));
  const int room = textRoom(w);
  QFont font = w->font();
  constexpr qreal kSmallest = 7.0;  // points; below this the text is no longer readable
  if (font.pointSizeF() <= 0) return;
  bool changed = false;
  while (QFontMetrics(font).horizontalAdvance(shown) > room && font.pointSizeF() - 0.5 >= kSmallest) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    changed = true;
  }
  if (changed) w->setFont(font);
}

}  // namespace

void Layout::build(QWidget* parent, std::span<const ControlSpec> specs, bool chinese) {
  QButtonGroup* group = nullptr;
  QList<QWidget*> frames;
  for (const ControlSpec& spec : specs) {
    const QString label = QString::fromUtf8(chinese && spec.zh != nullptr ? spec.zh : spec.en != nullptr ? spec.en : "");
    QWidget* w = nullptr;
    switch (spec.kind) {
      case Ctl::Button:
      case Ctl::DefaultButton: {
        auto* b = new QPushButton(label, parent);
        b->setAutoDefault(false);
        b->setDefault(spec.kind == Ctl::DefaultButton);
        w = b;
        break;
      }
      case Ctl::RadioFirst:
        group = new QButtonGroup(parent);
        group->setExclusive(true);
        [[fallthrough]];
      case Ctl::Radio: {
        auto* r = new QRadioButton(label, parent);
        if (group == nullptr) {
          group = new QButtonGroup(parent);
          group->setExclusive(true);
        }
        group->addButton(r, spec.id);
        groups_.insert(spec.id, group);
        w = r;
        break;
      }
      case Ctl::Check: w = new QCheckBox(label, parent); break;
      case Ctl::Edit:
      case Ctl::EditReadOnly:
      case Ctl::EditDisabled: {
        auto* e = new QLineEdit(label, parent);
        e->setReadOnly(spec.kind == Ctl::EditReadOnly);
        e->setEnabled(spec.kind != Ctl::EditDisabled);
        w = e;
        break;
      }
      case Ctl::Label: w = new QLabel(label, parent); break;
      case Ctl::Group: {
        w = new QGroupBox(label, parent);
        frames.append(w);
        break;
      }
      case Ctl::Combo:
      case Ctl::ComboEdit: {
        auto* c = new QComboBox(parent);
        c->setEditable(spec.kind == Ctl::ComboEdit);
        w = c;
        break;
      }
      case Ctl::List: w = new QListWidget(parent); break;
      case Ctl::HScroll: w = new ReqScrollBar(Qt::Horizontal, parent); break;
      case Ctl::VScroll: w = new ReqScrollBar(Qt::Vertical, parent); break;
      case Ctl::Progress: w = new QProgressBar(parent); break;
      case Ctl::Picture: {
        auto* l = new QLabel(parent);
        l->setFrameShape(QFrame::NoFrame);
        w = l;
        break;
      }
      case Ctl::Tab: w = new QTabWidget(parent); break;
    }
    w->setGeometry(px(spec.x), py(spec.y), px(spec.w), py(spec.h));
    if (spec.kind == Ctl::Button || spec.kind == Ctl::DefaultButton || spec.kind == Ctl::Radio ||
        spec.kind == Ctl::RadioFirst || spec.kind == Ctl::Check || spec.kind == Ctl::Label)
      shrinkToFit(w, label);
    if (spec.id != 0) {
      w->setObjectName(QString::number(spec.id));
      w->setProperty("controlId", spec.id);
      controls_.insert(spec.id, w);
    }
  }
  // Group frames are drawn behind the controls they enclose, as the
  // platform's group boxes are.
  for (QWidget* frame : frames) frame->lower();
}

QButtonGroup* Layout::groupOf(int radioId) const { return groups_.value(radioId, nullptr); }

void Layout::setFittedText(QWidget* control, const QString& text) {
  if (control == nullptr) return;
  // Back to the window's font first: a shorter text may fit at full size.
  control->setFont(QFont());
  if (auto* button = qobject_cast<QAbstractButton*>(control))
    button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(control))
    label->setText(text);
  shrinkToFit(control, text);
}
