// The cross-built decoders read the pictures and sounds the build makes with the host's tools.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C" {
#include <jpeglib.h>
#include <mpg123.h>
}

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

struct Picture {
  unsigned width = 0, height = 0, components = 0;
  std::vector<unsigned char> pixels;
};

Picture DecodeJpeg(const char* path) {
  File file(std::fopen(path, "rb"));
  if (!file) return {};
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  Picture picture{info.output_width, info.output_height, unsigned(info.output_components), {}};
  picture.pixels.resize(size_t(picture.width) * picture.height * picture.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &picture.pixels[size_t(info.output_scanline) * picture.width * picture.components];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return picture;
}

TEST(CrossBuiltLibraries, JpegDecodesToTheSizeAndColoursItWasMadeWith) {
  Picture picture = DecodeJpeg("gradient.jpg");
  ASSERT_EQ(picture.width, 37u);
  ASSERT_EQ(picture.height, 23u);
  ASSERT_EQ(picture.components, 3u);
  auto pixel = [&](unsigned x, unsigned y) { return &picture.pixels[(y * picture.width + x) * 3]; };
  const unsigned char* left = pixel(0, 11);
  const unsigned char* right = pixel(36, 11);
  EXPECT_GT(left[0], 200);   // red
  EXPECT_LT(left[2], 60);
  EXPECT_LT(right[0], 60);   // blue
  EXPECT_GT(right[2], 200);
}

struct Handle {
  void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};

TEST(CrossBuiltLibraries, Mp3DecodesToTheToneItWasMadeFrom) {
  ASSERT_EQ(mpg123_init(), MPG123_OK);
  int error = 0;
  std::unique_ptr<mpg123_handle, Handle> decoder(mpg123_new(nullptr, &error));
  ASSERT_TRUE(decoder) << error;
  ASSERT_EQ(mpg123_open(decoder.get(), "tone.mp3"), MPG123_OK);
  long rate = 0;
  int channels = 0, encoding = 0;
  ASSERT_EQ(mpg123_getformat(decoder.get(), &rate, &channels, &encoding), MPG123_OK);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 1);
  ASSERT_EQ(encoding, MPG123_ENC_SIGNED_16);

  std::vector<short> samples;
  unsigned char buffer[8192];
  size_t done = 0;
  int result;
  while ((result = mpg123_read(decoder.get(), buffer, sizeof buffer, &done)) == MPG123_OK ||
         result == MPG123_NEW_FORMAT || done > 0) {
    const short* s = reinterpret_cast<const short*>(buffer);
    samples.insert(samples.end(), s, s + done / 2);
    if (result == MPG123_DONE) break;
  }
  mpg123_close(decoder.get());

  // Gapless decoding drops the encoder's delay and padding: the tone's own 22050 samples remain.
  EXPECT_NEAR(double(samples.size()), 22050.0, 1152.0);
  ASSERT_GT(samples.size(), 20000u);

  // 1 kHz over the middle 0.4 s: about 800 sign changes, and the level the tone was made with.
  int crossings = 0;
  double energy = 0;
  const size_t begin = 2205, end = begin + 17640;
  for (size_t i = begin; i < end; ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    energy += double(samples[i]) * samples[i];
  }
  EXPECT_NEAR(crossings, 800, 8);
  double rms = std::sqrt(energy / double(end - begin)) / 32768.0;
  EXPECT_NEAR(rms, 0.5 / std::sqrt(2.0), 0.03);
}

}  // namespace
