// Numbering of downloaded files from Next, and the overwrite modes.
#include "camera/download_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

// A folder of existing names and a user who answers from a list.
class FakeFolder : public CDownloadTarget {
public:
    std::set<std::string> files;
    std::vector<ReplaceAnswer> answers;
    std::vector<std::string> asked;

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    ReplaceAnswer AskReplace(const std::string& path) override {
        asked.push_back(path);
        const ReplaceAnswer a = answers.empty() ? ReplaceAnswer::kCancel : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return a;
    }
};

std::string Name(long n, bool clip = false) { return DownloadName("F", n, clip); }

}  // namespace

TEST(DownloadNames, Format) {
    const char sep = Name(0)[1];
    EXPECT_EQ(Name(7), std::string("F") + sep + "DSC00007.jpg");
    EXPECT_EQ(Name(123456, true), std::string("F") + sep + "DSC123456.avi");
}

// One download of several items: each row is an item (clip or not) and the
// numbers it takes, with Next advanced past each as the worker does.
TEST(DownloadNames, ModesOverADownload) {
    struct Case {
        const char* what;
        std::set<long> existing;  // stills present
        std::vector<ReplaceAnswer> answers;
        std::vector<long> numbers;  // taken per item, -1 for a refusal
        int questions;
        OverwriteMode mode;
    };
    using A = ReplaceAnswer;
    const Case cases[] = {
        {"empty folder", {}, {}, {7, 8, 9}, 0, kOverwriteAsk},
        {"No: next number, never asked again", {7, 9}, {A::kNo}, {8, 10, 11}, 1, kOverwriteKeep},
        {"Yes: replaced, later clashes too", {7, 8}, {A::kYes}, {7, 8, 9}, 1, kOverwriteReplace},
        {"Cancel: this item and every later one refused", {8}, {A::kCancel}, {7, -1, -1}, 1, kOverwriteCancelled},
    };
    for (const Case& c : cases) {
        FakeFolder folder;
        for (long n : c.existing) folder.files.insert(Name(n));
        folder.answers = c.answers;
        CDownloadNames names(folder);
        long next = 7;
        std::vector<long> taken;
        for (std::size_t i = 0; i < c.numbers.size(); ++i) {
            long number = -1;
            std::string path;
            if (names.Choose("F", next, false, number, path)) {
                EXPECT_EQ(path, Name(number)) << c.what;
                next = number + 1;
                taken.push_back(number);
            } else {
                taken.push_back(-1);
            }
        }
        EXPECT_EQ(taken, c.numbers) << c.what;
        EXPECT_EQ(int(folder.asked.size()), c.questions) << c.what;
        EXPECT_EQ(names.Mode(), c.mode) << c.what;
    }
}

TEST(DownloadNames, StillsAndClipsClashOnlyWithTheirOwnKind) {
    FakeFolder folder;
    folder.files = {Name(3, false)};
    CDownloadNames names(folder);
    long number = 0;
    std::string path;
    ASSERT_TRUE(names.Choose("F", 3, true, number, path));
    EXPECT_EQ(number, 3);
    EXPECT_EQ(path, Name(3, true));
    EXPECT_TRUE(folder.asked.empty());
}

// Next is written with "%d": no number is taken that would push it past INT_MAX.
TEST(DownloadNames, NumbersStayWithinAnInt) {
    FakeFolder folder;
    folder.answers = {ReplaceAnswer::kNo};
    folder.files = {Name(INT_MAX - 1)};
    CDownloadNames names(folder);
    long number = 0;
    std::string path;
    EXPECT_FALSE(names.Choose("F", INT_MAX - 1, false, number, path));
    EXPECT_FALSE(names.Choose("F", INT_MAX, false, number, path));
    EXPECT_TRUE(names.Choose("F", INT_MAX - 2, false, number, path));
    EXPECT_EQ(number, INT_MAX - 2);
}
