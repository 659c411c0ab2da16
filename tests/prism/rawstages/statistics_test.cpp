// Shared statistics: percentile searches, targets, the over-exposure rule and
// the statistics demosaic.
#include "rawstages/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "raw_reference.h"

TEST(Statistics, SearchesMatchTheDescribedWalkOnRandomHistograms) {
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        Histogram h = {};
        int total = 0;
        const int filled = int(rng() % 257);
        for (int k = 0; k < filled; ++k) total += (h[rng() % 256] = int(rng() % 12));
        const int targets[] = {0, -1, int(rng() % (total + 8)), total, total + 1};
        const int noise = int(rng() % 5) - 1;
        for (int target : targets) {
            EXPECT_EQ(SearchFromTop(h, target, noise), rawref::TopSearch(h, target, noise))
                << "round " << round << " target " << target << " noise " << noise;
            EXPECT_EQ(SearchFromBottom(h, target, noise), rawref::BottomSearch(h, target, noise))
                << "round " << round << " target " << target << " noise " << noise;
        }
    }
}

TEST(Statistics, SearchesStopOneStepBeyondTheLastAddedBin) {
    Histogram h = {};
    h[3] = 4, h[9] = 2, h[200] = 10, h[250] = 5;
    struct Case { int target, noise, top, bottom; };
    const Case cases[] = {
        {0, 0, 255, 0},    // a target of 0 is met before anything is added
        {5, 0, 249, 10},   // top: bin 250 alone reaches 5; bottom: bins 3 and 9 give 6
        {4, 0, 249, 4},    // bottom: bin 3 alone reaches 4
        {7, 0, 199, 201},  // both walks need bin 200 as well
        {5, 5, 199, 201},  // bins of 5 or fewer pixels are noise and add nothing
        {22, 0, 0, 255},   // never reached: the walks end at 0 and 255
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SearchFromTop(h, c.target, c.noise), c.top) << "target " << c.target;
        EXPECT_EQ(SearchFromBottom(h, c.target, c.noise), c.bottom) << "target " << c.target;
    }
}

TEST(Statistics, PercentileTargetRoundsHalvesUp) {
    struct Case { int percent, count, target; };
    const Case cases[] = {{1, 76800, 77}, {1, 500, 1}, {1, 499, 0}, {5, 100, 1}, {0, 76800, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(PercentileTarget(c.percent, c.count), c.target) << c.percent << " of " << c.count;
}

TEST(Statistics, OverExposedPixelsAreNotCounted) {
    // Threshold 251: a pixel counts unless two or three channels exceed it.
    // Seventeen pixels, so that the vector marks and the plain tail both see
    // every case; thresholds outside 0..254 take the plain marks only.
    const std::uint8_t cases[][3] = {
        {251, 251, 251},  // at the threshold: counted
        {252, 10, 20},    // one bright channel: counted
        {252, 252, 0},    // two: left out
        {0, 252, 252},    // two: left out
        {252, 0, 252},    // two: left out
        {255, 255, 255},  // three: left out
    };
    const int expected[] = {1, 1, 0, 0, 0, 0};
    StatisticsRun run;
    for (int i = 0; i < 17; ++i) {
        run.blue[i] = cases[i % 6][0], run.green[i] = cases[i % 6][1], run.red[i] = cases[i % 6][2];
        run.counted[i] = 9;
    }
    EXPECT_EQ(MarkCountedPixels(run, 17, 251), 6);
    for (int i = 0; i < 17; ++i) EXPECT_EQ(run.counted[i], expected[i % 6]) << "pixel " << i;

    std::mt19937 rng(5);
    for (int threshold : {-1, 0, 1, 100, 254, 255, 300}) {
        for (int i = 0; i < 64; ++i)
            run.blue[i] = std::uint8_t(rng()), run.green[i] = std::uint8_t(rng()),
            run.red[i] = std::uint8_t(rng());
        const int counted = MarkCountedPixels(run, 64, threshold);
        int expected = 0;
        for (int i = 0; i < 64; ++i) {
            const int above = (run.blue[i] > threshold) + (run.green[i] > threshold) +
                              (run.red[i] > threshold);
            EXPECT_EQ(run.counted[i], above < 2 ? 1 : 0) << "threshold " << threshold;
            expected += above < 2;
        }
        EXPECT_EQ(counted, expected) << "threshold " << threshold;
    }
}

TEST(Statistics, VectorColoursMatchThePlainPixelsOnEveryColumnAndRun) {
    // Widths around the vector step of 16 and the confined columns, rows of
    // both parities, and runs that start at odd columns and end early.
    std::mt19937 rng(9);
    for (int w : {4, 5, 6, 18, 19, 20, 21, 35, 36, 107, 640}) {
        const int h = 6;
        const rawref::Plane raw = rawref::RandomScenePlane(rng, w, h);
        for (int y = 0; y < h; ++y)
            for (int x0 : {0, 1, 3}) {
                if (x0 >= w) continue;
                const int count = w - x0 - (x0 == 3 ? 1 : 0);
                StatisticsRun fast, plain;
                StatisticsColours(raw.data(), w, h, y, x0, count, fast);
                PlainStatisticsColours(raw.data(), w, h, y, x0, count, plain);
                for (int i = 0; i < count; ++i)
                    ASSERT_TRUE(fast.blue[i] == plain.blue[i] && fast.green[i] == plain.green[i] &&
                                fast.red[i] == plain.red[i])
                        << w << " wide, row " << y << ", run from " << x0 << ", pixel " << i;
            }
    }
}

namespace {

using Plane = rawref::Plane;

Plane Demosaiced(const Plane& raw, int w, int h) {
    Plane out(raw.size() * 3);
    DemosaicForStatistics(raw.data(), out.data(), w, h);
    return out;
}

}  // namespace

TEST(StatisticsDemosaic, MatchesTheNeighbourRulesOnEverySize) {
    std::mt19937 rng(3);
    const int sizes[][2] = {{2, 2}, {3, 3}, {4, 4}, {4, 6}, {5, 7}, {8, 2}, {2, 9}, {17, 11},
                            {64, 48}};
    for (const auto& s : sizes) {
        const Plane raw = rawref::RandomScenePlane(rng, s[0], s[1]);
        EXPECT_EQ(Demosaiced(raw, s[0], s[1]), rawref::StatisticsImage(raw, s[0], s[1]))
            << s[0] << " x " << s[1];
    }
}

TEST(StatisticsDemosaic, WidthFourConfinesNeighbourColumnsToOneAndTwo) {
    // Every row holds 10, 50, 90, 130: estimates show which columns were read.
    Plane raw(16);
    for (int i = 0; i < 16; ++i) raw[i] = std::uint8_t(10 + 40 * (i % 4));
    const Plane out = Demosaiced(raw, 4, 4);
    auto at = [&](int y, int x, int channel) { return int(out[(y * 4 + x) * 3 + channel]); };
    EXPECT_EQ(at(0, 0, 0), 50);   // green at column 0: left and right are column 1
    EXPECT_EQ(at(0, 2, 0), 70);   // green at column 2: right is column 2 itself
    EXPECT_EQ(at(0, 3, 1), 110);  // blue at column 3: both sides are column 2
    EXPECT_EQ(at(1, 0, 1), 30);   // red at column 0: both sides are column 1
}

TEST(StatisticsDemosaic, TinyPlanesNeverReadOutsideThemselves) {
    // A black plane between white guard bytes: any read past it shows as a
    // nonzero estimate.
    const int sizes[][2] = {{1, 1}, {1, 5}, {5, 1}, {2, 2}, {3, 2}, {2, 3}};
    for (const auto& s : sizes) {
        const std::size_t count = std::size_t(s[0]) * s[1];
        std::vector<std::uint8_t> guarded(count + 64, 255);
        std::fill(guarded.begin() + 32, guarded.end() - 32, 0);
        Plane out(count * 3, 77);
        DemosaicForStatistics(guarded.data() + 32, out.data(), s[0], s[1]);
        EXPECT_EQ(out, Plane(count * 3, 0)) << s[0] << " x " << s[1];
    }
}

TEST(Statistics, TailCountsGiveTheFullHistogramsPercentiles) {
    // Frames whose tails are thin (random ranges) and frames of wide flat
    // patches (a limit bin holding thousands of pixels, bright rows late in
    // the walk); percentiles from none to all and beyond, with and without
    // noise bins.
    std::mt19937 rng(17);
    int checked = 0;
    for (int round = 0; round < 12; ++round) {
        const int w = round < 6 ? 320 : 8 + int(rng() % 120), h = round < 6 ? 240 : 8 + int(rng() % 90);
        Plane raw = rawref::RandomScenePlane(rng, w, h);
        if (round % 2 == 1)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    raw[std::size_t(y) * w + x] = std::uint8_t(40 * ((x / 37 + y / 29 + round) % 7));
        for (int percent : {0, 1, 7, 50, 500, 999, 1000, 1001, -3})
            for (int noise : {0, 2, 40})
                for (int overflow : {251, 150}) {
                    Plane full = raw, tails = raw;
                    DeferredPlane fullPlane(full.data(), w, h), tailPlane(tails.data(), w, h);
                    ColourHistograms histograms;
                    const int counted = MeasureStatistics(fullPlane, overflow, histograms);
                    const ColourPercentiles points =
                        MeasurePercentiles(tailPlane, overflow, percent, noise);
                    ASSERT_EQ(points.counted, counted);
                    const int target = PercentileTarget(percent, counted);
                    const Histogram* h3[3] = {&histograms.blue, &histograms.green, &histograms.red};
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_EQ(points.top[c], rawref::TopSearch(*h3[c], target, noise))
                            << "round " << round << " percent " << percent << " noise " << noise
                            << " overflow " << overflow << " colour " << c;
                        ASSERT_EQ(points.bottom[c], rawref::BottomSearch(*h3[c], target, noise))
                            << "round " << round << " percent " << percent << " noise " << noise
                            << " overflow " << overflow << " colour " << c;
                        ++checked;
                    }
                }
    }
    EXPECT_EQ(checked, 12 * 9 * 3 * 2 * 3);
}

TEST(Statistics, QuietBlocksSeeEverySampleTheirPixelsRead) {
    // A flat plane of 100 is quiet in range 90..110 in the blocks whose
    // columns x - 1 .. x + 16 lie in the plane: from column 16, and not the
    // last block, whose last pixel reads a confined neighbour. One sample out
    // of range clears exactly the blocks whose pixels read it: rows y - 1 ..
    // y + 1, columns x - 1 .. x + 16.
    const int w = 80, h = 6;  // blocks at 16, 32, 48
    const std::uint64_t all = (1u << 1) | (1u << 2) | (1u << 3);
    Plane flat(std::size_t(w) * h, 100);
    EXPECT_EQ(QuietBlocks(flat.data(), w, h, 2, 251, {90, 110}), all);
    EXPECT_EQ(QuietBlocks(flat.data(), w, h, 2, 251, {101, 110}), 0u) << "samples below the range";
    EXPECT_EQ(QuietBlocks(flat.data(), w, h, 2, 99, {90, 110}), 0u) << "samples above the threshold";
    EXPECT_EQ(QuietBlocks(flat.data(), w, h, 2, 251, kNoSamples), 0u);

    struct Case { int row, column, value; std::uint64_t quiet; };
    const Case cases[] = {
        {1, 31, 200, all & ~((1u << 1) | (1u << 2))},   // x + 15 of block 16, x - 1 of block 32
        {3, 32, 200, all & ~((1u << 1) | (1u << 2))},   // x + 16 of block 16, x of block 32
        {2, 15, 0, all & ~(1u << 1)},                   // x - 1 of block 16
        {2, 14, 0, all},                                // x - 2: no pixel of block 16 reads it
        {0, 40, 255, all},                              // two rows above: not read by row 2
        {3, 49, 111, all & ~(1u << 3)},                 // x + 17 of block 32, x + 1 of block 48
    };
    std::vector<Case> allCases(std::begin(cases), std::end(cases));
    // Both ends of the window in each of the three rows: column 15 is read
    // only by block 16, column 64 only by block 48.
    for (int row = 1; row <= 3; ++row) {
        allCases.push_back({row, 15, 89, all & ~(1u << 1)});
        allCases.push_back({row, 64, 111, all & ~(1u << 3)});
    }
    for (const Case& c : allCases) {
        Plane p = flat;
        p[std::size_t(c.row) * w + c.column] = std::uint8_t(c.value);
        EXPECT_EQ(QuietBlocks(p.data(), w, h, 2, 251, {90, 110}), c.quiet)
            << "sample " << c.value << " at row " << c.row << ", column " << c.column;
    }
}
