// "Before IP :" page: each control and its key. AWB_Saturation has no control
// here and keeps its value.
#include "before_page.h"

#include "dialog_ids.h"
#include "field_kinds.h"

namespace {
constexpr int kAwbType[2] = {IDC_B_AWB_NORMAL, IDC_B_AWB_ANTI_OVER};
}

template <class Record, class Fields>
void BeforePage::Bind(Record& r, const Fields& f) {
    f.Text(IDC_OP_BEFORE, r.OPBefore);
    f.Unsigned(IDC_B_AWB_OVERFLOW, r.AWB_Overflow);
    f.Unsigned(IDC_B_AWB_NOISE, r.AWB_Noise);
    f.Unsigned(IDC_B_AWB_PERCENT_R, r.AWB_Percent_R);
    f.ThreeDecimal(IDC_B_AWB_LARGE_COLOR, r.AWB_LargeColor);
    f.Unsigned(IDC_B_AWB_LARGE_SUB, r.AWB_LargeSub);
    f.ThreeDecimal(IDC_B_AWB_VALUE_LIMIT, r.AWB_ValueLimit);
    f.Fraction(IDC_B_AWB_AVERAGE, r.AWB_Average);
    f.Radios(kAwbType, 2, r.AWB_Type);
    f.Unsigned(IDC_B_AL_OVERFLOW, r.AL_Overflow);
    f.Unsigned(IDC_B_AL_NOISE, r.AL_Noise);
    f.Unsigned(IDC_B_AL_PERCENT_L, r.AL_Percent_L);
    f.Unsigned(IDC_B_AL_LIMIT_L, r.AL_Limit_L);
    f.Unsigned(IDC_B_AL_PERCENT_R, r.AL_Percent_R);
    f.Unsigned(IDC_B_AL_LIMIT_R, r.AL_Limit_R);
    f.ThreeDecimal(IDC_B_GAMMA, r.Gamma);
    f.ThreeDecimal(IDC_B_GAMMA2, r.Gamma2);
    f.ThreeDecimal(IDC_B_GAMMA_S, r.GammaS);
    f.ThreeDecimal(IDC_B_GAMMA_L, r.GammaL);
    f.Decimal(IDC_B_SHIFT, r.Shift);
    f.Unsigned(IDC_B_WEIGHT_R, r.WeightR);
    f.Unsigned(IDC_B_WEIGHT_G, r.WeightG);
    f.Unsigned(IDC_B_WEIGHT_B, r.WeightB);
}

void BeforePage::Fill(const CStageParams& params) const { Bind(params, FillFields(*this)); }
void BeforePage::Read(CStageParams& params) const { Bind(params, ReadFields(*this)); }
