// CStageParams defaults, Load and Save in the file's key order.
#include "stage_params.h"

#include <cstring>

#include "settings_keys.h"

namespace {

// Every key but VEXAOnly, in Load order (Save writes VEXAOnly first, then these).
template <class Record, class Visit>
void VisitKeys(Record& r, Visit& v) {
    v("IPBefore", "SaveRawData", r.SaveRawData);
    v("IP", "JPEG", r.JPEG);
    v("IPBefore", "OPBefore", r.OPBefore);
    v("IPAfter", "OPAfter", r.OPAfter);
    v("IPBefore", "AWB_Overflow", r.AWB_Overflow);
    v("IPBefore", "AWB_Noise", r.AWB_Noise);
    v("IPBefore", "AWB_Percent_R", r.AWB_Percent_R);
    v("IPBefore", "AWB_LargeColor", r.AWB_LargeColor);
    v("IPBefore", "AWB_LargeSub", r.AWB_LargeSub);
    v("IPBefore", "AWB_ValueLimit", r.AWB_ValueLimit);
    v("IPBefore", "AWB_Saturation", r.AWB_Saturation);
    v("IPBefore", "AWB_Average", r.AWB_Average);
    v("IPBefore", "AWB_Type", r.AWB_Type);
    v("IPBefore", "AL_Overflow", r.AL_Overflow);
    v("IPBefore", "AL_Noise", r.AL_Noise);
    v("IPBefore", "AL_Percent_L", r.AL_Percent_L);
    v("IPBefore", "AL_Limit_L", r.AL_Limit_L);
    v("IPBefore", "AL_Percent_R", r.AL_Percent_R);
    v("IPBefore", "AL_Limit_R", r.AL_Limit_R);
    v("IPBefore", "Gamma", r.Gamma);
    v("IPBefore", "Gamma2", r.Gamma2);
    v("IPBefore", "GammaS", r.GammaS);
    v("IPBefore", "GammaL", r.GammaL);
    v("IPBefore", "Shift", r.Shift);
    v("IPBefore", "WeightR", r.WeightR);
    v("IPBefore", "WeightG", r.WeightG);
    v("IPBefore", "WeightB", r.WeightB);
    v("IPAfter", "CE_Linear", r.CE_Linear);
    v("IPAfter", "CE_Saturation", r.CE_Saturation);
    settings_keys::Table("IPAfter", settings_keys::kColourMatrix, r.CM, v);
    v("IPBefore", "GammaAfter", r.GammaAfter);
}

}  // namespace

void CStageParams::SetDefaults() {
    std::strcpy(OPBefore, "123");
    OPAfter[0] = '\0';
    SaveRawData = 0;
    JPEG = 80;
    VEXAOnly = 1;
    AWB_Overflow = 251;
    AWB_Noise = 0;
    AWB_Percent_R = 1;
    AWB_LargeColor = 2.5;
    AWB_LargeSub = 50;
    AWB_ValueLimit = 2.0;
    AWB_Saturation = 500;
    AWB_Average = 0.5;
    AWB_Type = 1;
    AL_Overflow = 251;
    AL_Noise = 0;
    AL_Percent_L = 1;
    AL_Limit_L = 30;
    AL_Percent_R = 1;
    AL_Limit_R = 210;
    Gamma = 0.7;
    Gamma2 = 0.7;
    GammaS = 1.0;
    GammaL = 0.5;
    Shift = 10;
    WeightR = WeightG = WeightB = 1000;
    CE_Linear = 5;
    CE_Saturation = 20;
    std::memcpy(CM, settings_keys::kDefaultColourMatrix, sizeof CM);
    GammaAfter = 0.7;
}

void CStageParams::Load(const char* path) {
    VEXAOnly = 1;  // never read: the record always holds 1
    const platform::ProfileFile file(path);  // read once for every key
    settings_keys::Reader read{file};
    VisitKeys(*this, read);
}

void CStageParams::Save(const char* path) const {
    platform::ProfileFile file(path);
    settings_keys::Writer write{file};
    write("IP", "VEXAOnly", VEXAOnly);
    VisitKeys(*this, write);
    file.Commit();  // written once, after every key
}

void CStageParams::WalkKeys(KeyVisitor& visit) {
    visit("IP", "VEXAOnly", VEXAOnly);
    VisitKeys(*this, visit);
}
