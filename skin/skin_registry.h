#pragma once
// The skinned top-level windows, indexed from 1 as their "Hw_lbID" says.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "skin/skinned_window.h"

namespace skin {

class SkinRegistry {
 public:
  std::size_t Count() const { return windows_.size(); }
  // Null for 0 or an index past the end.
  SkinnedWindow* At(std::size_t index) const;
  // 0 when the window is not in the registry.
  std::size_t IndexOf(HWND hwnd) const;
  // The first window in the registry found walking up from the control's parent; 0 when none.
  std::size_t OwningIndex(HWND control) const;
  // Returns the new entry's index.
  std::size_t Append(std::unique_ptr<SkinnedWindow> window);
  // Removes the entry and renumbers the windows and controls after it.
  void Remove(std::size_t index);
  void Clear() { windows_.clear(); }

 private:
  std::vector<std::unique_ptr<SkinnedWindow>> windows_;
};

// Writes every window's and control's index properties again (after a removal).
void Renumber(const SkinRegistry& registry);

}  // namespace skin
