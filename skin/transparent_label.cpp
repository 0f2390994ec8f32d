#include "skin/transparent_label.h"

#include "skin/skin_engine.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

bool ClassIs(HWND hwnd, const char* name) {
  char found[32] = {};
  GetClassNameA(hwnd, found, sizeof found);
  return lstrcmpiA(found, name) == 0;
}

LRESULT PassOnToLabel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallStoredProcedure(hwnd, message, wParam, lParam, props::kLabelOldProc);
}

// Controls that only draw themselves right inside BeginPaint; plain labels draw on any DC.
bool PaintsInsideBeginPaint(HWND hwnd) {
  for (const char* name : {"SysMonthCal32", "SysTabControl32", "ToolbarWindow32", "msctls_statusbar32", "Button",
                           "msctls_trackbar32"}) {
    if (ClassIs(hwnd, name)) return true;
  }
  return false;
}

// The label's own look, drawn off screen through its old procedure.
void CaptureOwnPixels(HWND hwnd, HDC target, int width, int height) {
  RECT client{0, 0, width, height};
  FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
  PassOnToLabel(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT | PRF_ERASEBKGND);
}

void InvalidateVisibleChildren(HWND hwnd) {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
  }
}

// Background first, then the label's pixels over it without its key colour; one copy to dc.
bool Compose(SkinEngine& engine, const LabelRecord& record, HDC dc) {
  auto surface = engine.BackgroundBehind(record.hwnd);
  if (!surface) return false;
  OffscreenSurface own(surface->width, surface->height);
  if (!own.bits) return false;
  CaptureOwnPixels(record.hwnd, own.dc.Get(), own.width, own.height);
  TransparentBlt(surface->dc.Get(), 0, 0, own.width, own.height, own.dc.Get(), 0, 0, own.width, own.height,
                 record.keyColour);
  BitBlt(dc, 0, 0, surface->width, surface->height, surface->dc.Get(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace

LRESULT CALLBACK LabelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinEngine* engine = SkinEngine::Current();
  auto* record = engine ? static_cast<LabelRecord*>(engine->RecordOf(hwnd, ControlKind::kTransparentLabels)) : nullptr;
  if (!record) return PassOnToLabel(hwnd, message, wParam, lParam);

  switch (message) {
    case WM_MOVE:
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_PAINT: {
      if (!engine->Settings().skinChildren) break;
      bool painted = false;
      if (PaintsInsideBeginPaint(hwnd)) {
        PaintScope paint(hwnd);
        painted = Compose(*engine, *record, paint.Get());
      } else {
        // Plain labels: drawn whole on their window DC, the update area taken as painted.
        ValidateRect(hwnd, nullptr);
        WindowDc dc(hwnd);
        painted = dc.Get() && Compose(*engine, *record, dc.Get());
      }
      if (!painted) {
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
      }
      InvalidateVisibleChildren(hwnd);
      return 0;
    }
    case WM_SETTEXT: {
      // The label repaints only what it thinks changed: a new text needs the whole composition.
      const LRESULT result = PassOnToLabel(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_NCPAINT:
    case WM_LBUTTONDOWN:
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (ClassIs(hwnd, "RichEdit20A")) InvalidateRect(hwnd, nullptr, FALSE);
      break;
    default:
      break;
  }
  return PassOnToLabel(hwnd, message, wParam, lParam);
}

}  // namespace skin
