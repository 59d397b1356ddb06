#pragma once

#include <vector>

#include "model/ParameterTable.h"

namespace qx {

class Command;
namespace ui {
class Control;
class Window;
}  // namespace ui

// Talks to a feature control by its id, wherever it lives: each page in page order is asked
// first, then the main window. Values are read and written by what the control is (its
// window class), not by what the parameter table declares.
class FeatureControls : public ControlValueWriter {
 public:
  FeatureControls() = default;
  // Pages in page order, then the main window.
  explicit FeatureControls(std::vector<ui::Window*> searchOrder);
  void SetSearchOrder(std::vector<ui::Window*> searchOrder) { windows_ = std::move(searchOrder); }

  // Null when no window has the id (or the window does not exist yet).
  ui::Control* FindControl(int controlId) const;

  // Edit: its text as a decimal integer (leading digits, 0 if none). Up-down: its position.
  // Drop-down list: the list value. Check box: 1 when checked. Radio button: index of the
  // checked button of its group. Anything else, or no control: -1.
  int GetControlValue(int controlId) const;
  // Returns 1, or 0 for no control or a kind that holds no value.
  int SetControlValue(int controlId, int value) override;
  // Queries the control's command and shows the answer in table and control.
  int ReadBackControl(int controlId, Command& command, ParameterTable& table);

  // The value of a drop-down list: the selected item's data, or the selected index where the
  // data is 0 (lists whose values are always the data excepted). -1 with nothing selected.
  static int ListValue(const ui::Control& list);
  // Selects the first item carrying the value; without one, the item at that index; an index
  // outside the list selects nothing.
  static void SelectListValue(ui::Control& list, int value);

 private:
  std::vector<ui::Window*> windows_;
};

}  // namespace qx
