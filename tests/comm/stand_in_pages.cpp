// stand_in_pages.cpp - plain pages in place of the other areas' tabs, so rebuilt tab lists are whole.
#include "app/camera_page.h"
#include "app/page_registry.h"

namespace {

// This test binary links the core and the port page only. A port change
// rebuilds every tab of the new type; with a stand-in for each other page
// the tests see the whole list and its order, not the port tab alone.
class StandInPage : public CameraPage {
 public:
  using CameraPage::CameraPage;
};

template <PageKind kind>
CameraPage* make(QWidget* parent, CTyxVistrelDlg* main) {
  auto* page = new StandInPage(parent, main);
  page->setObjectName(QString("standIn%1").arg(static_cast<int>(kind)));
  page->resize(100, 100);
  return page;
}

const PageRegistration registrations[] = {
    {PageKind::Mode, make<PageKind::Mode>},
    {PageKind::Param, make<PageKind::Param>},
    {PageKind::ColorParam, make<PageKind::ColorParam>},
    {PageKind::Circle, make<PageKind::Circle>},
    {PageKind::Tarvo, make<PageKind::Tarvo>},
    {PageKind::Melko, make<PageKind::Melko>},
    {PageKind::Video, make<PageKind::Video>},
    {PageKind::UsbParam, make<PageKind::UsbParam>},
    {PageKind::ColorCorrect, make<PageKind::ColorCorrect>},
    {PageKind::LinearMode, make<PageKind::LinearMode>},
    {PageKind::LinearParam, make<PageKind::LinearParam>},
    {PageKind::LinearColor, make<PageKind::LinearColor>},
};

}  // namespace
