#include "ui/TemplateLayout.h"

#include <algorithm>
#include <map>
#include <vector>

namespace qx::ui {

void LayOutTemplate(DialogTemplate& tmpl) {
  constexpr int kMargin = 8;
  constexpr int kRowHeight = 22;
  constexpr int kRowStep = 26;
  constexpr int kGroupTitle = 20;
  constexpr int kGroupInset = 10;
  constexpr int kLabelWidth = 150;
  constexpr int kCellWidth = 90;
  constexpr int kCellGap = 6;

  const int width = tmpl.rect.width > 0 ? tmpl.rect.width : 600;
  // Laid-out controls flow below everything the template places exactly.
  int bottom = kMargin;
  for (const ControlTemplate& control : tmpl.controls) {
    if (control.rect) bottom = std::max(bottom, control.rect->Bottom() + kMargin);
  }

  // Each group (and the window, -1) keeps the next free line of its own flow; a group box
  // takes its place in its parent's flow and pushes the parent's flow below itself as it
  // grows, so rows after a nested group start under it.
  std::map<int, int> next;
  next[-1] = bottom;
  std::map<std::pair<int, int>, int> rowTops;
  auto areaOf = [&](int group) {
    return group == -1 ? Rect{0, 0, width, 0}
                       : *tmpl.controls[static_cast<std::size_t>(group)].rect;
  };
  for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
    ControlTemplate& control = tmpl.controls[i];
    const int group = control.groupIndex;
    const bool isGroupBox = control.type == ControlType::Button &&
                            (control.style & style::kButtonTypeMask) == style::kGroupBox;
    const int index = static_cast<int>(i);
    if (!control.rect) {
      const Rect area = areaOf(group);
      const int inset = group == -1 ? kMargin : kGroupInset;
      const auto row = std::make_pair(group, control.row);
      auto known = rowTops.find(row);
      const int top = known != rowTops.end() ? known->second : next[group];
      if (known == rowTops.end()) rowTops[row] = top;
      if (isGroupBox) {
        control.rect =
            Rect{area.left + inset, top, std::max(0, area.width - 2 * inset), kGroupTitle};
        next[group] = std::max(next[group], top + kGroupTitle + kMargin);
      } else {
        const int x = control.column == 0 ? area.left + inset
                                          : area.left + inset + kLabelWidth +
                                                (control.column - 1) * (kCellWidth + kCellGap);
        const int w = control.column == 0 && control.type == ControlType::Static
                          ? kLabelWidth - kCellGap
                          : kCellWidth;
        control.rect = Rect{x, top, w, kRowHeight};
        next[group] = std::max(next[group], top + kRowStep);
      }
    }
    if (isGroupBox && next.count(index) == 0) next[index] = control.rect->top + kGroupTitle;
    // Grow the enclosing groups to hold this control, and move their parents' flows below.
    for (int g = group; g != -1; g = tmpl.controls[static_cast<std::size_t>(g)].groupIndex) {
      ControlTemplate& box = tmpl.controls[static_cast<std::size_t>(g)];
      const Rect inner = g == group ? *control.rect : Rect{};
      if (g == group) {
        const int needed = inner.Bottom() + kMargin - box.rect->top;
        if (needed > box.rect->height) box.rect->height = needed;
      }
      const int parent = box.groupIndex;
      if (parent != -1) {
        Rect& outer = *tmpl.controls[static_cast<std::size_t>(parent)].rect;
        const int needed = box.rect->Bottom() + kMargin - outer.top;
        if (needed > outer.height) outer.height = needed;
      }
      next[parent] =
          std::max(next[parent], box.rect->Bottom() + (parent == -1 ? kMargin : kCellGap));
    }
    if (group == -1) next[-1] = std::max(next[-1], control.rect->Bottom() + kMargin);
  }
  if (tmpl.rect.width <= 0) tmpl.rect.width = width;
  if (tmpl.rect.height <= 0) tmpl.rect.height = std::max(next[-1], 40);
}

}  // namespace qx::ui
