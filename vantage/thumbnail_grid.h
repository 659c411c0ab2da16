// Geometry and captions of the thumbnail view's grid, in view pixels before
// scrolling: cells of 148 x 136, the image 128 x 96 at (20, 16) in its cell,
// the check box under it. Plain logic, shared by the view and its tests.
#pragma once

#include <string>

constexpr int kCellWidth = 148;
constexpr int kCellHeight = 136;
constexpr int kGridMargin = 20;  // added to the client width before dividing

struct GridRect {
    int left, top, right, bottom;
};

// (client width + 20) div 148, at least one column.
int GridColumns(int clientWidth);
// Rows that `count` positions fill: ceil(count / columns).
int GridRows(int count, int columns);
GridRect ImageRect(int position, int columns);
GridRect CheckBoxRect(int position, int columns);
// The position among the first `count` whose double-click area (the image,
// right and bottom edges excluded) holds the point; -1 for none.
int HitPosition(int x, int y, int count, int columns);
// "n" (position + 1) when numbers are shown, else empty; "(AVI)" after it for a clip.
std::string ThumbnailCaption(int position, bool clip, bool showNumbers);
