// JPEG file writer on libjpeg: the library's defaults, the caller's quality
// with force-baseline, and a fatal-error exit that returns to the writer.
#include "jpeg_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

static_assert(kJpegMaxSide == JPEG_MAX_DIMENSION, "the writer's limit is libjpeg's");

namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first, so the library's pointer is also ours
    std::jmp_buf escape;
};

[[noreturn]] void ReturnToWriter(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);  // formatted, never shown
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

// Everything that longjmp may skip lives here, outside the jumping frame.
struct Job {
    jpeg_compress_struct cinfo{};
    ErrorManager error{};
    std::FILE* file = nullptr;
    std::vector<std::uint8_t> row;  // one reordered row, without the library's reordering
};

// Rows handed to the library per call: fewer calls, the same output.
constexpr int kRowsPerCall = 16;

int Compress(Job& job, const char* path, const std::uint8_t* rgb, int width, int height,
             int quality, PixelOrder order) {
    jpeg_compress_struct& cinfo = job.cinfo;
    if (setjmp(job.error.escape)) return 0;
    jpeg_create_compress(&cinfo);
    job.file = std::fopen(path, "wb");
    if (!job.file) return 0;
    jpeg_stdio_dest(&cinfo, job.file);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    // The library's own blue-green-red input converts to the same YCbCr
    // samples as red-green-blue does: only where the three bytes are read
    // differs. Without it the rows are reordered one at a time.
    bool reorder = order == PixelOrder::kBgr;
#ifdef JCS_EXTENSIONS
    if (reorder) cinfo.in_color_space = JCS_EXT_BGR;
    reorder = false;
#endif
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = std::size_t(width) * 3;
    if (reorder) {
        job.row.resize(rowBytes);
        while (cinfo.next_scanline < cinfo.image_height) {
            const std::uint8_t* in = rgb + cinfo.next_scanline * rowBytes;
            for (std::size_t i = 0; i < rowBytes; i += 3) {
                job.row[i] = in[i + 2];
                job.row[i + 1] = in[i + 1];
                job.row[i + 2] = in[i];
            }
            JSAMPROW row = job.row.data();
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[kRowsPerCall];
        const JDIMENSION first = cinfo.next_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(kRowsPerCall, cinfo.image_height - first);
        for (JDIMENSION k = 0; k < count; ++k)
            rows[k] = const_cast<JSAMPROW>(rgb + (first + k) * rowBytes);
        jpeg_write_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_compress(&cinfo);
    return 1;
}

}  // namespace

int WriteJpegFile(const char* path, const std::uint8_t* rgb, int width, int height, int quality,
                  PixelOrder order) {
    if (!rgb || !path || width <= 0 || height <= 0) return 0;
    Job job;
    job.cinfo.err = jpeg_std_error(&job.error.base);
    job.error.base.error_exit = ReturnToWriter;
    int ok = Compress(job, path, rgb, width, height, quality, order);  // the library limits it to 1..100
    jpeg_destroy_compress(&job.cinfo);
    if (job.file) {
        if (std::fclose(job.file) != 0) ok = 0;
        if (!ok) std::remove(path);
    }
    return ok;
}
