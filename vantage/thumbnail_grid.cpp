// Thumbnail grid: columns, cell rectangles, hit test, captions.
#include "thumbnail_grid.h"

namespace {

constexpr int kImageLeft = 20, kImageTop = 16, kImageWidth = 128, kImageHeight = 96;
constexpr int kCheckLeft = 70, kCheckTop = 114, kCheckRight = 150, kCheckBottom = 138;
constexpr const char* kClipMark = "(AVI)";

}  // namespace

int GridColumns(int clientWidth) {
    const int columns = (clientWidth + kGridMargin) / kCellWidth;
    return columns < 1 ? 1 : columns;
}

int GridRows(int count, int columns) { return (count + columns - 1) / columns; }

GridRect ImageRect(int position, int columns) {
    const int x = position % columns * kCellWidth, y = position / columns * kCellHeight;
    return {x + kImageLeft, y + kImageTop, x + kImageLeft + kImageWidth, y + kImageTop + kImageHeight};
}

GridRect CheckBoxRect(int position, int columns) {
    const int x = position % columns * kCellWidth, y = position / columns * kCellHeight;
    return {x + kCheckLeft, y + kCheckTop, x + kCheckRight, y + kCheckBottom};
}

int HitPosition(int x, int y, int count, int columns) {
    for (int p = 0; p < count; ++p) {
        const GridRect r = ImageRect(p, columns);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return p;
    }
    return -1;
}

std::string ThumbnailCaption(int position, bool clip, bool showNumbers) {
    std::string caption = showNumbers ? std::to_string(position + 1) : std::string();
    if (clip) caption += kClipMark;
    return caption;
}
