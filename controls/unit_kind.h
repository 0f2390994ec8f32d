#pragma once
// The live control behind one unit of a loaded window, made by the unit's kind. The forms runtime
// creates one per unit, asks it for the kind's own properties (index minus 8) and hands it the
// notifications that may become the kind's events.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "forms/kind_data.h"
#include "forms/unit_record.h"
#include "runtime/values/value.h"
#include "runtime/values/value_cell.h"

namespace controls {

// A kind event to raise for the unit: its index (0 and up) and up to five arguments.
struct KindEvent {
  std::int32_t index = 0;
  std::int32_t argumentCount = 0;
  std::array<std::int32_t, 5> arguments{};
};

struct UnitCreateContext {
  const forms::UnitRecord& record;  // kind, geometry; a page control's child list
  const forms::KindData& data;      // the kind's settings, read by forms::ReadKindData
  HWND parent = nullptr;            // controls: the window; the window unit: its owner (may be null)
  bool popup = false;               // the window unit: created as an owned popup
  int controlId = 0;                // controls: 100, 110, ...
  DWORD commonStyle = 0;            // WS_DISABLED and WS_TABSTOP from the unit's flags
};

// The other units of the same window as they stand at the moment of the call. The runtime keeps
// it as long as the window lives, so a control may hold on to it.
class UnitLookup {
 public:
  virtual ~UnitLookup() = default;
  // The unit's live window; null when it has none (yet).
  virtual HWND Handle(forms::UnitId id) const = 0;
  // The child list the record of the unit behind `window` holds now (a page control's pages,
  // separated by 0).
  virtual std::vector<forms::UnitId> Children(HWND window) const = 0;
  // Whether the unit's record marks it visible.
  virtual bool MarkedVisible(forms::UnitId id) const = 0;
};

class UnitControl {
 public:
  virtual ~UnitControl() = default;
  // The unit's window; null for a unit without one (the common dialog). Controls destroy their
  // window with themselves; the window unit's window is left to its owner (the runtime).
  virtual HWND Handle() const = 0;

  // Kind property `kindIndex` (= property index - 8) as a new value. False: no such property.
  virtual bool ReadProperty(int kindIndex, runtime::Value& value) = 0;
  // The value arrives converted by the property's declared type; texts and byte sets borrowed.
  // Recreate: the value is kept, but only a new control shows it (see CurrentData).
  enum class WriteOutcome { Done, Unknown, Recreate };
  virtual WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) = 0;

  // A notification this control sent its parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL).
  virtual std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // A message sent to the control itself (a label's 0x8075, a combo box's settled selection).
  virtual std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // True when the focused control needs the key itself (Esc and Enter in an open drop-down list).
  virtual bool ClaimsKey(UINT virtualKey) = 0;
  // Every unit of the window exists (a button finds its parent, the page control its pages).
  virtual void AllUnitsCreated(const UnitLookup& lookup) = 0;
  // The kind's settings as they stand now, to create the unit anew in place.
  virtual forms::KindData CurrentData() const = 0;
};

// Null when the kind has no control here or creating the window failed.
std::unique_ptr<UnitControl> CreateUnitControl(const UnitCreateContext& context);

// Messages the kinds use among themselves.
inline constexpr UINT kFeedbackMessage = 0x8075;        // to a label: raises Feedback
inline constexpr UINT kSelectionSettledMessage = 0x8F01; // a combo box posts it to itself

}  // namespace controls
