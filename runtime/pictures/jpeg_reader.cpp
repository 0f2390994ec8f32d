#include "runtime/pictures/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace pictures {
namespace {

struct ErrorManager {
  jpeg_error_mgr standard;
  std::jmp_buf back;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1);
}

void Quiet(j_common_ptr) {}

// Every local of this frame is trivial, so the jump back skips no destructor; the pixel
// vector belongs to the caller. Returns false for anything the decoder refused.
bool Decompress(jpeg_decompress_struct& info, ErrorManager& errors, Bytes d, PixelPicture& out) {
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = JumpBack;
  errors.standard.output_message = Quiet;
  if (setjmp(errors.back)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, d.data(), static_cast<unsigned long>(d.size()));
  jpeg_read_header(&info, TRUE);
  if (info.num_components == 3) {
    info.out_color_space = JCS_RGB;
  } else if (info.num_components == 1) {
    info.out_color_space = JCS_GRAYSCALE;
  } else {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const std::int64_t pixels = std::int64_t{info.image_width} * info.image_height;
  if (pixels == 0 || pixels > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  const JDIMENSION width = info.output_width;
  const JDIMENSION height = info.output_height;
  const int components = info.output_components;
  out.width = static_cast<std::int32_t>(width);
  out.height = static_cast<std::int32_t>(height);
  out.pixels.resize(std::size_t{width} * height * 3);
  // The scanline buffer comes from the decompressor's pool, freed with it.
  JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              width * components, 1);
  while (info.output_scanline < height) {
    const JDIMENSION y = info.output_scanline;
    if (jpeg_read_scanlines(&info, line, 1) != 1) break;
    // Bottom-up, blue-green-red.
    std::uint8_t* o = out.pixels.data() + std::size_t{height - 1 - y} * width * 3;
    const JSAMPLE* s = line[0];
    for (JDIMENSION x = 0; x < width; ++x, o += 3) {
      if (components == 3) {
        o[0] = s[3 * x + 2];
        o[1] = s[3 * x + 1];
        o[2] = s[3 * x];
      } else {
        o[0] = o[1] = o[2] = s[x];
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<PixelPicture> DecodeJpeg(Bytes d) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  PixelPicture out{PictureKind::Jpeg, 0, 0, {}};
  if (!Decompress(info, errors, d, out)) return std::nullopt;
  return out;
}

}  // namespace pictures
