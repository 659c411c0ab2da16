// Walks a settings record's keys in file order with one visitor, so that
// Load and Save cannot drift apart.
#pragma once

#include "ini_file.h"
#include "platform/platform.h"

namespace settings_keys {

// Key names of the nine entries of a 3 x 3 table, row by row.
extern const char* const kUnsharpMask[9];
extern const char* const kColourMatrix[9];
extern const char* const kOneUM[9];
extern const char* const kTwoUM[9];

// CM_11 ... CM_33 of both records; each row sums to 1 within rounding.
constexpr double kDefaultColourMatrix[9] = {1.469,  -0.188, -0.281, -0.047, 1.234,
                                            -0.188, -0.020, -0.375, 1.395};

// Reads each key into its field; a missing key leaves the field as it is.
struct Reader {
    const platform::ProfileFile& file;
    void operator()(const char* s, const char* k, int& v) const { ReadIniInt(s, k, &v, file); }
    void operator()(const char* s, const char* k, double& v) const { ReadIniDouble(s, k, &v, file); }
    void operator()(const char* s, const char* k, char (&v)[kIniPathCapacity]) const {
        ReadIniString(s, k, v, file);
    }
};

// Writes reach the file at the ProfileFile's Commit.
struct Writer {
    platform::ProfileFile& file;
    void operator()(const char* s, const char* k, int v) const { WriteIniInt(s, k, v, file); }
    void operator()(const char* s, const char* k, double v) const { WriteIniDouble(s, k, v, file); }
    void operator()(const char* s, const char* k, const char (&v)[kIniPathCapacity]) const {
        WriteIniString(s, k, v, file);
    }
};

template <class T, class Visit>
void Table(const char* section, const char* const (&names)[9], T (&values)[9], Visit& visit) {
    for (int i = 0; i < 9; ++i) visit(section, names[i], values[i]);
}

}  // namespace settings_keys
