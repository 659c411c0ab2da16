// Automatic picture names: the gap-filling search and the digits.
#include "picture_names.h"

#include <gtest/gtest.h>

#include <set>

TEST(PictureNames, FirstFreeNumberFromOne) {
    struct Case {
        std::set<long> present;
        const char* expected;
    } cases[] = {
        {{}, "D:\\Pics\\PIC00001.jpg"},
        {{1, 3}, "D:\\Pics\\PIC00002.jpg"},
        {{1, 2, 3}, "D:\\Pics\\PIC00004.jpg"},
        {{2}, "D:\\Pics\\PIC00001.jpg"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> probed;
        const std::string name = NextPictureName("D:\\Pics", [&](const std::string& path) {
            probed.push_back(path);
            for (long n : c.present)
                if (path == PictureFileName("D:\\Pics", n)) return true;
            return false;
        });
        EXPECT_EQ(name, c.expected);
        EXPECT_EQ(probed.back(), c.expected);  // the search stops at the free one
    }
}

TEST(PictureNames, SixDigitsAfterTheLastFiveDigitNumberAndAnEnd) {
    EXPECT_EQ(NextPictureName("C:\\P", [](const std::string& p) { return p.size() == sizeof "C:\\P\\PIC99999.jpg" - 1; }),
              "C:\\P\\PIC100000.jpg");
    long probes = 0;
    EXPECT_EQ(NextPictureName("C:\\P", [&](const std::string&) { return ++probes > 0; }), "");
    EXPECT_EQ(probes, kMaxPictureNumber);
}
