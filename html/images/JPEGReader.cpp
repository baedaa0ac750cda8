#include "html/images/JPEGReader.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void ErrorExit(j_common_ptr cinfo)
{
  std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1);
}

void Silent(j_common_ptr)
{
}

// Progressive files can ask for endless scans; a real one needs far fewer.
void LimitScans(j_common_ptr cinfo)
{
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->is_decompressor && d->input_scan_number > 200)
    ErrorExit(cinfo);
}

TPalette GreyRamp()
{
  TPalette ramp(256);
  for (int i = 0; i < 256; ++i)
    ramp[i] = qRgb(i, i, i);
  return ramp;
}

struct TJpegJob {
  jpeg_decompress_struct Info;
  TJpegError Error;
  jpeg_progress_mgr Progress;
  bool Cmyk = false;
  bool Indexed = false;
};

// The setjmp frames below hold no objects with destructors, so a jump leaks nothing.
bool StartDecode(TJpegJob& job, const uint8_t* data, size_t size, int displayBits,
                 const TPalette& palette)
{
  jpeg_decompress_struct& d = job.Info;
  if (setjmp(job.Error.Jump))
    return false;
  jpeg_mem_src(&d, data, (unsigned long)size);
  jpeg_read_header(&d, TRUE);
  if (d.image_width > unsigned(TJPEGReader::MaxDimension) ||
      d.image_height > unsigned(TJPEGReader::MaxDimension) ||
      int64_t(d.image_width) * d.image_height > TJPEGReader::MaxPixels)
    return false;
  job.Cmyk = d.jpeg_color_space == JCS_CMYK || d.jpeg_color_space == JCS_YCCK;
  const bool grey = d.jpeg_color_space == JCS_GRAYSCALE;
  job.Indexed = displayBits <= 8 && !job.Cmyk && (grey || !palette.isEmpty());
  if (job.Cmyk) {
    d.out_color_space = JCS_CMYK;
  } else if (job.Indexed && grey) {
    d.out_color_space = JCS_GRAYSCALE;
  } else if (job.Indexed) {
    d.out_color_space = JCS_RGB;
    d.quantize_colors = TRUE;
    d.two_pass_quantize = FALSE;
    d.dither_mode = JDITHER_FS;
    d.colormap = (*d.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE,
                                        JDIMENSION(palette.size()), 3);
    for (int i = 0; i < palette.size(); ++i) {
      d.colormap[0][i] = JSAMPLE(qRed(palette[i]));
      d.colormap[1][i] = JSAMPLE(qGreen(palette[i]));
      d.colormap[2][i] = JSAMPLE(qBlue(palette[i]));
    }
    d.actual_number_of_colors = int(palette.size());
  } else {
    d.out_color_space = JCS_EXT_BGRA;
  }
  jpeg_start_decompress(&d);
  return true;
}

bool ReadRows(TJpegJob& job, uchar* bits, qsizetype stride, uint8_t* rowBuffer)
{
  jpeg_decompress_struct& d = job.Info;
  if (setjmp(job.Error.Jump))
    return false;
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = job.Cmyk ? rowBuffer : bits + qsizetype(d.output_scanline) * stride;
    JDIMENSION y = d.output_scanline;
    if (jpeg_read_scanlines(&d, &row, 1) != 1)
      return false;
    if (job.Cmyk) {
      // Files with the Adobe marker store CMYK inverted; others are taken the same way.
      QRgb* out = reinterpret_cast<QRgb*>(bits + qsizetype(y) * stride);
      for (JDIMENSION x = 0; x < d.output_width; ++x) {
        const uint8_t* p = rowBuffer + 4 * x;
        int k = p[3];
        out[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&d);
  return true;
}

} // namespace

QImage TJPEGReader::Decode(std::span<const uint8_t> data, int displayBits, const TPalette& palette)
{
  if (data.size() < 4)
    return QImage();
  TJpegJob job;
  job.Info.err = jpeg_std_error(&job.Error.Manager);
  job.Error.Manager.error_exit = ErrorExit;
  job.Error.Manager.output_message = Silent;
  jpeg_create_decompress(&job.Info);
  job.Info.mem->max_memory_to_use = 512L << 20;
  job.Progress.progress_monitor = LimitScans;
  job.Info.progress = &job.Progress;
  QImage image;
  if (StartDecode(job, data.data(), data.size(), displayBits, palette)) {
    const int w = int(job.Info.output_width), h = int(job.Info.output_height);
    image = QImage(w, h, job.Indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    std::vector<uint8_t> row(job.Cmyk ? size_t(w) * 4 : 0);
    if (!image.isNull() && ReadRows(job, image.bits(), image.bytesPerLine(), row.data())) {
      if (job.Indexed && job.Info.out_color_space == JCS_GRAYSCALE)
        image.setColorTable(GreyRamp());
      else if (job.Indexed)
        image.setColorTable(palette);
    } else {
      image = QImage();
    }
  }
  jpeg_destroy_decompress(&job.Info);
  return image;
}

QImage TJPEGReader::Decode(std::span<const uint8_t> data)
{
  return Decode(data, DisplayBits(), SharedPalette());
}
