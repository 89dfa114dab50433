#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <cstdlib>

#include <jpeglib.h>

#include "image_encoders.h"

namespace {

struct ErrorExit {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

// libjpeg's default handler ends the process; this one returns to encodeJpeg instead.
[[noreturn]] void leaveOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1);
}

struct MemoryOutput {
  unsigned char* data = nullptr;
  unsigned long size = 0;
  ~MemoryOutput() { std::free(data); }
};

}  // namespace

std::string encodeJpeg(const PixelImage& image, int quality) {
  jpeg_compress_struct info{};
  ErrorExit errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = leaveOnError;
  MemoryOutput output;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &output.data, &output.size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  // X pixels are 0x00RRGGBB words, in memory B, G, R, X: libjpeg-turbo reads that layout as is.
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.density_unit = 1;  // dots per inch
  info.X_density = 96;
  info.Y_density = 96;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(image.row(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::string(reinterpret_cast<const char*>(output.data), output.size);
}
