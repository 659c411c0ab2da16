// CStageParams: the raw-plane and colour settings of one setting set
// (sections "IP", "IPBefore" and "IPAfter" of TWain0N.ini).
#pragma once

#include "ini_file.h"
#include "key_visitor.h"

class CStageParams : public CIniFile {
public:
    void SetDefaults();
    void Load(const char* path);
    void Save(const char* path) const;
    // Every key in Save order (VEXAOnly first).
    void WalkKeys(KeyVisitor& visit);

    char OPBefore[kIniPathCapacity];
    char OPAfter[kIniPathCapacity];
    int SaveRawData;
    int JPEG;
    int VEXAOnly;
    int AWB_Overflow;
    int AWB_Noise;
    int AWB_Percent_R;
    double AWB_LargeColor;
    int AWB_LargeSub;
    double AWB_ValueLimit;
    int AWB_Saturation;
    double AWB_Average;
    int AWB_Type;
    int AL_Overflow;
    int AL_Noise;
    int AL_Percent_L;
    int AL_Limit_L;
    int AL_Percent_R;
    int AL_Limit_R;
    double Gamma;
    double Gamma2;
    double GammaS;
    double GammaL;
    int Shift;
    int WeightR;
    int WeightG;
    int WeightB;
    int CE_Linear;
    int CE_Saturation;
    double CM[9];  // CM_11 ... CM_33, row by row
    double GammaAfter;

    CStageParams() { SetDefaults(); }
};
