// Download and transfer as the data source and the user meet them: the clip
// writer on its own, then Vantage.dll staged with its companions, opened with
// SimCam.dll's operations, its Download and Transfer commands run through the
// progress dialog. Files are read back as a user's program would: AVI clips
// through Wine's own AVI reader, JPEG sizes from their frame headers, the
// transferred images from SimCam.
//   vantage_download_test VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]
#include <windows.h>

#include <vfw.h>


#include "avi_writer.h"
#include "vantage_stage.h"

namespace {

using namespace vantage_stage;

// An AVI file as Video for Windows reads it back.
struct AviReadBack {
    bool opened = false;
    AVISTREAMINFOA info = {};
    BITMAPINFOHEADER format = {};
    std::vector<std::vector<std::uint8_t>> frames;  // the samples at 0, 8, 16, ...
    int keyFrames = 0;                              // of those, how many are key frames
    int filledGaps = 0;                             // samples between them that hold data

    explicit AviReadBack(const std::string& path) {
        AVIFileInit();
        PAVIFILE file = nullptr;
        PAVISTREAM stream = nullptr;
        if (AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) == AVIERR_OK &&
            AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
            opened = true;
            AVIStreamInfoA(stream, &info, sizeof info);
            LONG size = sizeof format;
            AVIStreamReadFormat(stream, 0, &format, &size);
            const LONG end = AVIStreamEnd(stream);
            for (LONG pos = 0; pos < end; ++pos) {
                std::vector<std::uint8_t> sample(std::size_t(format.biSizeImage) + 16);
                LONG bytes = 0, samples = 0;
                if (AVIStreamRead(stream, pos, 1, sample.data(), LONG(sample.size()), &bytes, &samples) != AVIERR_OK)
                    bytes = 0;
                sample.resize(std::size_t(bytes));
                if (pos % 8 == 0) {
                    frames.push_back(sample);
                    keyFrames += AVIStreamFindSample(stream, pos, FIND_KEY | FIND_PREV) == pos;
                } else {
                    filledGaps += bytes > 0;
                }
            }
        }
        if (stream) AVIStreamRelease(stream);
        if (file) AVIFileRelease(file);
        AVIFileExit();
    }
};

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD read = 0;
    ReadFile(f, &bytes[0], DWORD(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(f);
    return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// Frame i of a made-up clip: every byte tells frame, row and column apart.
std::vector<std::uint8_t> MadeUpFrame(int i, int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    for (std::size_t b = 0; b < pixels.size(); ++b) pixels[b] = std::uint8_t(b * 7 + std::size_t(i) * 31 + b / 97);
    return pixels;
}

// The writer on its own, as the enlarged view calls it: a whole clip reads
// back frame for frame at positions 8 * i; one that fails part-way leaves
// neither a file nor its temporary, and an earlier file of that name intact.
void TestClipWriter() {
    Stage s("download-avi-", false, false);
    struct Case {
        int width, height, frames, failAt;
    } cases[] = {{320, 240, 10, -1}, {64, 48, 1, -1}, {320, 240, 4, 2}, {640, 480, 3, 0}};
    for (const Case& c : cases) {
        const std::string path = s.File("clip.avi");
        const std::string earlier = "an earlier clip";
        WriteWhole(path, earlier);
        std::vector<int> progress;
        const bool written = WriteAviClip(
            path, c.width, c.height, c.frames,
            [&](int i, std::vector<std::uint8_t>& pixels) {
                if (i == c.failAt) return false;
                pixels = MadeUpFrame(i, c.width, c.height);
                return true;
            },
            [&](int done, int total) { progress.push_back(done * 100 + total); });
        const bool part = FileExists(path + "~part.avi");
        ok(!part, "%dx%d/%d: the temporary file was left behind", c.width, c.height, c.frames);
        if (c.failAt >= 0) {
            ok(!written, "%dx%d failing at frame %d reported success", c.width, c.height, c.failAt);
            ok(ReadWhole(path) == earlier, "%dx%d failing at frame %d: the earlier file changed", c.width, c.height,
               c.failAt);
            ok(int(progress.size()) == c.failAt, "failing at frame %d: %d progress steps", c.failAt,
               int(progress.size()));
            continue;
        }
        ok(written, "%dx%d/%d not written", c.width, c.height, c.frames);
        ok(progress.size() == std::size_t(c.frames) && progress.back() == c.frames * 101,
           "%d frames: %d progress steps, last %d", c.frames, int(progress.size()), progress.empty() ? 0 : progress.back());
        AviReadBack avi(path);
        ok(avi.opened, "%dx%d/%d: the AVI reader cannot open the clip", c.width, c.height, c.frames);
        if (!avi.opened) continue;
        const AVISTREAMINFOA& info = avi.info;
        ok(info.fccType == streamtypeVIDEO && info.dwScale == 30 && info.dwRate == 1200,
           "stream type %.4s scale %lu rate %lu, expected vids 30 1200", reinterpret_cast<const char*>(&info.fccType),
           info.dwScale, info.dwRate);
        ok(info.dwLength == DWORD(8 * (c.frames - 1) + 1), "stream length %lu, expected %d", info.dwLength,
           8 * (c.frames - 1) + 1);
        ok(info.rcFrame.right == c.width && info.rcFrame.bottom == c.height, "frame rectangle %ldx%ld",
           info.rcFrame.right, info.rcFrame.bottom);
        ok(avi.format.biWidth == c.width && avi.format.biHeight == c.height && avi.format.biBitCount == 24 &&
               avi.format.biCompression == BI_RGB,
           "format %ldx%ld, %d bits, compression %lu", avi.format.biWidth, avi.format.biHeight, avi.format.biBitCount,
           avi.format.biCompression);
        ok(int(avi.frames.size()) == c.frames && avi.keyFrames == c.frames && avi.filledGaps == 0,
           "%d samples at 8 * i (%d key frames), %d filled between, expected %d", int(avi.frames.size()),
           avi.keyFrames, avi.filledGaps, c.frames);
        int same = 0;
        for (int i = 0; i < int(avi.frames.size()); ++i) same += avi.frames[std::size_t(i)] == MadeUpFrame(i, c.width, c.height);
        ok(same == c.frames, "%d of %d frames read back unchanged", same, c.frames);
    }
    ok(!WriteAviClip(s.File("big.avi"), 1281, 960, 1, [](int, std::vector<std::uint8_t>&) { return true; }) &&
           !FileExists(s.File("big.avi")),
       "a frame wider than 1280 was accepted");
    ok(!WriteAviClip(s.File("small.avi"), 64, 48, 1,
                     [](int, std::vector<std::uint8_t>& p) {
                         p.assign(100, 0);
                         return true;
                     }) &&
           !FileExists(s.File("small.avi")),
       "a frame of the wrong size was written");
}


}  // namespace

int main(int argc, char** argv) {
    if (!vantage_stage::StartUp(argc, argv)) return argc < 6 ? 2 : wine_test::Finish();
    using vantage_stage::Run;
    Run("TestClipWriter", [] { TestClipWriter(); });
    return wine_test::Finish();
}
