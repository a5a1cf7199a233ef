#include "document/type_code.h"

#include <gtest/gtest.h>

#include <set>

namespace {

MenuItemRecord WithStoredType(const char (&stored)[5]) {
    MenuItemRecord record;
    for (int i = 0; i < 4; ++i) record.type[i] = stored[i];
    return record;
}

MenuItemRecord WithStoredBytes(char a, char b, char c, char d) {
    MenuItemRecord record;
    record.type[0] = a;
    record.type[1] = b;
    record.type[2] = c;
    record.type[3] = d;
    return record;
}

}  // namespace

TEST(TypeCode, ShownFormIsTheStoredBytesReversedUpToTheFirstNul) {
    EXPECT_EQ(type_code::Shown(WithStoredType("tniw")), "wint");
    EXPECT_EQ(type_code::Shown(WithStoredBytes(0, 0, 'b', 'a')), "ab");
    EXPECT_EQ(type_code::Shown(WithStoredBytes('a', 'b', 0, 0)), "");
    EXPECT_EQ(type_code::Shown(WithStoredBytes('1', '2', '3', '4')), "4321");
}

TEST(TypeCode, EnteringTakesTheFirstFourCharactersAndPadsShortTexts) {
    MenuItemRecord record;
    type_code::SetFromShown(record, "wint - Window with caption");
    EXPECT_EQ(QByteArray(record.type, 4), QByteArray("tniw"));
    EXPECT_TRUE(type_code::IsWindow(record));

    type_code::SetFromShown(record, "ab");
    EXPECT_EQ(QByteArray(record.type, 4), QByteArray("\0\0ba", 4));
    EXPECT_EQ(type_code::Shown(record), "ab");
    EXPECT_EQ(record.type[4], '\0');
}

TEST(TypeCode, ComparisonIsExactAndCaseSensitive) {
    EXPECT_TRUE(type_code::IsWindow(WithStoredType("tniw")));
    EXPECT_FALSE(type_code::IsWindow(WithStoredType("TNIW")));  // WINT
    EXPECT_TRUE(type_code::HasCaption(WithStoredType("carf")));
    EXPECT_TRUE(type_code::HasCaption(WithStoredType("tmrf")));
    EXPECT_TRUE(type_code::IsWindow(WithStoredType("dniw")));
    EXPECT_FALSE(type_code::HasCaption(WithStoredType("dniw")));
    EXPECT_FALSE(type_code::HasCaption(WithStoredType("cniw")));
    // A NUL among the bytes makes a shorter text that matches nothing.
    EXPECT_FALSE(type_code::IsWindow(WithStoredBytes('t', 'n', 0, 'w')));
    EXPECT_TRUE(type_code::Is(WithStoredType("lrcs"), type_code::kScrollBar));
}

TEST(TypeCode, CatalogueHoldsTheFiftyTwoRowsWithItsGroups) {
    int empty = 0;
    std::multiset<std::string> codes;
    for (const char* row : type_code::kCatalogue) {
        const std::string text(row);
        if (text.empty()) {
            ++empty;
            continue;
        }
        ASSERT_GE(text.size(), 7u);
        EXPECT_EQ(text.substr(4, 3), " - ") << text;
        codes.insert(text.substr(0, 4));
    }
    EXPECT_EQ(empty, 8);
    EXPECT_EQ(codes.count("rctf"), 2u);
    EXPECT_STREQ(type_code::kCatalogue[40], "rctf - Color overlay");
    EXPECT_STREQ(type_code::kCatalogue[46], "rctf - Save game picture");
    EXPECT_STREQ(type_code::kCatalogue[21],
                 "seli - String button, gray background on hover, align to left");
    EXPECT_STREQ(type_code::kCatalogue[51], "netp - Network player with table");
}
