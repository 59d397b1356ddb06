#pragma once

#include <string>
#include <vector>

namespace qx {

// One item of a feature list: the text the operator sees and the camera value it stands for.
struct ListItemValue {
  std::string text;
  int value = 0;
};

// The items of one or more lists that offer the same choices.
struct ListDefinition {
  std::vector<int> controlIds;
  std::vector<ListItemValue> items;
};

// Every feature list with its items in order and the value each item stands for. Lists whose
// values are plain positions carry their index. Lists rebuilt by page rules (pixel format,
// white balance, sequence mode, test pattern, shading mode) list their fullest contents here.
const std::vector<ListDefinition>& FeatureLists();

// Null when the control is no feature list.
const ListDefinition* FindListDefinition(int controlId);

}  // namespace qx
