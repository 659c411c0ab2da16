// Tuning dialog: opening, change tracking, Apply / OK / Cancel, the width
// toggle, and Import / Export through a temporary settings file that holds
// the records' values while the records carry another file's.
#include "color_processing_dialog.h"

#include <cstdio>

#include "dialog_ids.h"
#include "library.h"
#include "settings_file_dialog.h"

namespace {

constexpr UINT kMsgSettingsChanged = 1347;
constexpr const char* kSensorLabels[kSetCount] = {"SensorType = Hynix", "SensorType = Pixart", "SensorType = EV"};
constexpr const char* kWiden = "AfterIP >>";
constexpr const char* kNarrow = "AfterIP <<";
constexpr const char* kTitle = "Color Processing Parameters";

// Saves a record to the temporary file on construction and loads it back
// (then removes the file) on destruction, so that whatever happens between
// leaves the record as it was, up to the three decimals of the file.
template <class Record>
class KeptInTemporaryFile {
public:
    explicit KeptInTemporaryFile(Record& record) : record_(record), path_(TemporarySettingsPath()) {
        record_.Save(path_.c_str());
    }
    ~KeptInTemporaryFile() {
        record_.Load(path_.c_str());
        DeleteFileA(path_.c_str());
    }
    KeptInTemporaryFile(const KeptInTemporaryFile&) = delete;
    KeptInTemporaryFile& operator=(const KeptInTemporaryFile&) = delete;

private:
    Record& record_;
    std::string path_;
};

}  // namespace

ColorProcessingDialog::ColorProcessingDialog(HINSTANCE module, int set, HWND owner)
    : module_(module), set_(set), owner_(owner) {}

CStageParams& ColorProcessingDialog::Stage() const { return gPrism.stageParams[set_]; }
CLetterParams& ColorProcessingDialog::Letters() const { return gPrism.letterParams[set_]; }

bool ColorProcessingDialog::OnInitDialog() {
    SetItemText(IDC_SENSOR_TYPE, kSensorLabels[set_]);
    auto changed = [this] { Changed(); };
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    before_.Create(module_, IDD_BEFORE_PAGE, Handle(), changed);
    after_.Create(module_, IDD_AFTER_PAGE, Handle(), changed);
    vexa_.Create(module_, IDD_VEXA_PAGE, Handle(), changed);
    before_.PlaceOver(ItemRect(IDC_BEFORE_AREA));
    after_.PlaceOver(ItemRect(IDC_AFTER_AREA));
    vexa_.PlaceOver(ItemRect(IDC_VEXA_AREA));
    expanded_ = true;
    ToggleWidth();  // starts narrow, the After page beyond the right edge
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    LoadAll();
    return true;
}

void ColorProcessingDialog::FillMain(const CStageParams& params) const {
    SetCheck(IDC_SAVE_RAW_DATA, params.SaveRawData != 0);
    char text[16];
    std::snprintf(text, sizeof text, "%d", params.JPEG);
    SetItemText(IDC_JPEG, text);
    SetCheck(IDC_AUREL, params.VEXAOnly == 0);
    SetCheck(IDC_VEXA, params.VEXAOnly == 1);
}

void ColorProcessingDialog::LoadAll() {
    FillMain(Stage());
    before_.Fill(Stage());
    after_.Fill(Stage());
    vexa_.Fill(Letters());
    EnableItem(IDC_AUREL, false);
    SetCheck(IDC_AUREL, false);
    SetCheck(IDC_VEXA, true);
    ShowWindow(vexa_.Handle(), SW_SHOW);
    Changed();
}

void ColorProcessingDialog::ReadStagePages() const {
    CStageParams& stage = Stage();
    stage.SaveRawData = IsChecked(IDC_SAVE_RAW_DATA) ? 1 : 0;
    std::sscanf(ItemText(IDC_JPEG).substr(0, 9).c_str(), "%d", &stage.JPEG);
    stage.VEXAOnly = IsChecked(IDC_VEXA) ? 1 : 0;
    stage.Save(stage.Path());
    before_.Read(stage);
    stage.Save(stage.Path());
    after_.Read(stage);
    stage.Save(stage.Path());
}

void ColorProcessingDialog::ReadVexaPage() const {
    vexa_.Read(Letters());
    Letters().Save(Letters().Path());
}

void ColorProcessingDialog::Apply() {
    ReadStagePages();
    ReadVexaPage();
    PostMessageA(owner_, kMsgSettingsChanged, 0, 0);
    EnableItem(IDOK, false);
    EnableItem(IDC_APPLY, false);
}

void ColorProcessingDialog::OnOK() {
    Apply();
    EndDialog(IDOK);
}

void ColorProcessingDialog::Changed() const {
    EnableItem(IDOK, true);
    EnableItem(IDC_APPLY, true);
}

// The chosen file's values in the controls (defaults where it has none); the
// records keep theirs.
void ColorProcessingDialog::Import() {
    const std::string file = ChooseSettingsFile(Handle(), SettingsFileUse::Import);
    if (file.empty()) return;
    {
        KeptInTemporaryFile<CStageParams> kept(Stage());
        Stage().SetDefaults();
        Stage().Load(file.c_str());
        FillMain(Stage());
        before_.Fill(Stage());
        after_.Fill(Stage());
    }
    KeptInTemporaryFile<CLetterParams> kept(Letters());
    Letters().SetDefaults();
    Letters().Load(file.c_str());
    vexa_.Fill(Letters());
}

// The controls' values into the chosen file and the set's own files; the
// records keep theirs until the next Apply.
void ColorProcessingDialog::Export() {
    const std::string file = ChooseSettingsFile(Handle(), SettingsFileUse::Export);
    if (file.empty()) return;
    // A file that cannot be written must not look exported.
    if (!SettingsFileWritable(file)) {
        const std::string message = "The settings could not be written to " + file + ".";
        MessageBoxA(Handle(), message.c_str(), kTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    {
        KeptInTemporaryFile<CStageParams> kept(Stage());
        ReadStagePages();
        Stage().Save(file.c_str());
    }
    KeptInTemporaryFile<CLetterParams> kept(Letters());
    ReadVexaPage();
    Letters().Save(file.c_str());
}

void ColorProcessingDialog::ToggleWidth() {
    expanded_ = !expanded_;
    const RECT area = ItemRect(IDC_AFTER_AREA);
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const int frame = (window.right - window.left) - (client.right - client.left);
    const int clientWidth = expanded_ ? area.right : area.left;
    SetWindowPos(Handle(), nullptr, 0, 0, clientWidth + frame, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetItemText(IDC_WIDTH_TOGGLE, expanded_ ? kNarrow : kWiden);
}

bool ColorProcessingDialog::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_APPLY:
        Apply();
        return true;
    case IDC_IMPORT:
        Import();
        return true;
    case IDC_EXPORT:
        Export();
        return true;
    case IDC_WIDTH_TOGGLE:
        ToggleWidth();
        return true;
    case IDC_JPEG:
        if (code == EN_CHANGE) Changed();
        return true;
    case IDC_SAVE_RAW_DATA:
        Changed();
        return true;
    case IDC_VEXA:
        Changed();
        ShowWindow(vexa_.Handle(), SW_SHOW);
        return true;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}
