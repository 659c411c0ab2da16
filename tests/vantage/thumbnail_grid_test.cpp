// The thumbnail grid: columns from the client width, rectangles, the
// double-click hit areas and the captions.
#include "thumbnail_grid.h"

#include <gtest/gtest.h>

TEST(ThumbnailGrid, ColumnsFromClientWidth) {
    const struct {
        int width, columns;
    } cases[] = {{423, 2}, {424, 3}, {127, 1}, {0, 1}, {-50, 1}, {276, 2}, {275, 1}, {1000, 6}};
    for (const auto& c : cases) EXPECT_EQ(GridColumns(c.width), c.columns) << "width " << c.width;
    EXPECT_EQ(GridRows(0, 3), 0);
    EXPECT_EQ(GridRows(3, 3), 1);
    EXPECT_EQ(GridRows(4, 3), 2);
}

TEST(ThumbnailGrid, RectanglesAndHitAreas) {
    const GridRect image = ImageRect(4, 3);  // column 1, row 1
    EXPECT_EQ(image.left, 168);
    EXPECT_EQ(image.top, 152);
    EXPECT_EQ(image.right, 296);
    EXPECT_EQ(image.bottom, 248);
    const GridRect box = CheckBoxRect(4, 3);
    EXPECT_EQ(box.left, 218);
    EXPECT_EQ(box.top, 250);
    EXPECT_EQ(box.right, 298);
    EXPECT_EQ(box.bottom, 274);
    const struct {
        int x, y, count, expected;
    } hits[] = {
        {20, 16, 1, 0},     {147, 111, 1, 0},   {148, 50, 2, -1},  // right edge excluded, between images
        {50, 112, 1, -1},   {10, 50, 1, -1},    {200, 60, 2, 1},
        {200, 60, 1, -1},   {200, 200, 5, 4},   {500, 60, 5, -1},  // only shown positions
    };
    for (const auto& h : hits)
        EXPECT_EQ(HitPosition(h.x, h.y, h.count, 3), h.expected) << h.x << "," << h.y << " of " << h.count;
}

TEST(ThumbnailGrid, Captions) {
    EXPECT_EQ(ThumbnailCaption(2, true, true), "3(AVI)");
    EXPECT_EQ(ThumbnailCaption(2, true, false), "(AVI)");
    EXPECT_EQ(ThumbnailCaption(0, false, true), "1");
    EXPECT_EQ(ThumbnailCaption(0, false, false), "");
    EXPECT_EQ(ThumbnailCaption(4095, false, true), "4096");
}
