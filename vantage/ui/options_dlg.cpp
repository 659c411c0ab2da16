// Options dialog: texts, the folder browser, the values taken at OK.
#include "options_dlg.h"

#include "../string_keys.h"
#include "../vantage_state.h"
#include "folder_picker.h"

namespace {

constexpr int kFolderText = 3013;
constexpr int kPathLabel = 3014;
constexpr int kBrowseButton = 3015;
constexpr int kNextEdit = 3016;
constexpr int kNextLabel = 3017;
constexpr int kNamingLabel = 3023;
constexpr int kEnlargeCheck = 3031;

}  // namespace

COptionsDlg::COptionsDlg(const CPictureSettings& current, bool offerEnlarge)
    : folder_(current.path), next_(current.next), enlarge_(offerEnlarge && current.enlargeOnOff != 0) {}

bool COptionsDlg::OnInitDialog() {
    ApplyText(Handle(), kKeyOptionsTitle);
    ApplyText(Item(kPathLabel), kKeyOptionsPath);
    ApplyText(Item(kBrowseButton), kKeyOptionsBrowse);
    ApplyText(Item(kNamingLabel), kKeyOptionsNaming);
    ApplyText(Item(kNextLabel), kKeyOptionsNext);
    ApplyText(Item(IDOK), kKeyOptionsOk);
    ApplyText(Item(IDCANCEL), kKeyOptionsCancel);
    ApplyText(Item(kEnlargeCheck), kKeyEnlargeCheck);
    SetCheck(kEnlargeCheck, enlarge_);
    SetItemText(kFolderText, folder_.c_str());
    SetItemText(kNextEdit, std::to_string(next_).c_str());
    return true;
}

bool COptionsDlg::OnCommand(int id, int code, HWND control) {
    if (id == kBrowseButton && code == BN_CLICKED) {
        Browse();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

// Without a caption of its own the browser takes the dialog's title.
void COptionsDlg::Browse() {
    std::string caption = gVantage.strings.Text(kKeyOptionsTitle);
    if (CStringsFile::Keeps(caption)) {
        char title[260] = {};
        GetWindowTextA(Handle(), title, sizeof title);
        caption = title;
    }
    CFolderPicker picker(caption, gVantage.strings.Message(kKeyOptionsPath), folder_);
    if (!picker.Run(Handle(), gVantage.modal) || !IsAlive()) return;
    folder_ = picker.Folder();
    SetItemText(kFolderText, folder_.c_str());
}

void COptionsDlg::OnOK() {
    next_ = ParseNumber(ItemText(kNextEdit));
    enlarge_ = HasItem(kEnlargeCheck) && IsChecked(kEnlargeCheck);
    EndDialog(IDOK);
}
