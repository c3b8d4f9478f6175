#pragma once

#include <memory>

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

class VarsStore;
class PanelModel;
class PanelWindow;

// The operation panel as an automation object: one window of pages and
// controls bound to Vars slots (see PanelModel and PanelLayout).
//
// Members: Show, Hide, Visible, TimeInterval (ms, 10 .. 3600000), WindowState
// (0 normal, 1 minimized, 2 maximized), Page (1-based), Mode (get only: 1 run,
// 0 edit), PanelStart (run mode), PanelStop (edit mode), IsModified,
// LoadLayout(path) and SaveLayout(path) (false on failure), and Execute with
// these command words (letter case ignored; an unknown word raises error 5):
//
//   "Refresh"        none           reads the bound slots now
//   "Clear"          none           removes every page and control (one empty page stays)
//   "AddPage"        title          appends a page
//   "RemovePage"     page           removes a page and its controls (not the last page)
//   "RenamePage"     (page, title)  renames a page
//   "AddControl"     statement      adds a control written as in the layout file:
//                                   "KIND PAGE X Y WIDTH HEIGHT SLOT CAPTION [VALUE]"
//   "RemoveControl"  number         removes the control with that 1-based number
//   "Title"          text           sets the window's title
//
// A value out of range raises error 5 (9 for a page or control that does
// not exist).
class Dialdeck final : public DispatchClass<Dialdeck> {
 public:
  Dialdeck();
  explicit Dialdeck(std::shared_ptr<VarsStore> store);
  ~Dialdeck() override;
  static const MemberTable<Dialdeck>& table();

  PanelModel& model() const { return *model_; }
  PanelWindow& window() const { return *window_; }
  void execute(const QString& word, const Variant& parameter);

 private:
  Variant show(Call&);
  Variant hide(Call&);
  Variant visible(Call&);
  Variant setVisible(Call& call);
  Variant timeInterval(Call&);
  Variant setTimeInterval(Call& call);
  Variant windowState(Call&);
  Variant setWindowState(Call& call);
  Variant page(Call&);
  Variant setPage(Call& call);
  Variant mode(Call&);
  Variant panelStart(Call&);
  Variant panelStop(Call&);
  Variant isModified(Call&);
  Variant executeMember(Call& call);
  Variant loadLayout(Call& call);
  Variant saveLayout(Call& call);

  std::unique_ptr<PanelModel> model_;
  std::unique_ptr<PanelWindow> window_;
};

}  // namespace tarvix::engine
