#include "vcl/JpegCodec.h"

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool endOfData;  // the data ran out before the picture did
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
  // The data ran out, or the entropy data stopped at a marker: the rest would be
  // invented rows, and millions of them for a few bytes that declare a huge picture.
  const int code = cinfo->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
    reinterpret_cast<ErrorManager*>(cinfo->err)->endOfData = true;
}

// Decompression between setjmp and the jump uses only the caller's objects.
bool DecompressAll(jpeg_decompress_struct* cinfo, ErrorManager* err, const std::uint8_t* data,
                   std::size_t size, PixelBuffer* out, std::vector<std::uint8_t>* cmykRow) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  // Before the decoder takes memory for the picture (a progressive one buffers
  // it whole), and whatever its coding: arithmetic coding invents rows of zeros
  // where the data ends, without a warning.
  if (!PictureSizeAllowed(cinfo->image_width, cinfo->image_height, size)) {
    std::strcpy(err->message, "The picture is too large for its data");
    return false;
  }
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(cinfo);
  out->width = int(cinfo->output_width);
  out->height = int(cinfo->output_height);
  const std::size_t rowBytes = std::size_t(out->width) * 4;
  cmykRow->resize(rowBytes);
  out->bytes.reserve(rowBytes * std::size_t(out->height));
  // The pixels grow row by row as the data yields them: a few bytes that declare
  // millions of pixels fail before that memory is taken.
  while (cinfo->output_scanline < cinfo->output_height) {
    if (err->endOfData) {
      std::strcpy(err->message, "the data ends before the picture");
      return false;
    }
    JSAMPROW row = cmykRow->data();
    jpeg_read_scanlines(cinfo, &row, 1);
    if (cmyk) {
      // Adobe writes CMYK inverted (the usual case); the factor k darkens each channel.
      const bool inverted = cinfo->saw_Adobe_marker;
      for (int x = 0; x < out->width; ++x) {
        std::uint8_t* p = &(*cmykRow)[x * 4];
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
          c = 255 - c;
          m = 255 - m;
          y = 255 - y;
          k = 255 - k;
        }
        p[0] = std::uint8_t((y * k + 127) / 255);
        p[1] = std::uint8_t((m * k + 127) / 255);
        p[2] = std::uint8_t((c * k + 127) / 255);
        p[3] = 255;
      }
    }
    out->bytes.insert(out->bytes.end(), cmykRow->begin(), cmykRow->end());
  }
  if (err->endOfData) {
    std::strcpy(err->message, "the data ends before the picture");
    return false;
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

bool CompressAll(jpeg_compress_struct* cinfo, ErrorManager* err, const PixelBuffer* pixels, int quality,
                 bool grayscale, unsigned char** buffer, unsigned long* size, std::vector<std::uint8_t>* greyRow) {
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = JDIMENSION(pixels->width);
  cinfo->image_height = JDIMENSION(pixels->height);
  cinfo->input_components = 4;
  cinfo->in_color_space = JCS_EXT_BGRA;
  jpeg_set_defaults(cinfo);
  if (grayscale) {
    cinfo->input_components = 1;
    cinfo->in_color_space = JCS_GRAYSCALE;
    jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
    greyRow->resize(pixels->width);
  }
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    const std::uint8_t* src = pixels->row(int(cinfo->next_scanline));
    JSAMPROW row = const_cast<JSAMPROW>(src);
    if (grayscale) {
      for (int x = 0; x < pixels->width; ++x) {
        const std::uint8_t* p = src + x * 4;
        (*greyRow)[x] = std::uint8_t((p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000);
      }
      row = greyRow->data();
    }
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

PixelBuffer DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8) throw EInvalidGraphic("Not a JPEG picture");
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnJpegError;
  err.pub.emit_message = OnJpegMessage;
  PixelBuffer out;
  std::vector<std::uint8_t> cmykRow;
  const bool ok = DecompressAll(&cinfo, &err, data, size, &out, &cmykRow);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) throw EInvalidGraphic(std::string("Damaged JPEG picture: ") + err.message);
  MakeOpaque(out);
  return out;
}

std::vector<std::uint8_t> EncodeJpeg(const PixelBuffer& pixels, int quality, bool grayscale) {
  CheckPictureSize(pixels.width, pixels.height);
  quality = std::clamp(quality, 1, 100);
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnJpegError;
  err.pub.emit_message = OnJpegMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> greyRow;
  const bool ok = CompressAll(&cinfo, &err, &pixels, quality, grayscale, &buffer, &size, &greyRow);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out;
  if (ok && buffer) out.assign(buffer, buffer + size);
  std::free(buffer);
  if (!ok) throw EInvalidGraphic(std::string("Cannot write the JPEG picture: ") + err.message);
  return out;
}
