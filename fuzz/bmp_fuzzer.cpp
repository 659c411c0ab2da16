// The BMP reader through BmpToJpg, as a caller meets it: the input is the BMP
// file. A conversion succeeds exactly when it leaves a JPEG file, and a
// refusal leaves none.
#include <cstdint>
#include <cstdio>

#include "fuzz_files.h"
#include "prism_api.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string bmp = FuzzFile("in.bmp");
    static const std::string jpeg = FuzzFile("out.jpg");
    WriteWhole(bmp, data, size);
    const int converted = BmpToJpg(0, 0, bmp.c_str(), jpeg.c_str(), 0, 0);
    FUZZ_CHECK(converted == 0 || converted == 1);
    FUZZ_CHECK(Exists(jpeg) == (converted == 1));
    std::remove(jpeg.c_str());
    return 0;
}
