// The "After IP :" page: the after-stage string and the values of the
// after-stages of CStageParams.
#pragma once

#include "settings_page.h"
#include "stage_params.h"

class AfterPage : public SettingsPage {
public:
    void Fill(const CStageParams& params) const;
    void Read(CStageParams& params) const;

private:
    template <class Record, class Fields>
    static void Bind(Record& r, const Fields& f);
};
