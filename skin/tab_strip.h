#pragma once
// The category strip: a plain label turned into a row of clickable tabs over the window's
// background. The program is told which tab was chosen; it shows the page itself.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/values/byte_set.h"
#include "skin/gdi_handles.h"
#include "skin/tab_layout.h"

namespace skin {

struct TabItem {
  TabRect rect;
  int index = 0;
  std::string text;  // in the program's code page
  runtime::ByteSet picture;  // kept; the board's tabs have none and nothing draws it yet
  COLORREF textColour = 0;
  bool pressed = false;
  bool hot = false;
  bool selected = false;
};

class TabStrip {
 public:
  TabStrip() = default;
  ~TabStrip();
  TabStrip(const TabStrip&) = delete;
  TabStrip& operator=(const TabStrip&) = delete;

  // style: 1 no outline, 2 rounded at the top, 3 rounded all round. The selection style is taken
  // and changes nothing: the selected tab has one look.
  void AttachTabStrip(HWND hwnd, std::optional<int> tabWidth = {}, std::optional<int> selectionStyle = {},
                      std::optional<int> style = {}, std::optional<bool> clickable = {},
                      std::optional<COLORREF> tintColour = {}, std::optional<int> tintAlpha = {},
                      std::optional<COLORREF> fillColour = {});
  void AddTab(std::string text, runtime::ByteSetRef picture = {}, std::optional<COLORREF> textColour = {});
  void SetTabHandler(std::function<void(int)> handler) { onSelect_ = std::move(handler); }

  HWND Window() const { return hwnd_; }
  const std::vector<TabItem>& Items() const { return items_; }
  int BarWidth() const { return layout_.BarWidth(); }
  int SelectedItem() const { return selectedItem_; }
  int HotItem() const { return hotItem_; }
  // How many single tabs were drawn since the strip was attached (full draws included).
  int TabsDrawn() const { return tabsDrawn_; }

  LRESULT Message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Detach();
  TabItem* Item(int index) { return index >= 1 && index <= static_cast<int>(items_.size()) ? &items_[index - 1] : nullptr; }
  // Background, outline, gloss and separators into the base; the tabs over it into the cache.
  void FullDraw();
  void DrawTab(TabItem& item);
  // Draws one tab into the cache and puts it on screen.
  void RedrawTab(int index);
  void CopyToScreen(HDC dc, const RECT& area) const;

  HWND hwnd_ = nullptr;
  WNDPROC oldProc_ = nullptr;
  int style_ = 3;
  bool clickable_ = true;
  COLORREF tintColour_ = 0xDDCA22;
  int tintAlpha_ = 160;
  COLORREF fillColour_ = 0;
  TabLayout layout_;
  std::vector<TabItem> items_;
  int hotItem_ = 0;
  int selectedItem_ = 0;
  int mouseItem_ = 0;
  bool needsFullDraw_ = true;
  int tabsDrawn_ = 0;
  std::function<void(int)> onSelect_;
  std::unique_ptr<OffscreenSurface> base_;   // the strip without its tabs' looks
  std::unique_ptr<OffscreenSurface> cache_;  // the strip as on screen
};

LRESULT CALLBACK TabStripProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
