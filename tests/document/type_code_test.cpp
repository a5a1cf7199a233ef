#include "document/type_code.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    for (const char* window : {"tniw", "dniw", "cniw", "carf", "tmrf"})
        EXPECT_TRUE(type_code::IsWindow(Stored(window))) << window;
    for (const char* other : {"TNIW", "tni\0", "tn\0w", "ttxs"})
        EXPECT_FALSE(type_code::IsWindow(Stored(other))) << other;
    for (const char* captioned : {"tniw", "carf", "tmrf"})
        EXPECT_TRUE(type_code::HasCaption(Stored(captioned))) << captioned;
    for (const char* plain : {"dniw", "cniw"})
        EXPECT_FALSE(type_code::HasCaption(Stored(plain))) << plain;
    EXPECT_TRUE(type_code::Is(Stored("lrcs"), type_code::kScrollBar));
}
