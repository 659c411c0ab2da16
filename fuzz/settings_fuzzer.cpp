// The profile-file reader, the settings Load and a development: the input is
// the text of a set's settings file (TWain01.ini), loaded into set 0 with
// whatever values it holds, then a small frame is developed with the letter,
// before and after strings the file names. A hash of the input picks the
// frame's size (1..48 x 1..36) and samples, the software-enlarge flag and
// BMP or JPEG output. The frame buffer holds exactly width x height + 128
// bytes, the documented size, so any read past it is an overrun. A
// development succeeds exactly when it leaves its file; the record is saved
// again as the tuning dialog's export would.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "fuzz_files.h"
#include "library.h"
#include "prism_api.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string ini = FuzzFile("TWain01.ini");
    static const std::string saved = FuzzFile("saved.ini");
    static const std::string bmp = FuzzFile("out.bmp");
    static const std::string jpeg = FuzzFile("out.jpg");
    static const std::string dump = FuzzFile("out.bin");
    WriteWhole(ini, data, size);

    CStageParams& stage = gPrism.stageParams[0];
    CLetterParams& letter = gPrism.letterParams[0];
    stage.SetDefaults();
    letter.SetDefaults();
    stage.Load(ini.c_str());
    letter.Load(ini.c_str());
    gPrism.quality.Load(ini.c_str());

    std::uint32_t h = HashOf(data, size);
    const int width = 1 + int(h % 48);
    const int height = 1 + int((h >> 8) % 36);
    SetSEOnOff((h >> 16) & 1);
    const bool toBmp = (h >> 17) & 1;
    std::vector<std::uint8_t> frame(std::size_t(width) * height + 128);
    for (auto& sample : frame) {
        h ^= h << 13, h ^= h >> 17, h ^= h << 5;
        sample = std::uint8_t(h);
    }
    const std::string& out = toBmp ? bmp : jpeg;
    const int developed = toBmp ? BufToBmp(width, height, frame.data(), out.c_str(), 0, 0)
                                : BufToJpg(width, height, frame.data(), out.c_str(), 0, 0);
    FUZZ_CHECK(developed == 0 || developed == 1);
    FUZZ_CHECK(Exists(out) == (developed == 1));
    std::remove(out.c_str());
    std::remove(dump.c_str());

    stage.Save(saved.c_str());
    letter.Save(saved.c_str());
    std::remove(saved.c_str());
    return 0;
}
