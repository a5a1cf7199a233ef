#include "document/type_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

// A record whose four stored type bytes are these.
MenuItemRecord Stored(const char* bytes) {
    MenuItemRecord record;
    std::copy_n(bytes, 4, record.type);
    return record;
}

}  // namespace

TEST(TypeCode, ShownFormIsTheStoredBytesReversedUpToTheFirstNul) {
    EXPECT_EQ(type_code::Shown(Stored("tniw")), "wint");
    EXPECT_EQ(type_code::Shown(Stored("\0\0ba")), "ab");
    EXPECT_EQ(type_code::Shown(Stored("ab\0\0")), "");

    MenuItemRecord record = Stored("xxxx");
    type_code::SetFromShown(record, "wint - Window with caption");  // the first four count
    EXPECT_EQ(QByteArray(record.type, 4), "tniw");
    type_code::SetFromShown(record, "ab");
    EXPECT_EQ(QByteArray(record.type, 5), QByteArray("\0\0ba\0", 5));
}

TEST(TypeCode, WindowsAndCaptionsAreTheExactCaseSensitiveCodes) {
    const std::tuple<const char*, bool, bool> codes[] = {
        // stored, a window, with a caption
        {"tniw", true, true},    {"carf", true, true},    {"tmrf", true, true},
        {"dniw", true, false},   {"cniw", true, false},   {"TNIW", false, false},
        {"tni\0", false, false}, {"tn\0w", false, false}, {"ttxs", false, false}};
    for (const auto& [code, window, caption] : codes) {
        EXPECT_EQ(type_code::IsWindow(Stored(code)), window) << code;
        EXPECT_EQ(type_code::HasCaption(Stored(code)), caption) << code;
    }
    EXPECT_TRUE(type_code::Is(Stored("lrcs"), type_code::kScrollBar));
}
