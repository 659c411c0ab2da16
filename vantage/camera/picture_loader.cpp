// Load: directory, grouping, frame files, thumbnails.
#include "picture_loader.h"

#include <cstring>

#include "thumbnails.h"

namespace {

constexpr int kCameraWidth = 640, kCameraHeight = 480;

std::uint32_t Word(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
}

// Stores the frames of one item; the frames stored. A frame that cannot be
// read, is empty or larger than a 640 x 480 frame, or cannot be written is
// left out.
int StoreFrames(const CPictureTable& table, PictureItem& item, CFrameFiles& names, CCameraReader& camera,
                CLoadTarget& target) {
    DeleteFrameFiles(item.files);
    const int count = item.count;
    for (int c = 0; c < count; ++c) {
        if (target.Cancelled()) return 0;
        const std::string folder = target.TempFolder();
        if (folder.empty()) return 0;
        const std::string name = names.NextName(folder);
        const std::uint8_t* frame = nullptr;
        std::uint32_t bytes = 0;
        if (!camera.ReadFrame(item.first + c, frame, bytes) || bytes == 0 || !frame ||
            !WriteFrameFile(name, frame, bytes, table.Record(item.first))) {
            --item.count;
            continue;
        }
        item.files.push_back(name);
    }
    return item.count;
}

bool MakeThumbnail(const CPictureTable& table, const PictureItem& item, CLoadTarget& target,
                   std::vector<std::uint8_t>& thumbnail) {
    std::vector<std::uint8_t> raw(kRawBufferBytes);
    const std::uint32_t bytes = ReadFileInto(item.files[0], raw.data(), kRawBufferBytes);
    if (bytes == 0) return false;
    const FrameGeometry g = GeometryOfFile(bytes);
    std::vector<std::uint8_t> pixels;
    if (!target.Develop(raw.data(), g.width, g.height, table.FlipFlag(), table.FormatCode(), pixels)) return false;
    if (pixels.size() < std::size_t(g.width) * g.height * 3) return false;
    thumbnail.assign(kThumbnailBytes, 0);
    return SampleThumbnail(pixels.data(), g.width, g.height, thumbnail.data());
}

}  // namespace

LoadResult LoadPictures(CPictureTable& table, CFrameFiles& names, CCameraReader& camera, CLoadTarget& target) {
    EmptyPictureTable(table);
    std::uint8_t info[kFrameInfoRecordBytes] = {};
    const bool saved = camera.GetFrameInfo(info);
    camera.SetFrameSize(kCameraWidth, kCameraHeight);
    // The live-video size comes back whatever happens.
    auto restoreSize = [&] {
        if (saved) camera.SetFrameSize(int(Word(info + 4)), int(Word(info + 8)));
    };

    std::uint16_t entryCount = 0;
    const std::uint8_t* header = nullptr;
    const std::uint8_t* records = nullptr;
    if (!camera.ReadDirectory(entryCount, header) || entryCount == 0 || !header) {
        restoreSize();
        return kLoadEmpty;
    }
    table.SetDirectory(header, entryCount);
    if (!camera.ReadEntries(records) || !records) {
        table.Clear();
        restoreSize();
        return kLoadEmpty;
    }
    table.SetRecords(records);
    table.Group();

    bool failed = false;
    for (std::size_t i = 0; i < table.Items().size(); ++i) {
        PictureItem& item = table.Items()[i];
        std::vector<std::uint8_t> thumbnail;
        if (StoreFrames(table, item, names, camera, target) > 0 && MakeThumbnail(table, item, target, thumbnail))
            target.ThumbnailMade(int(i), std::move(thumbnail));
        else
            failed = true;
        if (target.Cancelled()) break;
    }
    restoreSize();
    if (!failed) return kLoadComplete;
    std::uint8_t probe[kFrameInfoRecordBytes] = {};
    return camera.GetFrameInfo(probe) ? kLoadComplete : kLoadIncomplete;
}

void EmptyPictureTable(CPictureTable& table) {
    for (PictureItem& item : table.Items()) DeleteFrameFiles(item.files);
    table.Clear();
}
