// Picture store of the simulated camera; see picture_store.h. Scene frames
// are rendered when read, so a large store costs little memory; frames read
// from files are kept whole from the moment the folder is loaded.
#include "picture_store.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

#include "raw_input.h"

namespace simcam {

namespace {

void PutWord(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
    at[2] = std::uint8_t(value >> 16);
    at[3] = std::uint8_t(value >> 24);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// Decimal digits only, 1..max.
bool ParseCount(const std::string& text, int max, int& value) {
    if (text.empty() || text.size() > 6) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > max) return false;
    value = v;
    return true;
}

bool ParseWidth(const std::string& text, int& width) {
    if (text != "640" && text != "320") return false;
    width = text == "640" ? 640 : 320;
    return true;
}

int HeightOf(int width) { return width * 3 / 4; }

// Where each entry stands: its flags byte and its picture number.
struct EntryPlace {
    std::uint8_t flags = 0;
    std::uint32_t picture = 0;
};

std::vector<EntryPlace> Places(const std::vector<StoreEntry>& entries) {
    std::vector<EntryPlace> places(entries.size());
    std::uint8_t parity = 0;
    std::uint32_t picture = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoreEntry& e = entries[i];
        const bool newClip = e.clip >= 0 && (i == 0 || entries[i - 1].clip != e.clip);
        if (i > 0 && (e.clip < 0 || newClip)) ++picture;
        if (e.clip < 0) {
            parity = 0;
            places[i].flags = 0;
        } else {
            if (newClip) {
                // A clip whose parity equalled the one before would be read
                // as more frames of the previous clip (or of the still).
                parity = e.forcedParity >= 0 ? std::uint8_t(e.forcedParity ? kClipParityFlag : 0)
                                             : std::uint8_t(parity ^ kClipParityFlag);
            }
            places[i].flags = std::uint8_t(kClipFrameFlag | parity);
        }
        places[i].picture = picture;
    }
    return places;
}

}  // namespace

int PictureStore::LoadScenes(const std::string& sceneList) {
    std::vector<StoreEntry> loaded;
    int clip = 0;
    if (!sceneList.empty()) {
        for (const std::string& item : Split(sceneList, ',')) {
            const std::vector<std::string> f = Split(item, ':');
            StoreEntry e;
            int frames = 1;
            if (f.size() < 3 || !ParseWidth(f[1], e.width) || !SceneFromName(f[2], e.scene)) return -1;
            if (f[0] == "still" && f.size() == 3) {
                e.clip = -1;
            } else if (f[0] == "clip" && (f.size() == 4 || f.size() == 5)) {
                if (!ParseCount(f[3], kMaxEntries, frames)) return -1;
                if (f.size() == 5) {
                    if (f[4] != "0" && f[4] != "1") return -1;
                    e.forcedParity = f[4] == "1" ? 1 : 0;
                }
                e.clip = clip++;
            } else {
                return -1;
            }
            e.height = HeightOf(e.width);
            e.source = SceneName(e.scene);
            if (loaded.size() + std::size_t(frames) > std::size_t(kMaxEntries)) return -1;
            for (int k = 0; k < frames; ++k) {
                e.frameInClip = k;
                loaded.push_back(e);
            }
        }
    }
    entries_.swap(loaded);
    return EntryCount();
}

int PictureStore::LoadFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    try {
        std::error_code error;
        fs::directory_iterator it(fs::path(folder), error);
        if (error) return -1;
        std::vector<fs::path> files;
        for (; it != fs::directory_iterator(); it.increment(error)) {
            if (error) return -1;
            if (it->is_regular_file(error)) files.push_back(it->path());
        }
        std::sort(files.begin(), files.end(),
                  [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });

        std::vector<StoreEntry> loaded;
        for (const fs::path& file : files) {
            if (loaded.size() == std::size_t(kMaxEntries)) break;
            const std::uintmax_t bytes = fs::file_size(file, error);
            FrameSize size;
            if (error || !FrameSizeOfFile(bytes, nullptr, size)) continue;
            StoreEntry e;
            e.width = size.width;
            e.height = size.height;
            e.generated = false;
            e.raw.resize(std::size_t(size.width) * std::size_t(size.height));
            std::ifstream in(file, std::ios::binary);
            if (!in.read(reinterpret_cast<char*>(e.raw.data()), std::streamsize(e.raw.size()))) continue;
            e.source = file.filename().string();
            loaded.push_back(std::move(e));
        }
        entries_.swap(loaded);
        return EntryCount();
    } catch (...) {  // a name the system cannot convert, or no memory
        return -1;
    }
}

bool PictureStore::AppendStill(Scene scene, int width) {
    if (EntryCount() >= kMaxEntries || (width != 640 && width != 320)) return false;
    StoreEntry e;
    e.width = width;
    e.height = HeightOf(width);
    e.scene = scene;
    e.source = SceneName(scene);
    try {
        entries_.push_back(e);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::vector<std::uint8_t> PictureStore::EntryFlags() const {
    std::vector<std::uint8_t> flags;
    for (const EntryPlace& p : Places(entries_)) flags.push_back(p.flags);
    return flags;
}

void PictureStore::BuildDirectory(int formatCode, std::uint8_t* header) const {
    std::memset(header, 0, kDirectoryBytes);
    const int count = EntryCount();
    header[0] = std::uint8_t(count);
    header[1] = std::uint8_t(count >> 8);
    header[9] = std::uint8_t(kFormatByteHighBits | (formatCode & 0x0F));
    const std::vector<EntryPlace> places = Places(entries_);
    for (int i = 0; i < count; ++i) PutWord(header + kFlagsOffset + 4 * i, places[i].flags);
}

void PictureStore::BuildRecords(std::uint8_t* records) const {
    const std::vector<EntryPlace> places = Places(entries_);
    for (int i = 0; i < EntryCount(); ++i) {
        const StoreEntry& e = entries_[i];
        std::uint8_t* r = records + std::size_t(i) * kRecordBytes;
        std::memset(r, 0, kRecordBytes);
        PutWord(r + kRecordIndex, std::uint32_t(i));
        PutWord(r + kRecordWidth, std::uint32_t(e.width));
        PutWord(r + kRecordHeight, std::uint32_t(e.height));
        PutWord(r + kRecordFlags, places[i].flags);
        PutWord(r + kRecordPicture, places[i].picture);
        PutWord(r + kRecordFrame, std::uint32_t(e.frameInClip));
        PutWord(r + kRecordTime, kClockStart + kSecondsPerPicture * places[i].picture);
        const std::size_t n = std::min(e.source.size(), std::size_t(kRecordSourceBytes - 1));
        std::memcpy(r + kRecordSource, e.source.data(), n);
    }
}

const std::vector<std::uint8_t>& PictureStore::SceneFrame(Scene scene, int width, int height) {
    if (cachedFrame_.empty() || cachedScene_ != scene || cachedWidth_ != width || cachedHeight_ != height) {
        cachedFrame_ = RenderSceneRaw(scene, width, height);
        cachedScene_ = scene;
        cachedWidth_ = width;
        cachedHeight_ = height;
    }
    return cachedFrame_;
}

std::uint32_t PictureStore::ReadFrame(int index, std::uint8_t* frame, std::uint32_t capacity) {
    if (index < 0 || index >= EntryCount()) return 0;
    const StoreEntry& e = entries_[index];
    const std::uint64_t bytes = std::uint64_t(e.width) * std::uint64_t(e.height);
    if (bytes == 0 || bytes > capacity) return 0;
    if (!e.generated) {
        std::memcpy(frame, e.raw.data(), std::size_t(bytes));
        return std::uint32_t(bytes);
    }
    try {
        const std::vector<std::uint8_t>& scene = SceneFrame(e.scene, e.width, e.height);
        const int shift = int(std::int64_t(e.frameInClip) * kClipStepColumns % e.width);
        for (int row = 0; row < e.height; ++row) {
            const std::uint8_t* src = scene.data() + std::size_t(row) * e.width;
            std::uint8_t* dst = frame + std::size_t(row) * e.width;
            std::memcpy(dst, src + shift, std::size_t(e.width - shift));
            std::memcpy(dst + (e.width - shift), src, std::size_t(shift));
        }
    } catch (const std::bad_alloc&) {
        cachedFrame_.clear();
        return 0;
    }
    return std::uint32_t(bytes);
}

}  // namespace simcam
