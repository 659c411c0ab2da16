// The "VEXA IP :" page: the letter string and the values of the letter
// stages (CLetterParams), beside the fixed list of the letters.
#pragma once

#include "letter_params.h"
#include "settings_page.h"

class VexaPage : public SettingsPage {
public:
    void Fill(const CLetterParams& params) const;
    void Read(CLetterParams& params) const;

private:
    template <class Record, class Fields>
    static void Bind(Record& r, const Fields& f);
};
