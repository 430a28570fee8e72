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
#include <QTabWidget>

#include "app/scroll_bar.h"

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
