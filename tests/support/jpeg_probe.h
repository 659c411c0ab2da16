// Reads back what a JPEG file says about how it was written.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

// The luminance quantisation table of a JPEG file (empty when it cannot be read).
inline std::vector<int> LuminanceTable(const std::string& path) {
    std::vector<int> table;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return table;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    for (int i = 0; i < DCTSIZE2; ++i) table.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return table;
}
