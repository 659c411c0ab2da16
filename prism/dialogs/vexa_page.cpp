// "VEXA IP :" page: each control and its key.
#include "vexa_page.h"

#include "dialog_ids.h"
#include "field_kinds.h"

namespace {
constexpr int kInterpolation[4] = {IDC_V_BILINEAR, IDC_V_TVNG, IDC_V_BLUR_INTERPOLATION, IDC_V_TVNG_LINE};
constexpr int kAwbAvgType[2] = {IDC_V_AWB_THRESHOLD, IDC_V_AWB_S_CURVE};
constexpr int kAwbType[2] = {IDC_V_AWB_NORMAL, IDC_V_AWB_ANTI_OVER};
}  // namespace

template <class Record, class Fields>
void VexaPage::Bind(Record& r, const Fields& f) {
    f.Text(IDC_OP_VEXA, r.OPVEXA);
    f.DecimalGrid(IDC_V_UNSHARP_MASK, r.UnsharpMask);
    f.Radios(kInterpolation, 4, r.Interpolation);
    f.Decimal(IDC_V_BLUR, r.Blur);
    f.Decimal(IDC_V_SHARPEN_GAIN, r.SharpenBlurGain);
    f.Decimal(IDC_V_SHARPEN_THRESHOLD, r.SharpenBlurThreshold);
    f.ThreeDecimal(IDC_V_GAMMA, r.Gamma);
    f.ThreeDecimal(IDC_V_GAMMA2, r.Gamma2);
    f.ThreeDecimal(IDC_V_GAMMA_S_CURVE, r.GammaSCurve);
    f.ThreeDecimal(IDC_V_GAMMA_LEFT, r.GammaLeft);
    f.ThreeDecimalGrid(IDC_V_CM, r.CM);
    f.Decimal(IDC_V_SHIFT, r.Shift);
    f.Unsigned(IDC_V_CE_SATURATION, r.CE_Saturation);
    f.Unsigned(IDC_V_AWB_OVERFLOW, r.AWB_Overflow);
    f.Unsigned(IDC_V_AWB_NOISE, r.AWB_Noise);
    f.Unsigned(IDC_V_AWB_PERCENT_R, r.AWB_Percent_R);
    f.Radios(kAwbAvgType, 2, r.AWB_AvgType);
    f.Unsigned(IDC_V_AWB_SATURATION, r.AWB_Saturation);
    f.ThreeDecimal(IDC_V_AWB_CURVE, r.AWB_Curve);
    f.ThreeDecimal(IDC_V_AWB_LEFT, r.AWB_Left);
    f.Fraction(IDC_V_AWB_AVERAGE, r.AWB_Average);
    f.Radios(kAwbType, 2, r.AWB_Type);
    f.Unsigned(IDC_V_WEIGHT_R, r.WeightR);
    f.Unsigned(IDC_V_WEIGHT_G, r.WeightG);
    f.Unsigned(IDC_V_WEIGHT_B, r.WeightB);
    f.Decimal(IDC_V_TWO_LEVEL_THRESHOLD, r.TwoLevelThreshold);
    f.DecimalGrid(IDC_V_ONE_UM, r.OneUM);
    f.DecimalGrid(IDC_V_TWO_UM, r.TwoUM);
}

void VexaPage::Fill(const CLetterParams& params) const { Bind(params, FillFields(*this)); }
void VexaPage::Read(CLetterParams& params) const { Bind(params, ReadFields(*this)); }
