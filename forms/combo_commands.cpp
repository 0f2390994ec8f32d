#include "forms/combo_commands.h"

#include <windows.h>

#include <cstring>

#include "forms/forms_runtime_win.h"

namespace forms {
namespace {

HWND ComboOf(const runtime::UnitRef& combo) {
  return FormsRuntime::Instance().UnitHandle(static_cast<WindowId>(combo.window_id),
                                             static_cast<UnitId>(combo.unit_id));
}

bool InRange(HWND box, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(SendMessageA(box, CB_GETCOUNT, 0, 0));
}

}  // namespace

std::int32_t ComboCount(const runtime::UnitRef& combo) {
  HWND box = ComboOf(combo);
  if (!box) return 0;
  const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<std::int32_t>(count);
}

std::int32_t ComboItemValue(const runtime::UnitRef& combo, std::int32_t index) {
  HWND box = ComboOf(combo);
  if (!box || !InRange(box, index)) return -1;
  // Values are 32-bit: the upper half of the item data is never set here.
  return static_cast<std::int32_t>(SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool SetComboItemValue(const runtime::UnitRef& combo, std::int32_t index, std::int32_t value) {
  HWND box = ComboOf(combo);
  if (!box) return false;
  return SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value)) != CB_ERR;
}

std::string ComboItemText(const runtime::UnitRef& combo, std::int32_t index) {
  HWND box = ComboOf(combo);
  if (!box || !InRange(box, index)) return {};
  const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  if (copied < 0) return {};
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::int32_t AddComboItem(const runtime::UnitRef& combo, std::string_view text, std::int32_t value) {
  HWND box = ComboOf(combo);
  if (!box) return -1;
  const std::string item(text);
  const LRESULT at = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (at < 0) return -1;
  SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(value));
  return static_cast<std::int32_t>(at);
}

}  // namespace forms
