// ColorProcessingDialog ("Color Processing Parameters"): every value of one
// setting set in three pages (Before IP, VEXA IP, After IP) and the main
// controls, applied at once to the set's records and files, imported from and
// exported to settings files. It keeps no copy of the settings: controls are
// filled from the set's records and read back into them.
#pragma once

#include <string>

#include "after_page.h"
#include "before_page.h"
#include "dialog.h"
#include "vexa_page.h"

class CStageParams;
class CLetterParams;

class ColorProcessingDialog : public wingui::Dialog {
public:
    // owner receives the settings-changed message after every Apply.
    ColorProcessingDialog(HINSTANCE module, int set, HWND owner);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    CStageParams& Stage() const;
    CLetterParams& Letters() const;

    void FillMain(const CStageParams& params) const;
    void LoadAll();
    // Each page's values into its record, each followed by a save to the set's
    // own file (the main controls, Before and After into CStageParams).
    void ReadStagePages() const;
    void ReadVexaPage() const;
    void Apply();
    void Import();
    void Export();
    void ToggleWidth();
    void Changed() const;

    HINSTANCE module_;
    int set_;
    HWND owner_;
    BeforePage before_;
    VexaPage vexa_;
    AfterPage after_;
    bool expanded_ = false;
};
