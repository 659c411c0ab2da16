// CBmpDoc: import, the two file writers, the automatic save.
#include "bmp_doc.h"

#include <shellapi.h>

#include "dib_import.h"
#include "file_util.h"
#include "jpeg_file.h"
#include "picture_names.h"
#include "pictor_settings.h"
#include "pictor_state.h"
#include "recent_files.h"
#include "windows_folders.h"

namespace {

constexpr const char* kCaption = "Pictor";

}  // namespace

bool CBmpDoc::LoadFromDib(HGLOBAL dib) {
    dib_.reset();
    const void* block = GlobalLock(dib);
    if (!block) return false;
    DibImport imported = ImportDib(static_cast<const std::uint8_t*>(block), GlobalSize(dib));
    GlobalUnlock(dib);
    if (imported.result != DibImportResult::kOk) return false;
    dib_ = std::move(imported.dib);
    dpiX_ = DotsPerInch(std::int32_t(ReadLe32(dib_->Data() + 24)));
    dpiY_ = DotsPerInch(std::int32_t(ReadLe32(dib_->Data() + 28)));
    SetModified(true);
    return true;
}

bool CBmpDoc::SaveTo(const std::string& path) {
    const bool saved = gPictor.saveFormat == SaveFormat::kBmp ? SaveBmp(path) : SaveJpeg(path);
    if (saved) SetModified(false);
    return saved;
}

bool CBmpDoc::SaveBmp(const std::string& path) const {
    if (!dib_) return false;
    OutputFile file(path.c_str());
    if (!file.Open()) return false;
    const std::vector<std::uint8_t> header = BmpFileHeader(*dib_);
    file.Write(header.data(), header.size());
    file.Write(dib_->Data(), dib_->Size());
    return file.Commit();
}

bool CBmpDoc::SaveJpeg(const std::string& path) const {
    if (!dib_) return false;
    const std::vector<std::uint8_t> rgb = DibToRgbRows(*dib_);
    if (rgb.empty()) return false;
    return WriteJpegFile(path.c_str(), rgb.data(), dib_->Width(), dib_->Height(), gPictor.jpegQuality) == 1;
}

bool CBmpDoc::AutoSave() {
    CWindowsFolders folders;
    const std::string folder = ReadPictureFolder(ProgramFile(kPictorSettingsFile), folders);
    const std::string name = NextPictureName(folder, FileNameInUse);
    gPictor.saveFormat = SaveFormat::kJpeg;
    const bool saved = !name.empty() && SaveTo(name);
    if (!saved) {
        // Never dropped in silence: the picture stays open for "Save As".
        const std::string text = "The picture could not be saved as " + (name.empty() ? folder + "\\PIC*.jpg" : name) +
                                 ". It stays open; save it with Save As.";
        for (HWND frame : Frames()) ShowWindow(GetAncestor(frame, GA_ROOT), SW_SHOW);
        MessageBoxA(Frames().empty() ? nullptr : Frames().front(), text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetPath(name);
    AddRecentFile(name);
    CloseAllFrames();  // the document goes with its last frame
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "edit", name.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
        ShellExecuteA(nullptr, "open", name.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
