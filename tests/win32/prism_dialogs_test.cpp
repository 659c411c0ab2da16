// Prism.dll's dialogs as a caller meets them: a copy of the library loaded
// from a folder with its settings files, Setting called with a window of this
// program as the owner, and a second thread playing the user by messages.
//   prism_dialogs_test PRISM_DLL KILN_DLL [SCENARIO]
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialog_ids.h"
#include "platform/platform.h"
#include "prism_api.h"
#include "ui_test_support.h"
#include "wine_test.h"

using namespace ui_test;

namespace {

constexpr const char* kTuningTitle = "Color Processing Parameters";
constexpr UINT kMsgSettingsChanged = 1347;

std::string gPrismDll, gKilnDll;
int gSettingsChanged = 0;  // 1347 messages the owner window received

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgSettingsChanged && wParam == 0 && lParam == 0) ++gSettingsChanged;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string ReadText(const std::string& path) {
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    text.resize(GetFileSize(f, nullptr));
    DWORD read = 0;
    ReadFile(f, text.data(), DWORD(text.size()), &read, nullptr);
    CloseHandle(f);
    text.resize(read);
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(f);
}

std::string Profile(const std::string& file, const char* section, const char* key) {
    char value[300] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

// A fresh folder with a copy of Prism.dll (and the converter when asked), loaded.
struct Stage {
    std::string folder;
    HMODULE module = nullptr;
    SettingEntry setting = nullptr;
    BufToFileEntry bufToBmp = nullptr;

    Stage(const char* name, bool withConverter, const std::string& qualityIni = "") {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        for (int n = 0;; ++n) {
            folder = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
            if (CreateDirectoryA(folder.c_str(), nullptr)) break;
        }
        CopyFileA(gPrismDll.c_str(), File("Prism.dll").c_str(), FALSE);
        if (withConverter) CopyFileA(gKilnDll.c_str(), File("Kiln.DLL").c_str(), FALSE);
        if (!qualityIni.empty()) WriteText(File("TWain.ini"), qualityIni);
        module = LoadLibraryA(File("Prism.dll").c_str());
        ok(module != nullptr, "Prism.dll in %s did not load (error %lu)", folder.c_str(), GetLastError());
        if (!module) return;
        setting = platform::FindEntryAs<SettingEntry>(module, "Setting");
        bufToBmp = platform::FindEntryAs<BufToFileEntry>(module, "BufToBmp");
    }
    ~Stage() {
        if (module) FreeLibrary(module);
    }
    std::string File(const char* name) const { return folder + "\\" + name; }
    // A conversion for `set` makes it the current set.
    void Convert(int set) const {
        std::vector<std::uint8_t> frame(8 * 4 + 128, 90);
        ok(bufToBmp(8, 4, frame.data(), File("made.bmp").c_str(), 0, set) == 1, "BufToBmp failed");
    }
};

std::string Text(HWND dialog, int id) { return WindowText(Control(dialog, id)); }
void Type(HWND dialog, int id, const char* text) { SendMessageA(Control(dialog, id), WM_SETTEXT, 0, LPARAM(text)); }
bool Checked(HWND dialog, int id) { return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)) != FALSE; }
void Press(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Control(dialog, id))); }

int ClientWidth(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r.right;
}

// Left and right edge of a reserved page area, in the dialog's client pixels.
RECT Area(HWND dialog, int id) {
    RECT r;
    GetWindowRect(Control(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Clicks a button that opens the system's open or save dialog, answers it
// with a file, and returns once the dialog's own handling has ended.
bool ChooseAfter(HWND dialog, int button, const char* title, const std::string& file) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    const bool answered = ChooseFile(dialog, title, file);
    SendMessageA(dialog, WM_NULL, 0, 0);  // served once the click's handler has returned
    return answered;
}

std::string TemporaryFile() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "__temp__.ini";
}

// Runs Setting with `owner` while `user` plays the user in the dialog it opens.
int RunSetting(const Stage& s, HWND owner, const char* title, const std::function<void(HWND)>& user) {
    Script script([&] {
        HWND dialog = WaitForWindow("#32770", title, 5000);
        // Found while it is being made: wait until it is shown.
        for (int i = 0; i < 250 && dialog && !IsWindowVisible(dialog); ++i) Sleep(20);
        ok(dialog && IsWindowVisible(dialog), "no dialog \"%s\" opened", title);
        if (!dialog) return;
        user(dialog);
        if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const int result = s.setting(owner);
    script.Finish();
    PumpFor(50);  // the owner's posted messages
    return result;
}

// Import and Export, through the system's open and save dialogs.
void CheckImportAndExport(const Stage& s, HWND owner, const std::string& own) {
    // Import shows a file's values (defaults for what it lacks); Cancel keeps the records.
    const std::string before = ReadText(own);
    WriteText(s.File("import.ini"), "[IPVEXA]\r\nOPVEXA=AB\r\n");
    gSettingsChanged = 0;
    bool imported = false;
    RunSetting(s, owner, kTuningTitle, [&](HWND d) {
        ok(Text(d, IDC_V_GAMMA) == "1.235" && Text(d, IDC_B_AWB_AVERAGE) == "1.000",
           "the applied values are not shown: \"%s\" \"%s\"", Text(d, IDC_V_GAMMA).c_str(),
           Text(d, IDC_B_AWB_AVERAGE).c_str());
        imported = ChooseAfter(d, IDC_IMPORT, "Open", s.File("import.ini"));
        const struct {
            int id;
            const char* expected;
        } shown[] = {
            {IDC_OP_VEXA, "AB"}, {IDC_V_GAMMA, "0.700"}, {IDC_OP_BEFORE, "123"}, {IDC_OP_AFTER, ""},
            {IDC_B_AWB_AVERAGE, "0.500"}, {IDC_B_AL_OVERFLOW, "251"}, {IDC_V_SHIFT, "10"}, {IDC_JPEG, "80"},
        };
        for (const auto& c : shown)
            ok(Text(d, c.id) == c.expected, "after Import control %d shows \"%s\", expected \"%s\"", c.id,
               Text(d, c.id).c_str(), c.expected);
        ok(Checked(d, IDC_V_TVNG) && Checked(d, IDC_B_AWB_ANTI_OVER), "imported radios not the defaults");
    });
    ok(imported, "the open dialog was not answered");
    ok(gSettingsChanged == 0 && ReadText(own) == before, "Import then Cancel changed the settings file");
    ok(ReadText(TemporaryFile()) == "<missing>", "__temp__.ini left behind");

    // Export writes the controls' values to the chosen file and the set's own
    // file; the records keep theirs (the next opening shows them).
    bool exported = false;
    RunSetting(s, owner, kTuningTitle, [&](HWND d) {
        ok(Text(d, IDC_OP_VEXA) == "CHE" && Text(d, IDC_V_GAMMA) == "1.235", "Import then Cancel changed the records");
        Type(d, IDC_V_GAMMA, "2.5");
        Type(d, IDC_OP_BEFORE, "12");
        exported = ChooseAfter(d, IDC_EXPORT, "Save As", s.File("export.ini"));
    });
    ok(exported, "the save dialog was not answered");
    ok(gSettingsChanged == 0, "Export posted %d settings-changed messages", gSettingsChanged);
    for (const std::string& file : {s.File("export.ini"), own}) {
        ok(Profile(file, "IPVEXA", "Gamma") == "2.500" && Profile(file, "IPBefore", "OPBefore") == "12" &&
               Profile(file, "IPVEXA", "OPVEXA") == "CHE",
           "%s holds Gamma=%s OPBefore=%s", file.c_str(), Profile(file, "IPVEXA", "Gamma").c_str(),
           Profile(file, "IPBefore", "OPBefore").c_str());
    }
    ok(ReadText(TemporaryFile()) == "<missing>", "__temp__.ini left behind");
}

void TestOpenEditAndApply(HWND owner) {
    Stage s("prism-tuning-", false);
    if (!s.module) return;
    s.Convert(1);
    const std::string own = s.File("TWain02.ini");
    gSettingsChanged = 0;
    int changesDuringDialog = -1;
    const int result = RunSetting(s, owner, kTuningTitle, [&](HWND d) {
        ok(Text(d, IDC_SENSOR_TYPE) == "SensorType = Pixart", "sensor label \"%s\"", Text(d, IDC_SENSOR_TYPE).c_str());
        ok(Enabled(d, IDOK) && Enabled(d, IDC_APPLY), "OK and Apply not enabled after loading");
        ok(!Enabled(d, IDC_AUREL) && Checked(d, IDC_VEXA) && !Checked(d, IDC_AUREL), "Aurel/VEXA radios not as loaded");
        ok(Text(d, IDC_OP_BEFORE) == "123" && Text(d, IDC_OP_VEXA) == "C" && Text(d, IDC_OP_AFTER) == "",
           "strings \"%s\" \"%s\" \"%s\"", Text(d, IDC_OP_BEFORE).c_str(), Text(d, IDC_OP_VEXA).c_str(),
           Text(d, IDC_OP_AFTER).c_str());
        ok(Text(d, IDC_V_GAMMA) == "0.700" && Text(d, IDC_A_CM + 1) == "-0.188" && Text(d, IDC_V_ONE_UM + 4) == "60",
           "VEXA Gamma \"%s\", After CM_12 \"%s\", OneUM_22 \"%s\"", Text(d, IDC_V_GAMMA).c_str(),
           Text(d, IDC_A_CM + 1).c_str(), Text(d, IDC_V_ONE_UM + 4).c_str());
        ok(Checked(d, IDC_V_TVNG) && !Checked(d, IDC_V_BILINEAR) && Checked(d, IDC_B_AWB_ANTI_OVER),
           "radios not filled from Interpolation=1, AWB_Type=1");
        // Narrow at first: the After page's area begins at the right edge.
        const RECT after = Area(d, IDC_AFTER_AREA);
        ok(ClientWidth(d) == after.left && Text(d, IDC_WIDTH_TOGGLE) == "AfterIP >>",
           "narrow width %d (After area at %ld), toggle \"%s\"", ClientWidth(d), after.left,
           Text(d, IDC_WIDTH_TOGGLE).c_str());
        Press(d, IDC_WIDTH_TOGGLE);
        ok(ClientWidth(d) == Area(d, IDC_AFTER_AREA).right && Text(d, IDC_WIDTH_TOGGLE) == "AfterIP <<",
           "wide width %d, toggle \"%s\"", ClientWidth(d), Text(d, IDC_WIDTH_TOGGLE).c_str());
        Press(d, IDC_WIDTH_TOGGLE);
        ok(ClientWidth(d) == after.left, "narrowed again to %d", ClientWidth(d));

        const struct {
            int id;
            const char* typed;
        } edits[] = {
            {IDC_V_GAMMA, "1.23456"},         // three decimals in the file
            {IDC_B_AWB_AVERAGE, "1.5"},       // limited to 1
            {IDC_V_AWB_AVERAGE, "-2"},        // limited to 0
            {IDC_B_AL_NOISE, "-5"},           // unsigned: a minus sign reads as 0
            {IDC_V_BLUR, "abc"},              // not a number: stays 256
            {IDC_V_SHIFT, "-7"},              // decimal: signed
            {IDC_A_GAMMA_AFTER, "0.4567891234"},  // read from 9 characters: 0.4567891
            {IDC_V_TWO_UM + 8, "12345678901"},    // read from 9 characters
            {IDC_OP_VEXA, "CHE"},
        };
        for (const auto& e : edits) Type(d, e.id, e.typed);
        SendMessageA(Control(d, IDC_V_BILINEAR), BM_CLICK, 0, 0);
        SendMessageA(Control(d, IDC_B_AWB_NORMAL), BM_CLICK, 0, 0);
        Press(d, IDC_APPLY);
        ok(!Enabled(d, IDOK) && !Enabled(d, IDC_APPLY), "OK and Apply still enabled after Apply");
        Type(d, IDC_V_GAMMA2, "0.9");
        ok(Enabled(d, IDOK) && Enabled(d, IDC_APPLY), "an edit did not enable OK and Apply");
        changesDuringDialog = gSettingsChanged;
    });
    ok(result == 0, "Setting after Cancel returned %d, expected 0", result);
    ok(changesDuringDialog >= 0 && gSettingsChanged == 1, "owner got %d settings-changed messages, expected 1",
       gSettingsChanged);
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } stored[] = {
        {"IPVEXA", "Gamma", "1.235"},       {"IPBefore", "AWB_Average", "1.000"}, {"IPVEXA", "AWB_Average", "0.000"},
        {"IPBefore", "AL_Noise", "0"},      {"IPVEXA", "Blur", "256"},            {"IPVEXA", "Shift", "-7"},
        {"IPBefore", "GammaAfter", "0.457"}, {"IPVEXA", "TwoUM_33", "123456789"},  {"IPVEXA", "OPVEXA", "CHE"},
        {"IPVEXA", "Interpolation", "0"},   {"IPBefore", "AWB_Type", "0"},        {"IP", "VEXAOnly", "1"},
        {"IPVEXA", "Gamma2", "0.800"},  // edited after Apply, then cancelled
        {"IPBefore", "Gamma", "0.700"},
    };
    for (const auto& k : stored)
        ok(Profile(own, k.section, k.key) == k.expected, "[%s] %s=%s, expected %s", k.section, k.key,
           Profile(own, k.section, k.key).c_str(), k.expected);
    const std::string text = ReadText(own);
    ok(text.find("[IP]") == 0 && text.find("[IPBefore]") < text.find("[IPAfter]") &&
           text.find("[IPAfter]") < text.find("[IPVEXA]"),
       "sections out of order:\n%s", text.c_str());

    // The system's open and save dialogs cannot run under emulation.
    if (!wine_test::LeftOut("open, edit, apply: import and export")) CheckImportAndExport(s, owner, own);
    gSettingsChanged = 0;
    const int okResult = RunSetting(s, owner, kTuningTitle, [&](HWND d) {
        ok(Text(d, IDC_V_GAMMA) == "1.235" && Text(d, IDC_OP_BEFORE) == "123",
           "Export changed the records: Gamma \"%s\", OPBefore \"%s\"", Text(d, IDC_V_GAMMA).c_str(),
           Text(d, IDC_OP_BEFORE).c_str());
        PostMessageA(d, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 250 && IsWindow(d); ++i) Sleep(20);
    });
    ok(okResult == 1 && gSettingsChanged == 1, "OK returned %d and posted %d messages", okResult, gSettingsChanged);
    ok(Profile(own, "IPVEXA", "Gamma") == "1.235", "OK did not save the records' Gamma (%s)",
       Profile(own, "IPVEXA", "Gamma").c_str());
}

// An export whose file cannot be written says so, naming the file.
void TestExportToUnwritableFile(HWND owner) {
    Stage s("prism-tuning-locked-", false);
    if (!s.module) return;
    s.Convert(0);
    const std::string locked = s.File("locked.ini");
    WriteText(locked, "[IP]\r\nJPEG=5\r\n");
    // Held open without sharing: nobody else can write it (a read-only
    // attribute would not stop root, as the tests may run).
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ok(lock != INVALID_HANDLE_VALUE, "cannot hold %s open", locked.c_str());
    std::string message;
    RunSetting(s, owner, kTuningTitle, [&](HWND d) {
        PostMessageA(d, WM_COMMAND, IDC_EXPORT, 0);
        HWND chooser = WaitForOwnedDialog(d, "Save As", 5000);
        ok(chooser != nullptr, "no save dialog");
        if (!chooser) return;
        for (int id : {0x47c, 0x480})
            if (HWND box = GetDlgItem(chooser, id)) SendMessageA(box, WM_SETTEXT, 0, LPARAM(locked.c_str()));
        PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        // The replace question of the save dialog, then our message.
        for (int round = 0; round < 2 && message.empty(); ++round) {
            HWND box = nullptr;
            for (int i = 0; i < 250 && !box; ++i) {
                box = WaitForOwnedDialog(chooser, "Error", 20);  // Wine's replace question
                if (!box) box = WaitForOwnedDialog(chooser, "Save As", 20);
                if (!box) box = WaitForOwnedDialog(d, kTuningTitle, 20);
            }
            if (!box) break;
            const std::string text = MessageText(box);
            if (text.find("could not be written") != std::string::npos) message = text;
            PostMessageA(box, WM_COMMAND, text == message ? IDOK : IDYES, 0);
            for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
        }
        SendMessageA(d, WM_NULL, 0, 0);
    });
    CloseHandle(lock);
    ok(message == "The settings could not be written to " + locked + ".", "message \"%s\"", message.c_str());
    ok(ReadText(locked) == "[IP]\r\nJPEG=5\r\n", "the locked file changed");
    ok(ReadText(s.File("TWain01.ini")) == "<missing>", "a failed export wrote the set's own file");
}

// Delegated mode: the JPEG quality on a slider; Cancel changes nothing, OK
// stores the slider's position.
void TestJpegQuality() {
    const struct {
        const char* ini;
        const char* text;
        int slider;
    } cases[] = {
        {"[IP]\r\nJPEG=65\r\n", "65", 65},
        {"[IP]\r\nJPEG=abc\r\n", "0", 1},  // shown as stored; the slider at its nearest end
    };
    for (const auto& c : cases) {
        Stage s("prism-quality-", true, c.ini);
        if (!s.module) return;
        auto slider = [](HWND d) { return Control(d, IDC_QUALITY_SLIDER); };
        auto moveTo = [&](HWND d, int position) {
            SendMessageA(slider(d), TBM_SETPOS, TRUE, position);
            SendMessageA(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), LPARAM(slider(d)));
        };
        int result = RunSetting(s, nullptr, "IP Setting", [&](HWND d) {
            ok(Text(d, IDC_QUALITY_TEXT) == c.text, "quality text \"%s\", expected %s", Text(d, IDC_QUALITY_TEXT).c_str(),
               c.text);
            const LRESULT position = SendMessageA(slider(d), TBM_GETPOS, 0, 0);
            ok(position == c.slider, "slider at %ld, expected %d", long(position), c.slider);
            moveTo(d, 30);
            ok(Text(d, IDC_QUALITY_TEXT) == "30", "text \"%s\" after moving to 30", Text(d, IDC_QUALITY_TEXT).c_str());
        });
        ok(result == 1, "Setting returned %d after Cancel, expected 1", result);
        ok(ReadText(s.File("TWain.ini")) == c.ini, "Cancel changed TWain.ini");
        result = RunSetting(s, nullptr, "IP Setting", [&](HWND d) {
            ok(Text(d, IDC_QUALITY_TEXT) == c.text, "Cancel changed the quality in memory (\"%s\")",
               Text(d, IDC_QUALITY_TEXT).c_str());
            moveTo(d, 42);
            PostMessageA(d, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 250 && IsWindow(d); ++i) Sleep(20);
        });
        ok(result == 1, "Setting returned %d after OK, expected 1", result);
        ok(Profile(s.File("TWain.ini"), "IP", "JPEG") == "42", "OK stored JPEG=%s, expected 42",
           Profile(s.File("TWain.ini"), "IP", "JPEG").c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: prism_dialogs_test PRISM_DLL KILN_DLL [SCENARIO]\n");
        return 2;
    }
    gPrismDll = argv[1];
    gKilnDll = argv[2];
    setvbuf(stdout, nullptr, _IONBF, 0);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PrismDialogsTestOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA(wc.lpszClassName, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
    // Runs the scenarios whose name holds the third argument, or all.
    const char* only = argc > 3 ? argv[3] : "";
    auto run = [only](const char* name, const std::function<void()>& scenario) {
        if (!std::strstr(name, only) || wine_test::LeftOut(name)) return;
        std::printf("%s\n", name);
        scenario();
    };
    run("open, edit, apply", [owner] { TestOpenEditAndApply(owner); });
    run("unwritable export", [owner] { TestExportToUnwritableFile(owner); });
    run("jpeg quality", [] { TestJpegQuality(); });
    DestroyWindow(owner);
    return wine_test::Finish();
}
