// JpegQualityDialog ("IP Setting"): the JPEG quality of the delegated mode
// (TWain.ini [IP] JPEG) on a slider 1..100 with its value as text beside it.
// OK stores the slider's position in memory and in TWain.ini; Cancel changes
// nothing.
#pragma once

#include "dialog.h"

class JpegQualityDialog : public wingui::Dialog {
protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;

private:
    void ShowValue(int value) const;
    int SliderPosition() const;
};
