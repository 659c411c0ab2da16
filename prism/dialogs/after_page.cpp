// "After IP :" page: each control and its key.
#include "after_page.h"

#include "dialog_ids.h"
#include "field_kinds.h"

template <class Record, class Fields>
void AfterPage::Bind(Record& r, const Fields& f) {
    f.Text(IDC_OP_AFTER, r.OPAfter);
    f.Unsigned(IDC_A_CE_LINEAR, r.CE_Linear);
    f.Unsigned(IDC_A_CE_SATURATION, r.CE_Saturation);
    f.ThreeDecimalGrid(IDC_A_CM, r.CM);
    f.ThreeDecimal(IDC_A_GAMMA_AFTER, r.GammaAfter);
}

void AfterPage::Fill(const CStageParams& params) const { Bind(params, FillFields(*this)); }
void AfterPage::Read(CStageParams& params) const { Bind(params, ReadFields(*this)); }
