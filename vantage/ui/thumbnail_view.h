// CThumbnailView: the scrolling pane of the camera window that shows one
// 128 x 96 thumbnail per picture item in a grid, each with a check box under
// it (control id 3000 + display position). The refresh fills it one item at
// a time (message 1124, wParam the item); a new thumbnail is checked at
// once. The check boxes are the selection for download and transfer; a
// double-click on a thumbnail asks for the item's enlarged view.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "scroll_view.h"

class CThumbnailView : public wingui::ScrollView {
public:
    static constexpr int kMaxPositions = 4096;

    explicit CThumbnailView(bool showNumbers) : showNumbers_(showNumbers) {}

    // The parent hears of every click on a check box and of a double-click
    // on a thumbnail (with its item).
    std::function<void()> onSelectionChanged;
    std::function<void(int item)> onOpenItem;

    // Checks or clears every shown check box, then reports the selection.
    void SelectAll(bool checked);
    bool Selected(int position) const;
    int SelectedCount() const;
    int ShownCount() const { return int(loaded_.size()); }
    int ItemAt(int position) const { return loaded_[std::size_t(position)]; }
    // Hides the check boxes, frees the thumbnails, back to the top.
    void Empty();
    void ScrollToTop() { ScrollTo({0, 0}); }

protected:
    void OnDraw(HDC dc) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void AddItem(int item);
    void PlaceCheckBox(int position) const;
    void SetSizes();
    void OnResize(int clientWidth);
    void OnDoubleClick(int x, int y);

    bool showNumbers_;
    int columns_ = 3;
    std::vector<int> loaded_;  // display position -> item
    std::vector<std::vector<std::uint8_t>> thumbnails_;  // by item
    std::vector<HWND> checkBoxes_;  // by display position, made on first use
};
