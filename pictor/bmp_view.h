// CBmpView: the document's picture at the top left of a scrolling view whose
// scroll area is 640 x 480 whatever the picture's size; white right of and
// below the picture. The background is never erased, so nothing flickers.
#pragma once

#include "scroll_view.h"

class CBmpDoc;

class CBmpView : public wingui::ScrollView {
public:
    explicit CBmpView(CBmpDoc& document) : document_(document) {}
    bool CreateIn(HWND childFrame);

protected:
    void OnDraw(HDC dc) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage() override { delete this; }

private:
    CBmpDoc& document_;
};
