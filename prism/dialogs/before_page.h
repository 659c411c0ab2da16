// The "Before IP :" page: the before-stage string and the values of the
// raw-plane stages ([1] to [6]) of CStageParams.
#pragma once

#include "settings_page.h"
#include "stage_params.h"

class BeforePage : public SettingsPage {
public:
    void Fill(const CStageParams& params) const;
    void Read(CStageParams& params) const;

private:
    template <class Record, class Fields>
    static void Bind(Record& r, const Fields& f);
};
