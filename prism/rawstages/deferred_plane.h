// The raw plane as the before-stages see it: the samples, plus the tone
// tables that stages have decided on but that are not yet written into them.
// A table stage composes its tables into the pending ones instead of
// rewriting the plane; the next measurement writes them into each row just
// before it first reads that row, and Flush writes what is left. A run of
// table stages thus costs one pass over the plane, and the pass folds into
// the next stage's statistics walk. Entries hold bytes (the low byte of each
// stage's entry), so the composition gives the same samples as applying the
// tables one after another.
#pragma once

#include <cstdint>

#include "../tone_table.h"

// One byte table per colour site of the mosaic.
struct SiteTables {
    std::uint8_t red[256];
    std::uint8_t green[256];
    std::uint8_t blue[256];
};

class DeferredPlane {
public:
    DeferredPlane(std::uint8_t* raw, int width, int height);

    // The samples as they stand; rows not yet written lack the pending tables.
    std::uint8_t* Raw() const { return raw_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Lets each site's table follow what is pending. Only between walks:
    // nothing may be half written.
    void Compose(const ToneTable& red, const ToneTable& green, const ToneTable& blue);
    void Compose(const ToneTable& all) { Compose(all, all, all); }

    // Writes the pending tables into every row up to and including `last`
    // that does not hold them yet.
    void WriteRowsThrough(int last);
    // Writes every row still pending; afterwards nothing is pending.
    void Flush();

private:
    std::uint8_t* raw_;
    int width_;
    int height_;
    SiteTables pending_;
    bool active_ = false;  // pending_ is not known to be the identity
    int writtenRows_ = 0;  // rows 0 .. writtenRows_ - 1 hold the pending tables
};
