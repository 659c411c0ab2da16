// CLetterParams defaults, Load and Save: section "IPVEXA", keys in field order.
#include "letter_params.h"

#include <cstring>

#include "settings_keys.h"

namespace {

constexpr const char* kSection = "IPVEXA";
constexpr int kDefaultUnsharpMask[9] = {-2, -3, -2, -3, 40, -3, -2, -3, -2};
constexpr int kDefaultOneUM[9] = {0, 0, -3, 0, 60, -4, -3, -4, -5};
constexpr int kDefaultTwoUM[9] = {0, 0, -3, 0, 40, -4, -3, -4, -5};

template <class Record, class Visit>
void VisitKeys(Record& r, Visit& v) {
    using namespace settings_keys;
    v(kSection, "OPVEXA", r.OPVEXA);
    Table(kSection, kUnsharpMask, r.UnsharpMask, v);
    v(kSection, "Interpolation", r.Interpolation);
    v(kSection, "Blur", r.Blur);
    v(kSection, "SharpenBlurGain", r.SharpenBlurGain);
    v(kSection, "SharpenBlurThreshold", r.SharpenBlurThreshold);
    v(kSection, "Gamma", r.Gamma);
    v(kSection, "Gamma2", r.Gamma2);
    v(kSection, "GammaSCurve", r.GammaSCurve);
    v(kSection, "GammaLeft", r.GammaLeft);
    Table(kSection, kColourMatrix, r.CM, v);
    v(kSection, "Shift", r.Shift);
    v(kSection, "CE_Saturation", r.CE_Saturation);
    v(kSection, "AWB_Overflow", r.AWB_Overflow);
    v(kSection, "AWB_Noise", r.AWB_Noise);
    v(kSection, "AWB_Percent_R", r.AWB_Percent_R);
    v(kSection, "AWB_Saturation", r.AWB_Saturation);
    v(kSection, "AWB_Curve", r.AWB_Curve);
    v(kSection, "AWB_Left", r.AWB_Left);
    v(kSection, "AWB_Average", r.AWB_Average);
    v(kSection, "AWB_AvgType", r.AWB_AvgType);
    v(kSection, "AWB_Type", r.AWB_Type);
    v(kSection, "WeightR", r.WeightR);
    v(kSection, "WeightG", r.WeightG);
    v(kSection, "WeightB", r.WeightB);
    v(kSection, "2LevelThreshold", r.TwoLevelThreshold);
    Table(kSection, kOneUM, r.OneUM, v);
    Table(kSection, kTwoUM, r.TwoUM, v);
}

}  // namespace

namespace settings_keys {
const char* const kUnsharpMask[9] = {"UnsharpMask00", "UnsharpMask01", "UnsharpMask02",
                                     "UnsharpMask10", "UnsharpMask11", "UnsharpMask12",
                                     "UnsharpMask20", "UnsharpMask21", "UnsharpMask22"};
const char* const kColourMatrix[9] = {"CM_11", "CM_12", "CM_13", "CM_21", "CM_22",
                                      "CM_23", "CM_31", "CM_32", "CM_33"};
const char* const kOneUM[9] = {"OneUM_11", "OneUM_12", "OneUM_13", "OneUM_21", "OneUM_22",
                               "OneUM_23", "OneUM_31", "OneUM_32", "OneUM_33"};
const char* const kTwoUM[9] = {"TwoUM_11", "TwoUM_12", "TwoUM_13", "TwoUM_21", "TwoUM_22",
                               "TwoUM_23", "TwoUM_31", "TwoUM_32", "TwoUM_33"};
}  // namespace settings_keys

void CLetterParams::SetDefaults() {
    std::strcpy(OPVEXA, "C");
    std::memcpy(UnsharpMask, kDefaultUnsharpMask, sizeof UnsharpMask);
    Interpolation = 1;
    Blur = 256;
    SharpenBlurGain = 80;
    SharpenBlurThreshold = 128;
    Gamma = 0.7;
    Gamma2 = 0.8;
    GammaSCurve = 1.0;
    GammaLeft = 0.5;
    std::memcpy(CM, settings_keys::kDefaultColourMatrix, sizeof CM);
    Shift = 10;
    CE_Saturation = 20;
    AWB_Overflow = 251;
    AWB_Noise = 0;
    AWB_Percent_R = 1;
    AWB_Saturation = 500;
    AWB_Curve = 1.0;
    AWB_Left = 0.5;
    AWB_Average = 0.75;
    AWB_AvgType = 0;
    AWB_Type = 1;
    WeightR = WeightG = WeightB = 1000;
    TwoLevelThreshold = 100;
    std::memcpy(OneUM, kDefaultOneUM, sizeof OneUM);
    std::memcpy(TwoUM, kDefaultTwoUM, sizeof TwoUM);
}

void CLetterParams::Load(const char* path) {
    const platform::ProfileFile file(path);  // read once for every key
    settings_keys::Reader read{file};
    VisitKeys(*this, read);
}

void CLetterParams::Save(const char* path) const {
    platform::ProfileFile file(path);
    settings_keys::Writer write{file};
    VisitKeys(*this, write);
    file.Commit();  // written once, after every key
}

void CLetterParams::WalkKeys(KeyVisitor& visit) { VisitKeys(*this, visit); }
