// PicBox: painted by the runtime itself: its back colour, then the picture in its display mode.
#include "controls/picture.h"
#include "controls/picture_fit.h"
#include "controls/win_support.h"

namespace controls {
namespace {

class PictureBox final : public ChildControl, public Painter {
 public:
  PictureBox(HWND window, forms::PicBoxData data)
      : ChildControl(window), data_(std::move(data)), brush_(CreateSolidBrush(ShownColour(data_.backColor))),
        picture_(DecodePicture(data_.picture)) {}
  ~PictureBox() override { SetPainter(window_, nullptr); }

  void Finish() {
    ApplyBorderStyle(window_, data_.borderStyle);
    SetPainter(window_, this);
  }

  void Paint(HDC dc, const RECT& update) override {
    RECT client;
    GetClientRect(window_, &client);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, update.left, update.top, update.right, update.bottom);
    FillRect(dc, &client, brush_.Get());
    if (picture_) {
      const SIZE size = picture_->Size();
      const PlacedRect at = PlacePicture(data_.displayMode, client.right, client.bottom, size.cx, size.cy);
      const RECT target{at.left, at.top, at.left + at.width, at.top + at.height};
      picture_->Draw(dc, target);
    }
    RestoreDC(dc, saved);
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    switch (kindIndex) {
      case 0: value = IntegerValue(static_cast<std::int32_t>(data_.borderStyle)); return true;
      case 1: value = IntegerValue(static_cast<std::int32_t>(data_.backColor)); return true;
      case 2: value = BytesResult(data_.picture); return true;
      case 3: value = IntegerValue(static_cast<std::int32_t>(data_.displayMode)); return true;
      case 4: value = BoolValue(data_.property12 == 1); return true;
      case 5: value = TextResult(data_.property13); return true;
      case 6: value = TextResult(data_.property14); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    switch (kindIndex) {
      case 0:
        data_.borderStyle = value.low;
        ApplyBorderStyle(window_, data_.borderStyle);
        break;
      case 1:
        data_.backColor = value.low;
        brush_.Reset(CreateSolidBrush(ShownColour(data_.backColor)));
        break;
      case 2:
        data_.picture = BytesOf(value);
        picture_ = DecodePicture(data_.picture);
        break;
      case 3: data_.displayMode = value.low; break;
      case 4: data_.property12 = value.low; break;
      case 5: data_.property13 = TextOf(value); break;
      case 6: data_.property14 = TextOf(value); break;
      default: return WriteOutcome::Unknown;
    }
    InvalidateRect(window_, nullptr, FALSE);
    return WriteOutcome::Done;
  }

  forms::KindData CurrentData() const override { return data_; }

 private:
  forms::PicBoxData data_;
  GdiObject<HBRUSH> brush_;
  std::unique_ptr<Picture> picture_;
};

}  // namespace

std::unique_ptr<UnitControl> CreatePictureBox(const UnitCreateContext& context) {
  if (!RegisterPaintedClass()) return nullptr;
  forms::PicBoxData data = DataOf<forms::PicBoxData>(context);
  HWND window = CreateChild(kPaintedClass, "", 0, context);
  if (!window) return nullptr;
  auto box = std::make_unique<PictureBox>(window, std::move(data));
  box->Finish();
  return box;
}

}  // namespace controls
