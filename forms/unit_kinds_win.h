#pragma once
// The forms runtime's view of a unit kind: it makes the live control of one unit and speaks for
// it in the kind's own terms (kind properties, kind events, keys it needs itself).
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "forms/kind_data.h"
#include "forms/unit_record.h"
#include "runtime/values/value.h"

namespace forms {

struct KindEvent {
  std::int32_t index = 0;
  std::int32_t argumentCount = 0;
  std::array<std::int32_t, 5> arguments{};
};

struct UnitCreateContext {
  const UnitRecord& record;
  const KindData& data;
  HWND parent = nullptr;  // controls: the window; the window unit: its owner (may be null)
  bool popup = false;     // the window unit: created as an owned popup
  int controlId = 0;
  DWORD commonStyle = 0;  // WS_DISABLED and WS_TABSTOP from the unit's flags
};

// Finds the live window of a unit of the same window once all of them exist.
using UnitHandleLookup = std::function<HWND(UnitId)>;

class UnitControl {
 public:
  virtual ~UnitControl() = default;
  // Null for a unit that has no window (the common dialog).
  virtual HWND Handle() const = 0;

  // Kind properties by index minus 8. False: the kind has no such property.
  virtual bool ReadProperty(int kindIndex, runtime::Value& value) = 0;
  // Texts and byte sets arrive borrowed in the cell.
  enum class WriteOutcome { Done, Unknown, Recreate };
  virtual WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) = 0;

  // Notifications the control sends its parent (WM_COMMAND, WM_NOTIFY, scrolling) and messages
  // sent to the control itself, as kind events.
  virtual std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Keys the focused control needs itself (Esc and Enter in an open drop-down list).
  virtual bool ClaimsKey(UINT virtualKey) = 0;
  // Every unit of the window exists.
  virtual void AllUnitsCreated(const UnitHandleLookup& lookup) = 0;
  // The kind's settings as they stand now, for making the control again in place after a
  // setting that only creation can apply was written.
  virtual KindData CurrentData() const = 0;
};

// Null when the kind cannot be created or creation failed.
std::unique_ptr<UnitControl> CreateUnitControl(const UnitCreateContext& context);

}  // namespace forms
