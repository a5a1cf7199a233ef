#include "dump/record_transfer.h"

#include <gtest/gtest.h>

#include "document/menu_file.h"
#include "support/records.h"

// The exact round trips of every value through the dump's text are checked
// in dump_text_test.cpp, and those of the clipboard's bytes and text by the
// fuzz target's replay on its seeds; a faulty value is named with its line
// and field by the dump's reader (dump_text_test.cpp).
TEST(RecordTransfer, RecordsGoThroughBytesAndTextAndWhatIsNoneIsRefused) {
    const std::vector<MenuItemRecord> records = {Rec("wint", 10, 20, 300, 200, 1, 7),
                                                 Rec("butt", 30, 40, 50, 60, 2, 8)};
    const QByteArray file = EncodeMenuItems(records);
    EXPECT_FALSE(dump::RecordsFromBytes(file.left(40)));
    EXPECT_FALSE(dump::RecordsFromBytes({}));

    // The text is a dump of kaveldef in CSV; JSON lines as kaveldef writes
    // them are taken too, from their content.
    const QByteArray text = dump::RecordsText(records, nullptr);
    EXPECT_TRUE(text.startsWith("index,id,type,typeBytes,posX,posXBits,posY,posYBits,"));
    EXPECT_EQ(EncodeMenuItems(dump::RecordsFromText(text).records), file);
    const QByteArray json = dump::WriteDump(records, file.size(), dump::Format::Json, nullptr);
    EXPECT_EQ(EncodeMenuItems(dump::RecordsFromText(json).records), file);

    EXPECT_EQ(dump::RecordsFromText("Brenmoor\n").problems[0].Describe(),
              "line 1, field Brenmoor: is not a column of a dump");
    EXPECT_EQ(dump::RecordsFromText(text.left(text.indexOf('\n') + 1)).problems[0].Describe(),
              "line 1: the dump holds no record");
}
