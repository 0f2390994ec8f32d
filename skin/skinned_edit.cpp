#include "skin/skinned_edit.h"

#include <memory>

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

// Text fields are skinned only with the text-field switch on.
bool AcceptsWithTextFields(HWND, LONG_PTR) {
  SkinEngine* engine = SkinEngine::Current();
  return engine && engine->Settings().textFields;
}

std::unique_ptr<ControlRecord> MakeRecord() { return std::make_unique<EditRecord>(); }

void Attached(HWND hwnd, ControlRecord&) {
  props::Set(hwnd, props::kTextColour, 0);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The border ring: as thick as the edge left of the client, so scroll bars inside it stay out.
void CopyRing(HWND hwnd, HDC target, HDC source, int width, int height) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  const int b = client.x - window.left;
  if (b <= 0) return;
  BitBlt(target, 0, 0, width, b, source, 0, 0, SRCCOPY);
  BitBlt(target, 0, height - b, width, b, source, 0, height - b, SRCCOPY);
  BitBlt(target, 0, b, b, height - 2 * b, source, 0, b, SRCCOPY);
  BitBlt(target, width - b, b, b, height - 2 * b, source, width - b, b, SRCCOPY);
}

}  // namespace

std::vector<ChildKind> EditKinds() {
  return {ChildKind{ControlKind::kEdits, "Edit", &AcceptsWithTextFields, &EditProcedure, &MakeRecord, &Attached}};
}

void DrawEditBorder(HWND hwnd) {
  SkinEngine* engine = SkinEngine::Current();
  EditRecord* record = RecordFor<EditRecord>(hwnd);
  if (!engine || !record) return;
  auto surface = engine->BackgroundBehind(hwnd, true);
  if (!surface) return;
  const auto w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
  const SkinSettings& settings = engine->Settings();
  {
    draw::Graphics graphics(surface->dc.Get());
    draw::SolidBrush veil(ToArgb(0xFFFFFF, settings.textFields ? settings.veilAlpha : 255));
    graphics.FillRectangle(veil, {0, 0, w, h});
    draw::Pen border(record->hot || record->focused ? ToArgb(settings.accent, 180) : ToArgb(0, 80), 1);
    graphics.DrawRectangle(border, {0, 0, w - 1, h - 1});
  }
  WholeWindowDc dc(hwnd);
  if (dc.Get()) CopyRing(hwnd, dc.Get(), surface->dc.Get(), surface->width, surface->height);
}

LRESULT CALLBACK EditProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  EditRecord* record = RecordFor<EditRecord>(hwnd);
  SkinEngine* engine = SkinEngine::Current();
  SkinnedWindow* window = engine ? engine->OwnerOf(hwnd) : nullptr;
  if (!record || !window) return PassOn(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCPAINT: {
      // The scroll bars are the old procedure's; the edge is ours, drawn over whatever it left.
      const LRESULT result = PassOn(hwnd, message, wParam, lParam);
      DrawEditBorder(hwnd);
      return result;
    }
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&track);
      window->hoverReset = true;
      if (!record->hot) {
        record->hot = true;
        DrawEditBorder(hwnd);
      }
      break;
    }
    case WM_MOUSELEAVE:
      record->hot = false;
      DrawEditBorder(hwnd);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = PassOn(hwnd, message, wParam, lParam);
      record->focused = message == WM_SETFOCUS;
      DrawEditBorder(hwnd);
      return result;
    }
    default:
      break;
  }
  return PassOn(hwnd, message, wParam, lParam);
}

}  // namespace skin
