// CLetterParams: the settings of the letter stages of one setting set
// (section "IPVEXA" of TWain0N.ini).
#pragma once

#include "ini_file.h"
#include "key_visitor.h"

class CLetterParams : public CIniFile {
public:
    void SetDefaults();
    void Load(const char* path);
    void Save(const char* path) const;
    // Every key in file order.
    void WalkKeys(KeyVisitor& visit);

    char OPVEXA[kIniPathCapacity];
    int UnsharpMask[9];  // UnsharpMask00 ... UnsharpMask22, row by row
    int Interpolation;
    int Blur;
    int SharpenBlurGain;
    int SharpenBlurThreshold;
    double Gamma;
    double Gamma2;
    double GammaSCurve;
    double GammaLeft;
    double CM[9];  // CM_11 ... CM_33, row by row
    int Shift;
    int CE_Saturation;
    int AWB_Overflow;
    int AWB_Noise;
    int AWB_Percent_R;
    int AWB_Saturation;
    double AWB_Curve;
    double AWB_Left;
    double AWB_Average;
    int AWB_AvgType;
    int AWB_Type;
    int WeightR;
    int WeightG;
    int WeightB;
    int TwoLevelThreshold;  // key "2LevelThreshold"
    int OneUM[9];           // OneUM_11 ... OneUM_33
    int TwoUM[9];           // TwoUM_11 ... TwoUM_33

    CLetterParams() { SetDefaults(); }
};
