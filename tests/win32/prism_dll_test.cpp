// Prism.dll as a caller sees it: the six exports by name and by ordinal with
// no decorated names, conversions in built-in mode, delegated mode through
// the test converter, and the message that Setting shows before any conversion.
//   prism_dll_test PRISM_DLL KILN_DLL
#include <windows.h>

#include "platform/platform.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "prism_api.h"
#include "scene.h"
#include "wine_test.h"

namespace {

const char* const kExportNames[6] = {"BmpToJpg", "BufToBmp", "BufToJpg", "GetSEOnOff", "SetSEOnOff", "Setting"};

std::string gPrismDll;
std::string gKilnDll;

struct Prism {
    HMODULE module = nullptr;
    BufToFileEntry bufToBmp = nullptr;
    BufToFileEntry bufToJpg = nullptr;
    BmpToJpgEntry bmpToJpg = nullptr;
    SettingEntry setting = nullptr;
    GetSEOnOffEntry getSE = nullptr;
    SetSEOnOffEntry setSE = nullptr;
};

std::string MakeFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // Unique per run: process ids repeat between runs in a fresh wineserver.
    std::string folder = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(GetTickCount64());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD read = 0;
    ReadFile(f, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(f);
    bytes.resize(read);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteText(const std::string& path, const std::string& text) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(f);
}

// Loads a copy of Prism.dll placed in folder (with the converter when asked).
Prism LoadPrismIn(const std::string& folder, bool withConverter) {
    CopyFileA(gPrismDll.c_str(), (folder + "\\Prism.dll").c_str(), FALSE);
    if (withConverter) CopyFileA(gKilnDll.c_str(), (folder + "\\Kiln.DLL").c_str(), FALSE);
    Prism p;
    p.module = LoadLibraryA((folder + "\\Prism.dll").c_str());
    ok(p.module != nullptr, "Prism.dll in %s did not load (error %lu)", folder.c_str(), GetLastError());
    if (!p.module) return p;
    p.bmpToJpg = platform::FindEntryAs<BmpToJpgEntry>(p.module, "BmpToJpg");
    p.bufToBmp = platform::FindEntryAs<BufToFileEntry>(p.module, "BufToBmp");
    p.bufToJpg = platform::FindEntryAs<BufToFileEntry>(p.module, "BufToJpg");
    p.getSE = platform::FindEntryAs<GetSEOnOffEntry>(p.module, "GetSEOnOff");
    p.setSE = platform::FindEntryAs<SetSEOnOffEntry>(p.module, "SetSEOnOff");
    p.setting = platform::FindEntryAs<SettingEntry>(p.module, "Setting");
    return p;
}

// The names in the DLL's export directory.
std::vector<std::string> ExportedNames(HMODULE module) {
    auto base = reinterpret_cast<const std::uint8_t*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        result.push_back(reinterpret_cast<const char*>(base + names[i]));
    return result;
}

void TestExports(const std::string& folder) {
    Prism p = LoadPrismIn(folder, false);
    if (!p.module) return;
    for (int ordinal = 1; ordinal <= 6; ++ordinal) {
        FARPROC byName = GetProcAddress(p.module, kExportNames[ordinal - 1]);
        FARPROC byOrdinal = GetProcAddress(p.module, MAKEINTRESOURCEA(ordinal));
        ok(byName != nullptr, "export %s not found by name", kExportNames[ordinal - 1]);
        ok(byName == byOrdinal, "ordinal %d is not %s", ordinal, kExportNames[ordinal - 1]);
    }
    const std::vector<std::string> names = ExportedNames(p.module);
    ok(names.size() == 6, "got %u exported names, expected 6", unsigned(names.size()));
    for (const std::string& name : names)
        ok(name.find('@') == std::string::npos && name[0] != '_', "decorated name exported: %s", name.c_str());
    FreeLibrary(p.module);
}

// Keeps the last non-empty static text of a message box.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM out) {
    char cls[32];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        char t[256];
        GetWindowTextA(child, t, sizeof t);
        if (t[0]) lstrcpynA(reinterpret_cast<char*>(out), t, 256);
    }
    return TRUE;
}

// Closes the first dialog with that caption (by OK) and reports its text.
struct MessageBoxWatcher {
    std::string caption;
    std::string text;
    bool found = false;
    HANDLE thread = nullptr;

    static DWORD WINAPI Watch(void* self) {
        auto* w = static_cast<MessageBoxWatcher*>(self);
        for (int i = 0; i < 200; ++i) {
            HWND box = FindWindowA("#32770", w->caption.c_str());
            if (box) {
                w->found = true;
                char text[256] = {};
                EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(text));
                w->text = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(50);
        }
        return 0;
    }

    void Start(const char* c) {
        caption = c;
        thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    void Join() {
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
    }
};

void TestBuiltInMode(const std::string& folder) {
    Prism p = LoadPrismIn(folder, false);
    if (!p.module) return;

    MessageBoxWatcher watcher;
    watcher.Start("Image Process");
    const int settingResult = p.setting(nullptr);
    watcher.Join();
    ok(settingResult == 0, "Setting before any conversion returned %d, expected 0", settingResult);
    ok(watcher.text == "Sensor cannot decided. Please capture some picture first.",
       "Setting showed \"%s\"", watcher.text.c_str());

    std::vector<std::uint8_t> frame = RenderSceneRaw(Scene::ToneChart, 640, 480);
    frame.resize(frame.size() + 128);
    const std::string bmp = folder + "\\chart.bmp";
    const std::string jpg = folder + "\\chart.jpg";
    ok(p.bufToBmp(640, 480, frame.data(), bmp.c_str(), 0, 0) == 1, "BufToBmp failed");
    const std::vector<std::uint8_t> bmpBytes = ReadAll(bmp);
    ok(bmpBytes.size() == 921654, "BMP has %u bytes, expected 921654", unsigned(bmpBytes.size()));
    ok(p.bufToJpg(640, 480, frame.data(), jpg.c_str(), 0, 0) == 1, "BufToJpg failed");
    const std::vector<std::uint8_t> jpgBytes = ReadAll(jpg);
    ok(jpgBytes.size() > 2 && jpgBytes[0] == 0xFF && jpgBytes[1] == 0xD8, "JPEG file does not start with SOI");

    ok(p.bufToJpg(640, 480, frame.data(), jpg.c_str(), 0, 3) == 0, "set index 3 was accepted");
    ok(p.bufToJpg(800, 600, frame.data(), (folder + "\\big.jpg").c_str(), 0, 0) == 0, "800 x 600 was accepted");
    ok(!Exists(folder + "\\big.jpg"), "a refused conversion left a file");
    ok(p.bmpToJpg(640, 480, bmp.c_str(), (folder + "\\again.jpg").c_str(), 0, 1) == 1, "BmpToJpg failed");
    ok(p.setSE(5) == 5 && p.getSE() == 5, "SetSEOnOff(5) / GetSEOnOff did not give 5");
    FreeLibrary(p.module);
}

void TestDelegatedMode(const std::string& folder) {
    Prism p = LoadPrismIn(folder, true);
    if (!p.module) return;
    const int width = 8, height = 4;
    std::vector<std::uint8_t> frame(width * height + 128);
    for (int i = 0; i < width * height; ++i) frame[i] = std::uint8_t(10 * i);
    const std::string bmp = folder + "\\kiln.bmp";
    ok(p.bufToBmp(width, height, frame.data(), bmp.c_str(), 3, 0) == 1, "delegated BufToBmp failed");
    const std::vector<std::uint8_t> bytes = ReadAll(bmp);
    ok(bytes.size() == 54 + std::size_t(width) * height * 3, "delegated BMP has %u bytes", unsigned(bytes.size()));
    bool same = bytes.size() == 54 + std::size_t(width) * height * 3;
    for (int i = 0; same && i < width * height; ++i) {
        const std::uint8_t* px = bytes.data() + 54 + 3 * i;
        same = px[0] == frame[i] && px[1] == frame[i] / 2 && px[2] == 255 - frame[i];
    }
    ok(same, "delegated BMP pixels are not the converter's, unflipped");
    MessageBoxWatcher watcher;  // the JPEG-quality dialog (its own test drives it)
    watcher.Start("IP Setting");
    const int settingResult = p.setting(nullptr);
    watcher.Join();
    ok(settingResult == 1 && watcher.found, "delegated Setting returned %d (dialog seen %d), expected 1",
       settingResult, watcher.found);

    frame[0] = 0xE7;  // the test converter answers 7, which BufToBmp passes on
    const int seven = p.bufToBmp(width, height, frame.data(), (folder + "\\seven.bmp").c_str(), 0, 0);
    ok(seven == 7, "delegated BufToBmp returned %d, expected the converter's 7", seven);
    frame[0] = 0xEE;  // the test converter refuses this frame
    const std::string refused = folder + "\\refused.jpg";
    ok(p.bufToJpg(width, height, frame.data(), refused.c_str(), 0, 0) == 0, "refused conversion reported success");
    ok(!Exists(refused), "refused conversion left %s", refused.c_str());
    const std::string converter = folder + "\\Kiln.DLL";
    ok(GetModuleHandleA(converter.c_str()) != nullptr, "the converter is not loaded");
    FreeLibrary(p.module);
    ok(GetModuleHandleA(converter.c_str()) == nullptr, "the converter outlived Prism.dll");
}

// The settings files beside the loaded copy are the ones that count.
void TestSettingsBesideTheLibrary(const std::string& folder) {
    WriteText(folder + "\\TWain01.ini", "[IPBefore]\r\nSaveRawData=1\r\n[IPVEXA]\r\nOPVEXA=\r\n");
    Prism p = LoadPrismIn(folder, false);
    if (!p.module) return;
    const int width = 16, height = 8;
    std::vector<std::uint8_t> frame(width * height + 128, 90);
    const std::string bmp = folder + "\\plain.bmp";
    ok(p.bufToBmp(width, height, frame.data(), bmp.c_str(), 0, 0) == 1, "BufToBmp failed");
    const std::vector<std::uint8_t> bytes = ReadAll(bmp);
    bool black = bytes.size() == 54 + std::size_t(width) * height * 3;
    for (std::size_t i = 54; black && i < bytes.size(); ++i) black = bytes[i] == 0;
    ok(black, "the empty letter string of TWain01.ini was not used (%u bytes)", unsigned(bytes.size()));
    ok(p.bufToJpg(width, height, frame.data(), (folder + "\\plain.jpg").c_str(), 0, 0) == 1, "BufToJpg failed");
    ok(ReadAll(folder + "\\plain.bin").size() == frame.size(), "SaveRawData=1 of TWain01.ini wrote no raw dump");
    FreeLibrary(p.module);
}

// A copy in a folder whose path is longer than MAX_PATH still knows its own
// folder: a converter planted in the current directory is never loaded.
void TestLongFolder(const std::string& folder) {
    std::wstring longFolder = L"\\\\?\\" + std::wstring(folder.begin(), folder.end());
    for (int i = 0; i < 3; ++i) {
        longFolder += L"\\" + std::wstring(100, L'a' + i);
        CreateDirectoryW(longFolder.c_str(), nullptr);
    }
    const std::wstring dll = longFolder + L"\\Prism.dll";
    const std::wstring prismSource(gPrismDll.begin(), gPrismDll.end());
    ok(CopyFileW(prismSource.c_str(), dll.c_str(), FALSE) != FALSE, "copy into the long folder failed (%lu)",
       GetLastError());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(folder.c_str());
    CopyFileA(gKilnDll.c_str(), (folder + "\\Kiln.DLL").c_str(), FALSE);  // planted beside the caller
    HMODULE module = LoadLibraryW(dll.c_str());
    SetCurrentDirectoryA(current);
    ok(module != nullptr, "Prism.dll in a long folder did not load (error %lu)", GetLastError());
    if (!module) return;
    ok(GetModuleHandleA((folder + "\\Kiln.DLL").c_str()) == nullptr, "Kiln.DLL was loaded from the current directory");
    auto bufToBmp = platform::FindEntryAs<BufToFileEntry>(module, "BufToBmp");
    std::vector<std::uint8_t> frame(8 * 4 + 128, 0xE7);  // the converter would answer 7
    ok(bufToBmp && bufToBmp(8, 4, frame.data(), (folder + "\\long.bmp").c_str(), 0, 0) == 1,
       "BufToBmp did not run in built-in mode");
    FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: prism_dll_test PRISM_DLL KILN_DLL\n");
        return 2;
    }
    gPrismDll = argv[1];
    gKilnDll = argv[2];
    TestExports(MakeFolder("prism-exports-"));
    TestBuiltInMode(MakeFolder("prism-builtin-"));
    TestDelegatedMode(MakeFolder("prism-delegated-"));
    TestSettingsBesideTheLibrary(MakeFolder("prism-settings-"));
    TestLongFolder(MakeFolder("prism-long-"));
    return wine_test::Finish();
}
