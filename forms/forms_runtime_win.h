#pragma once
// The forms runtime: loads windows from their definitions, keeps their live units, raises the
// units' events and answers property access. Application code names windows and units by id.
//
//   forms::FormsRuntime::Instance().Install(runtime::RuntimeApp::Instance(), kBoardHandlers);
//
// before the runtime is initialised: the carried resource is then read against the handler
// table, and LoadStartWindow, idle events and the quit rule go through this object.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "forms/event_dispatch.h"
#include "forms/unit_kinds_win.h"
#include "forms/window_menu.h"
#include "forms/window_definitions.h"
#include "runtime/runtime_app.h"
#include "runtime/values/value.h"

namespace forms {

inline constexpr char kWindowNotLoadedForAccess[] = "未载入欲访问窗口组件所在的窗口";
inline constexpr char kWindowNotLoaded[] = "指定窗口尚未载入";

class FormsRuntime {
 public:
  static FormsRuntime& Instance();

  // Plugs the forms runtime into the runtime's hooks; the resource's handler offsets are
  // entries of `handlers`.
  void Install(runtime::RuntimeApp& app, std::span<const EventHandler> handlers);

  // Loads a window (owner 0: none). True when the window exists afterwards; a modal load
  // returns once the window has closed.
  bool LoadWindow(WindowId window, WindowId owner, bool modal);
  // Closes a loaded window after the calling handler has returned, or before this call returns.
  void CloseWindow(WindowId window, bool atOnce = false);

  bool IsLoaded(WindowId window) const;
  HWND WindowHandle(WindowId window) const;
  // Null when the window is not loaded or the unit has no window of its own.
  HWND UnitHandle(WindowId window, UnitId unit) const;

  runtime::Value ReadProperty(WindowId window, UnitId unit, int property);
  // Texts and byte sets are borrowed from the cell.
  void WriteProperty(WindowId window, UnitId unit, int property, const runtime::ValueCell& value);

  // Makes the control of a unit appended to a loaded window's definition, placed under `parent`
  // (null: the window). False when the window is not loaded or the control cannot be made.
  bool CreateAddedUnit(WindowId window, UnitId unit, HWND parent);
  // Destroys a control unit's control and takes the unit out of its window's definition and out
  // of its container's children.
  void RemoveUnit(WindowId window, UnitId unit);

  // Raises an event for a unit of a loaded window; true when a handler returned a result.
  bool Raise(EventRecord& event);

  WindowDefinitions& Definitions() { return ProcessWindowDefinitions(); }
  std::vector<WindowId> LoadedWindows() const;
  bool AnyWindowAlive() const;
  // Destroys every live window (the end sequence, tests).
  void DestroyAllWindows();

 private:
  struct OwnedCursor {
    HCURSOR cursor = nullptr;
    bool owned = false;
    OwnedCursor() = default;
    OwnedCursor(OwnedCursor&& other) noexcept : cursor(other.cursor), owned(other.owned) {
      other.cursor = nullptr;
      other.owned = false;
    }
    OwnedCursor& operator=(OwnedCursor&& other) noexcept {
      if (this != &other) {
        Reset(other.cursor, other.owned);
        other.cursor = nullptr;
        other.owned = false;
      }
      return *this;
    }
    ~OwnedCursor() { Reset(); }
    void Reset(HCURSOR next = nullptr, bool nextOwned = false) {
      if (cursor && owned) DestroyCursor(cursor);
      cursor = next;
      owned = nextOwned;
    }
  };
  // The window's menu until the window takes it over, and its accelerators.
  struct OwnedMenu {
    HMENU menu = nullptr;
    HWND window = nullptr;  // the menu goes with this window once it is set on it
    OwnedMenu() = default;
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;
    ~OwnedMenu() { Reset(); }
    void Reset(HMENU next = nullptr) {
      if (menu && !(window && IsWindow(window) && GetMenu(window) == menu)) DestroyMenu(menu);
      menu = next;
    }
  };
  struct OwnedAccelerators {
    HACCEL table = nullptr;
    OwnedAccelerators() = default;
    OwnedAccelerators(const OwnedAccelerators&) = delete;
    OwnedAccelerators& operator=(const OwnedAccelerators&) = delete;
    ~OwnedAccelerators() { Reset(); }
    void Reset(HACCEL next = nullptr) {
      if (table) DestroyAcceleratorTable(table);
      table = next;
    }
  };
  struct LiveUnit {
    std::unique_ptr<UnitControl> control;
    HWND handle = nullptr;
    OwnedCursor cursor;
  };
  // The window's units for its controls, read at each call from the record and the live units.
  class WindowUnits final : public UnitLookup {
   public:
    WindowUnits(const FormsRuntime& runtime, WindowId window) : runtime_(runtime), window_(window) {}
    HWND Handle(UnitId unit) const override;
    std::vector<UnitId> Children(HWND unitWindow) const override;
    bool MarkedVisible(UnitId unit) const override;

   private:
    const FormsRuntime& runtime_;
    WindowId window_;
  };
  struct LiveWindow {
    LiveWindow(const FormsRuntime& runtime, WindowId window) : id(window), lookup(runtime, window) {}
    WindowId id = 0;
    WindowUnits lookup;
    HWND handle = nullptr;
    std::vector<LiveUnit> units;  // by index in the unit list
    bool loading = true;
    bool closing = false;
    bool showing = false;
    bool modal = false;
    std::vector<std::pair<HWND, bool>> disabledOthers;
    std::vector<MenuEntry> menuEntries;
    OwnedMenu menu;
    OwnedAccelerators accelerators;
  };
  struct Location {
    WindowId window = 0;
    std::size_t index = 0;
  };

  static LRESULT CALLBACK UnitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT HandleUnitMessage(HWND handle, const Location& at, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleWindowMessage(LiveWindow& live, UINT message, WPARAM wParam, LPARAM lParam, bool& done);
  // The window's keys (Esc, Enter, F1, Tab) unless the focused unit claims the key; true when
  // the key goes no further.
  bool HandleKey(LiveWindow& live, UnitControl* focused, UINT key);
  bool PreTranslate(WindowId id, MSG& message);
  std::vector<HWND> FocusOrder(const LiveWindow& live) const;
  void MoveFocus(LiveWindow& live, bool forward);
  void Destroyed(HWND handle, const Location& at);

  HWND CreateWindowUnits(WindowRecord& record, LiveWindow& live, HWND owner, bool modal);
  void ShowLoadedWindow(LiveWindow& live);
  bool CreateUnit(WindowRecord& record, LiveWindow& live, std::size_t index, HWND parent,
                  bool popup, int controlId);
  void Attach(LiveWindow& live, std::size_t index);
  void LoadCursor(LiveWindow& live, std::size_t index);
  void Recreate(WindowRecord& record, LiveWindow& live, std::size_t index);
  void BuildMenu(const WindowRecord& record, LiveWindow& live);
  void SetMenuOnWindow(LiveWindow& live);
  void ChooseMenuCommand(LiveWindow& live, WORD command);
  void RunModal(LiveWindow& live);
  void EnableOthers(LiveWindow& live);
  void DrainMessages();

  LiveWindow* Live(WindowId window);
  const LiveWindow* Live(WindowId window) const;
  const Location* Find(HWND handle) const;
  WindowRecord& RecordOf(WindowId window);
  std::size_t IndexOf(WindowRecord& record, UnitId unit);
  bool RaiseFor(LiveWindow& live, std::size_t index, std::int32_t event,
                std::initializer_list<std::int32_t> arguments, std::int32_t* result = nullptr);

  runtime::RuntimeApp* app_ = nullptr;
  UnitKindFactory createUnit_ = &controls::CreateUnitControl;
  std::map<WindowId, std::unique_ptr<LiveWindow>> live_;
  std::unordered_map<HWND, Location> byHandle_;
};

}  // namespace forms
