// Thumbnail view: adding items, check boxes and captions, scroll sizes,
// drawing, selection, double-click, emptying.
#include "ui/thumbnail_view.h"

#include <windowsx.h>

#include "camera/thumbnails.h"
#include "thumbnail_grid.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr int kTotalWidth = 10;     // no horizontal scrolling
constexpr int kBottomMargin = 6;

}  // namespace

void CThumbnailView::AddItem(int item) {
    std::vector<std::uint8_t> thumbnail;
    bool clip = false;
    if (loaded_.size() >= std::size_t(kMaxPositions) || !gVantage.worker.TakeThumbnail(item, thumbnail, clip)) return;
    const int position = ShownCount();
    if (std::size_t(item) >= thumbnails_.size()) thumbnails_.resize(std::size_t(item) + 1);
    thumbnails_[std::size_t(item)] = std::move(thumbnail);
    loaded_.push_back(item);

    if (checkBoxes_.size() <= std::size_t(position)) {
        checkBoxes_.push_back(CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 0, 0, Handle(),
                                              reinterpret_cast<HMENU>(INT_PTR(kFirstCheckBox + position)),
                                              nullptr, nullptr));
        SendMessageA(checkBoxes_.back(), WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    HWND box = checkBoxes_[std::size_t(position)];
    PlaceCheckBox(position);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextA(box, ThumbnailCaption(position, clip, showNumbers_).c_str());
    ShowWindow(box, SW_SHOW);
    UpdateWindow(box);

    SetSizes();
    ScrollTo({0, GridRows(ShownCount(), columns_) * kCellHeight - kCellHeight});
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
}

// In client pixels: the grid position less the scroll position.
void CThumbnailView::PlaceCheckBox(int position) const {
    const GridRect r = CheckBoxRect(position, columns_);
    const POINT scroll = ScrollPosition();
    SetWindowPos(checkBoxes_[std::size_t(position)], nullptr, r.left - scroll.x, r.top - scroll.y, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CThumbnailView::SetSizes() {
    SetScrollSizes({kTotalWidth, GridRows(ShownCount(), columns_) * kCellHeight + kBottomMargin});
}

void CThumbnailView::OnResize(int clientWidth) {
    const int columns = GridColumns(clientWidth);
    if (columns == columns_) return;
    columns_ = columns;
    // The grid flows anew: the boxes follow their thumbnails.
    for (int p = 0; p < ShownCount(); ++p) PlaceCheckBox(p);
    SetSizes();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CThumbnailView::OnDraw(HDC dc) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kThumbnailWidth;
    info.bmiHeader.biHeight = kThumbnailHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = kThumbnailBytes;
    for (int p = 0; p < ShownCount(); ++p) {
        const std::vector<std::uint8_t>& pixels = thumbnails_[std::size_t(ItemAt(p))];
        const GridRect r = ImageRect(p, columns_);
        SetDIBitsToDevice(dc, r.left, r.top, kThumbnailWidth, kThumbnailHeight, 0, 0, 0, kThumbnailHeight,
                          pixels.data(), &info, DIB_RGB_COLORS);
        InvalidateRect(checkBoxes_[std::size_t(p)], nullptr, FALSE);
    }
}

bool CThumbnailView::Selected(int position) const {
    return position >= 0 && position < ShownCount() && std::size_t(position) < checkBoxes_.size() &&
           SendMessageA(checkBoxes_[std::size_t(position)], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int CThumbnailView::SelectedCount() const {
    int count = 0;
    for (int p = 0; p < ShownCount(); ++p) count += Selected(p) ? 1 : 0;
    return count;
}

void CThumbnailView::SelectAll(bool checked) {
    for (int p = 0; p < ShownCount(); ++p)
        SendMessageA(checkBoxes_[std::size_t(p)], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onSelectionChanged) onSelectionChanged();
}

void CThumbnailView::Empty() {
    for (int p = 0; p < ShownCount(); ++p) ShowWindow(checkBoxes_[std::size_t(p)], SW_HIDE);
    thumbnails_.clear();
    loaded_.clear();
    SetScrollSizes({kTotalWidth, kBottomMargin});
    ScrollTo({0, 0});
    UpdateWindow(Handle());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CThumbnailView::OnDoubleClick(int x, int y) {
    const POINT scroll = ScrollPosition();
    const int position = HitPosition(x + scroll.x, y + scroll.y, ShownCount(), columns_);
    if (position >= 0 && onOpenItem) onOpenItem(ItemAt(position));
}

bool CThumbnailView::OnCommand(int id, int code, HWND control) {
    if (id >= kFirstCheckBox && id < kFirstCheckBox + kMaxPositions) {
        if (onSelectionChanged) onSelectionChanged();
        return true;
    }
    return ScrollView::OnCommand(id, code, control);
}

bool CThumbnailView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kMsgThumbnailAdded:
        AddItem(int(wParam));
        result = 0;
        return true;
    case WM_SIZE:
        OnResize(LOWORD(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;  // then the default handling
    }
    return ScrollView::OnMessage(message, wParam, lParam, result);
}
