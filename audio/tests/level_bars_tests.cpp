// Spectrum bars and their falling peak marks, drawn into a bitmap the test reads back.
#include "audio/level_bars.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace audio {
namespace {

constexpr int kWidth = 256, kHeight = 100;
constexpr COLORREF kBar = RGB(0, 200, 80), kPeak = RGB(255, 255, 255), kBackground = RGB(0, 0, 0);

// A top-down 32-bit bitmap selected into a memory DC.
struct Canvas {
  Canvas() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    previous = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    std::uint32_t p = pixels[y * kWidth + x];  // 0x00RRGGBB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  std::uint32_t* pixels = nullptr;
};

TEST(SpectrumDrawing, BarsRiseWithTheMagnitudeAndPeaksFallBehindThem) {
  Canvas canvas;
  ASSERT_NE(canvas.pixels, nullptr);
  const RECT area{0, 0, kWidth, kHeight};
  std::array<float, 128> bins{};
  bins[5] = 1.0f;    // full height
  bins[40] = 0.25f;  // square root: half height
  SpectrumPeaks peaks{};
  SpectrumLook look;  // 3 px bars, 1 px apart: bar i starts at x = 4 i
  DrawSpectrumBars(canvas.dc, area, bins, peaks, look);

  EXPECT_EQ(canvas.At(4 * 5 + 1, kHeight - 1), kBar);
  EXPECT_EQ(canvas.At(4 * 5 + 1, 1), kBar);
  EXPECT_EQ(canvas.At(4 * 5 + 3, kHeight - 1), kBackground) << "the gap between bars";
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 1), kBar);
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 45), kBar);
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 50), kPeak) << "the mark on top of the bar";
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 55), kBackground);
  EXPECT_EQ(canvas.At(4 * 10 + 1, kHeight - 1), kBackground) << "a silent bin";
  EXPECT_EQ(peaks[40], 50);

  // The sound stops: bars vanish, the marks sink by a few pixels per drawing.
  bins.fill(0.0f);
  DrawSpectrumBars(canvas.dc, area, bins, peaks, look);
  DrawSpectrumBars(canvas.dc, area, bins, peaks, look);
  EXPECT_EQ(peaks[40], 50 - 2 * kPeakFallPixels);
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 1), kBackground);
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - peaks[40]), kPeak);
  EXPECT_EQ(canvas.At(4 * 40 + 1, kHeight - 50), kBackground);

  // Only the bars that fit are drawn: 256 px hold 64 of them.
  bins.fill(1.0f);
  peaks.fill(0);
  DrawSpectrumBars(canvas.dc, area, bins, peaks, look);
  EXPECT_EQ(peaks[63], kHeight);
  EXPECT_EQ(peaks[64], 0);
}

}  // namespace
}  // namespace audio
