#pragma once
// The small integers the skin keeps on windows: the only way from a window handle to its record.
// A property that was never set reads 0.
#include <windows.h>

#include <cstdint>
#include <unordered_map>

namespace skin::props {

inline constexpr char kIndex[] = "Hw_lbID";          // registry index (window) / kind-array index (control)
inline constexpr char kOwner[] = "Hw_FuID";          // registry index of the owning window
inline constexpr char kOldProc[] = "Hw_hProc";       // the window procedure before subclassing
inline constexpr char kLabelIndex[] = "Kj_lbID";
inline constexpr char kLabelOwner[] = "Kj_FuID";
inline constexpr char kLabelOldProc[] = "Kj_hProc";
inline constexpr char kTextColour[] = "Kj_Ztys";
inline constexpr char kBackgroundBrush[] = "Kj_dxjb";
inline constexpr char kBackgroundBitmap[] = "Kj_wtjb";
inline constexpr char kOriginalBitmap[] = "Ck_Ycjdx";
inline constexpr char kComposedBitmap[] = "Ck_wtjbdx";
inline constexpr char kContainer[] = "Mb_zpf";
inline constexpr char kIsContainer[] = "Wxk_Zpf";
inline constexpr char kContainerLayer[] = "Wxk_Cj";

// The name as its global atom, found once per name: looking a property up by its text asks the
// system for the atom every time, and the skin reads these on every message of every control.
inline LPCSTR Key(const char* name) {
  static std::unordered_map<const char*, ATOM> atoms;  // by the names above, one object each
  ATOM& atom = atoms[name];
  if (atom == 0) atom = GlobalAddAtomA(name);
  return atom != 0 ? MAKEINTATOM(atom) : name;
}

inline std::intptr_t Get(HWND window, const char* name) {
  return reinterpret_cast<std::intptr_t>(GetPropA(window, Key(name)));
}
inline void Set(HWND window, const char* name, std::intptr_t value) {
  SetPropA(window, Key(name), reinterpret_cast<HANDLE>(value));
}

}  // namespace skin::props
