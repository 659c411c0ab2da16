// JPEG file writer on libjpeg: the library's defaults, the caller's quality
// with force-baseline, and a fatal-error exit that returns to the writer.
#include "jpeg_file.h"

#include <csetjmp>
#include <cstdio>

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
};

int Compress(Job& job, const char* path, const std::uint8_t* rgb, int width, int height,
             int quality) {
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
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = std::size_t(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return 1;
}

}  // namespace

int WriteJpegFile(const char* path, const std::uint8_t* rgb, int width, int height, int quality) {
    if (!rgb || !path || width <= 0 || height <= 0) return 0;
    Job job;
    job.cinfo.err = jpeg_std_error(&job.error.base);
    job.error.base.error_exit = ReturnToWriter;
    int ok = Compress(job, path, rgb, width, height, quality);  // the library limits it to 1..100
    jpeg_destroy_compress(&job.cinfo);
    if (job.file) {
        if (std::fclose(job.file) != 0) ok = 0;
        if (!ok) std::remove(path);
    }
    return ok;
}
