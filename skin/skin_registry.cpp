#include "skin/skin_registry.h"

#include "skin/window_properties.h"

namespace skin {

SkinnedWindow* SkinRegistry::At(std::size_t index) const {
  if (index < 1 || index > windows_.size()) return nullptr;
  return windows_[index - 1].get();
}

std::size_t SkinRegistry::IndexOf(HWND hwnd) const {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i]->hwnd == hwnd) return i + 1;
  }
  return 0;
}

std::size_t SkinRegistry::OwningIndex(HWND control) const {
  for (HWND up = GetParent(control); up; up = GetParent(up)) {
    if (const std::size_t index = IndexOf(up)) return index;
  }
  return 0;
}

std::size_t SkinRegistry::Append(std::unique_ptr<SkinnedWindow> window) {
  windows_.push_back(std::move(window));
  return windows_.size();
}

void SkinRegistry::Remove(std::size_t index) {
  if (index < 1 || index > windows_.size()) return;
  windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(index - 1));
  Renumber(*this);
}

void Renumber(const SkinRegistry& registry) {
  for (std::size_t i = 1; i <= registry.Count(); ++i) {
    SkinnedWindow* window = registry.At(i);
    props::Set(window->hwnd, props::kIndex, static_cast<std::intptr_t>(i));
    for (std::size_t kind = 0; kind < kControlKindCount; ++kind) {
      const bool label = kind == static_cast<std::size_t>(ControlKind::kTransparentLabels);
      for (const auto& control : window->kinds[kind]) {
        props::Set(control->hwnd, label ? props::kLabelOwner : props::kOwner, static_cast<std::intptr_t>(i));
      }
    }
  }
}

}  // namespace skin
