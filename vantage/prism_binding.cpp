// Binding of Prism.dll's six exports; calls without a target fail.
#include "prism_binding.h"

#include "platform/platform.h"

void CPrismBinding::Bind(const std::string& folder) {
    if (module_) return;
    module_ = LoadLibraryA((folder + "\\Prism.dll").c_str());
    if (!module_) return;
    setting_ = platform::FindEntryAs<SettingEntry>(module_, "Setting");
    bufToBmp_ = platform::FindEntryAs<BufToFileEntry>(module_, "BufToBmp");
    bufToJpg_ = platform::FindEntryAs<BufToFileEntry>(module_, "BufToJpg");
    bmpToJpg_ = platform::FindEntryAs<BmpToJpgEntry>(module_, "BmpToJpg");
    getSE_ = platform::FindEntryAs<GetSEOnOffEntry>(module_, "GetSEOnOff");
    setSE_ = platform::FindEntryAs<SetSEOnOffEntry>(module_, "SetSEOnOff");
}

void CPrismBinding::Release() {
    if (module_) FreeLibrary(module_);
    *this = CPrismBinding();
}

int CPrismBinding::Setting(HWND owner) const { return setting_ ? setting_(owner) : 0; }

int CPrismBinding::BufToBmp(int width, int height, const unsigned char* raw, const char* path, int flip, int set) const {
    return bufToBmp_ ? bufToBmp_(width, height, raw, path, flip, set) : 0;
}

int CPrismBinding::BufToJpg(int width, int height, const unsigned char* raw, const char* path, int flip, int set) const {
    return bufToJpg_ ? bufToJpg_(width, height, raw, path, flip, set) : 0;
}

int CPrismBinding::BmpToJpg(int width, int height, const char* bmpPath, const char* jpgPath, int flip, int set) const {
    return bmpToJpg_ ? bmpToJpg_(width, height, bmpPath, jpgPath, flip, set) : 0;
}

int CPrismBinding::GetSEOnOff() const { return getSE_ ? getSE_() : 0; }
int CPrismBinding::SetSEOnOff(int on) const { return setSE_ ? setSE_(on) : 0; }
