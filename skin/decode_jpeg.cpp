#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "skin/decode.h"

namespace mk::skin {
namespace {

// A progressive file can hold any number of scans, each one a pass over the
// whole picture; real pictures have about ten.
constexpr int kMaxScans = 500;

// libjpeg reports fatal errors through error_exit, which must not return; it
// longjmps back. Everything that must outlive the jump lives here, in the
// caller's frame, so no destructor is skipped and no local of the jumping
// function is read after the jump.
struct JpegSession {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errorManager{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  char error[JMSG_LENGTH_MAX] = {};
  bool inputEnded = false;

  ~JpegSession() { jpeg_destroy_decompress(&cinfo); }  // safe on a struct never created
};

JpegSession& sessionOf(j_common_ptr cinfo) { return *static_cast<JpegSession*>(cinfo->client_data); }

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
  JpegSession& session = sessionOf(cinfo);
  (*cinfo->err->format_message)(cinfo, session.error);
  std::longjmp(session.jump, 1);
}

void onJpegMessage(j_common_ptr cinfo, int level) {
  // Level -1 is a warning about corrupt data; libjpeg carries on after it.
  // Trace messages (level >= 0) are dropped.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) sessionOf(cinfo).inputEnded = true;
}

void onJpegOutput(j_common_ptr) {}

void onJpegProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    JpegSession& session = sessionOf(cinfo);
    std::snprintf(session.error, sizeof session.error, "JPEG picture has more than %d scans", kMaxScans);
    std::longjmp(session.jump, 1);
  }
}

// 8-bit C, M, Y, K to opaque 0xAARRGGBB, in place. Adobe's writers store the
// four values inverted; a file without an Adobe marker stores them plain.
void convertCmyk(std::vector<std::uint32_t>& pixels, bool inverted) {
  for (std::uint32_t& p : pixels) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&p);
    std::uint32_t c = b[0], m = b[1], y = b[2], k = b[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    const auto mix = [k](std::uint32_t v) { return v * k / 255; };
    p = 0xFF000000u | mix(c) << 16 | mix(m) << 8 | mix(y);
  }
}

bool readJpeg(JpegSession& session, std::span<const std::uint8_t> bytes, std::vector<std::uint32_t>& pixels,
              const DecodeLimits& limits, std::string& sizeError) {
  jpeg_decompress_struct& cinfo = session.cinfo;
  cinfo.err = jpeg_std_error(&session.errorManager);
  session.errorManager.error_exit = onJpegError;
  session.errorManager.emit_message = onJpegMessage;
  session.errorManager.output_message = onJpegOutput;
  cinfo.client_data = &session;
  if (setjmp(session.jump)) return false;

  jpeg_create_decompress(&cinfo);  // keeps err and client_data
  session.progress.progress_monitor = onJpegProgress;
  cinfo.progress = &session.progress;
  // Multi-scan files buffer the whole picture's coefficients inside libjpeg;
  // without a backing store, this turns an oversized request into an error.
  cinfo.mem->max_memory_to_use = static_cast<long>(2 * limits.maxBytes);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (auto refusal = checkPictureSize(cinfo.image_width, cinfo.image_height, limits)) {
    sizeError = *std::move(refusal);
    return false;
  }

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  if (cmyk) {
    cinfo.out_color_space = JCS_CMYK;
  } else {
    cinfo.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
  }
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 4) ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);

  const std::size_t width = cinfo.output_width;
  pixels.resize(width * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + width * cinfo.output_scanline);
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EOF);
  }
  jpeg_finish_decompress(&cinfo);
  if (cmyk) convertCmyk(pixels, cinfo.saw_Adobe_marker);
  return true;
}

}  // namespace

DecodeResult decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
  JpegSession session;
  std::vector<std::uint32_t> pixels;
  std::string sizeError;
  if (!readJpeg(session, bytes, pixels, limits, sizeError)) {
    if (!sizeError.empty()) return {{}, sizeError};
    return {{}, session.error[0] ? session.error : "Cannot decode the JPEG picture"};
  }
  if (session.inputEnded) {
    // Missing data has been filled with grey; a skin picture cut short is
    // broken, not a picture to show.
    return {{}, "Premature end of JPEG file"};
  }
  return {lcd::Picture::fromPixels(static_cast<int>(session.cinfo.output_width),
                                   static_cast<int>(session.cinfo.output_height), std::move(pixels),
                                   lcd::PictureKind::Jpeg),
          {}};
}

}  // namespace mk::skin
