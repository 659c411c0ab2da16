// CDocManagerEx: Save As and the save-changes question.
#include "doc_manager_ex.h"

#include "bmp_doc.h"
#include "file_dialog_ex.h"
#include "pictor_state.h"
#include "recent_files.h"

namespace {

constexpr const char* kCaption = "Pictor";

bool EndsInBmp(const std::string& name) {
    return name.size() >= 3 && lstrcmpiA(name.c_str() + name.size() - 3, "bmp") == 0;
}

}  // namespace

bool CDocManagerEx::DoPromptFileName(HWND owner, std::string& name) {
    std::vector<CFileDialogEx::FileType> types = {
        {strings_.filterName, "*" + strings_.filterExt, strings_.filterExt},
        {"Bmp Files (*.bmp)", "*.bmp", ".bmp"},
    };
    CFileDialogEx dialog(std::move(types), EndsInBmp(name) ? 2 : 1, name, owner);
    if (dialog.DoModal() != IDOK) return false;
    name = dialog.PathName();
    gPictor.saveFormat = dialog.FileTypeIndex() == 2 ? SaveFormat::kBmp : SaveFormat::kJpeg;
    return true;
}

bool CDocManagerEx::SaveAs(CBmpDoc& document, HWND owner) {
    std::string name = document.Path();
    if (name.empty()) {
        name = document.Title();
        if (name.find('.') == std::string::npos) name += strings_.filterExt;
    }
    if (!DoPromptFileName(owner, name)) return false;
    if (!document.SaveTo(name)) {
        MessageBoxA(owner, ("The picture could not be saved as " + name + ".").c_str(), kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    document.SetPath(name);
    AddRecentFile(name);
    return true;
}

bool CDocManagerEx::SaveModified(CBmpDoc& document, HWND owner) {
    if (!document.IsModified()) return true;
    const std::string question = "Save changes to " + document.Title() + "?";
    switch (MessageBoxA(owner, question.c_str(), kCaption, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return SaveAs(document, owner);
    case IDNO:
        return true;
    default:
        return false;
    }
}
