// my_tab.cpp - tab switching by hiding and showing page windows.
#include "app/my_tab.h"

#include <QResizeEvent>
#include <QTabBar>

#include "app/camera_page.h"

CMyTab::CMyTab(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  bar_->setObjectName("tabbar");
  bar_->setExpanding(false);
  bar_->setDrawBase(true);
  connect(bar_, &QTabBar::currentChanged, this, &CMyTab::onCurrentChanged);
}

void CMyTab::AddPage(QWidget* page, const QString& title) {
  pages_.insert(pageCount_, page);
  {
    // The tab bar makes its first tab current as it is added; the page is
    // shown by the rule below, not by that signal.
    const QSignalBlocker block(bar_);
    bar_->insertTab(pageCount_, title);
  }
  page->setParent(this);
  page->move(2, bar_->sizeHint().height() + 2);
  if (pageCount_ == 0) {
    shown_ = 0;
    bar_->setCurrentIndex(0);
    page->show();
  } else {
    page->hide();
  }
  ++pageCount_;
}

void CMyTab::removeAllTabs() {
  const QSignalBlocker block(bar_);
  while (bar_->count() > 0) bar_->removeTab(0);
  for (QWidget* page : pages_) page->hide();
  pages_.clear();
  pageCount_ = 0;
  shown_ = -1;
}

QWidget* CMyTab::page(int index) const { return index >= 0 && index < pages_.size() ? pages_[index] : nullptr; }
QString CMyTab::title(int index) const { return bar_->tabText(index); }
int CMyTab::currentIndex() const { return bar_->currentIndex(); }
void CMyTab::setCurrentIndex(int index) { bar_->setCurrentIndex(index); }

void CMyTab::onCurrentChanged(int index) {
  // Selection about to change: the old page is brought up to date and hidden;
  // selection changed: the new page is brought up to date and shown.
  if (QWidget* old = page(shown_)) {
    if (auto* p = qobject_cast<CameraPage*>(old)) p->repaint();
    old->hide();
  }
  shown_ = index;
  if (QWidget* now = page(index)) {
    now->show();  // a CameraPage refreshes when it becomes visible
    now->raise();
  }
  emit pageChanged(index);
}

void CMyTab::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}
