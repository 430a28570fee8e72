// page_registry.cpp - the registered page factories.
#include "app/page_registry.h"

#include <array>
#include <cstddef>

namespace {
std::array<PageFactory, static_cast<size_t>(PageKind::Count)>& pages() {
  static std::array<PageFactory, static_cast<size_t>(PageKind::Count)> table{};
  return table;
}
std::array<CompanionFactory, static_cast<size_t>(CompanionKind::Count)>& companions() {
  static std::array<CompanionFactory, static_cast<size_t>(CompanionKind::Count)> table{};
  return table;
}
}  // namespace

PageRegistration::PageRegistration(PageKind kind, PageFactory factory) {
  pages()[static_cast<size_t>(kind)] = factory;
}
CompanionRegistration::CompanionRegistration(CompanionKind kind, CompanionFactory factory) {
  companions()[static_cast<size_t>(kind)] = factory;
}
PageFactory pageFactory(PageKind kind) { return pages()[static_cast<size_t>(kind)]; }
CompanionFactory companionFactory(CompanionKind kind) { return companions()[static_cast<size_t>(kind)]; }
