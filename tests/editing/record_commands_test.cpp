#include "editing/record_commands.h"

#include <gtest/gtest.h>

#include <cstring>

#include "editing/record_list_model.h"

namespace {

std::vector<MenuItemRecord> Numbered(int count) {
    std::vector<MenuItemRecord> items(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) items[static_cast<std::size_t>(i)].id = i;
    return items;
}

std::vector<int> Ids(const std::vector<MenuItemRecord>& items) {
    std::vector<int> ids;
    for (const auto& item : items) ids.push_back(item.id);
    return ids;
}

}  // namespace

TEST(RecordCommands, DuplicateInsertsACopyAfterTheSelectedRecord) {
    auto items = Numbered(3);
    ASSERT_TRUE(DuplicateRecord(items, 1));
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 1, 1, 2}));
    ASSERT_TRUE(DuplicateRecord(items, 3));  // the last one
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 1, 1, 2, 2}));
    EXPECT_FALSE(DuplicateRecord(items, 5));
}

TEST(RecordCommands, DeleteKeepsAtLeastOneRecordAndPicksThePreviousRow) {
    auto items = Numbered(10);
    ASSERT_TRUE(DeleteRecord(items, 5));
    EXPECT_EQ(items.size(), 9u);
    EXPECT_EQ(items[5].id, 6);
    EXPECT_EQ(SelectionAfterDelete(5), 4u);
    EXPECT_EQ(SelectionAfterDelete(0), 0u);

    auto single = Numbered(1);
    EXPECT_FALSE(DeleteRecord(single, 0));
    EXPECT_EQ(single.size(), 1u);
}

TEST(RecordListModel, LabelsAreIndexThreeBlanksAndTheShownCode) {
    std::vector<MenuItemRecord> items(13);
    std::memcpy(items[12].type, "ttub", 4);
    std::memcpy(items[3].type, "\0\0ba", 4);
    RecordListModel model;
    model.SetRecords(&items);
    EXPECT_EQ(model.rowCount(), 13);
    EXPECT_EQ(model.index(12).data().toString(), "12   butt");
    EXPECT_EQ(model.index(3).data().toString(), "3   ab");
    EXPECT_EQ(model.index(0).data().toString(), "0   ");
    model.SetRecords(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}
