// my_tab.h - the page tab control of the main window.
#pragma once

#include <QWidget>

class QTabBar;

// Each tab carries one page, a child of this control placed below the tab
// row. Choosing a tab hides the page of the old tab and shows the page of the
// new one; the pages themselves live as long as the main window.
class CMyTab : public QWidget {
  Q_OBJECT
public:
  explicit CMyTab(QWidget* parent = nullptr);

  // Inserts a tab at index pageCount() carrying the page; the first page is
  // shown, later ones start hidden.
  void AddPage(QWidget* page, const QString& title);
  // Removes every tab and sets the page count to 0. The pages stay alive;
  // they are hidden so that a page the next camera does not get cannot stay
  // on screen under the new ones.
  void removeAllTabs();

  int pageCount() const { return pageCount_; }
  QWidget* page(int index) const;
  QString title(int index) const;
  int currentIndex() const;
  void setCurrentIndex(int index);

signals:
  void pageChanged(int index);

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void onCurrentChanged(int index);
  QTabBar* bar_;
  QList<QWidget*> pages_;
  int pageCount_ = 0;
  int shown_ = -1;
};
