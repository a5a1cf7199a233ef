#include "assets/drawn_picture.h"

#include <gtest/gtest.h>

TEST(DrawnPicture, ComesBackWholeOrNotAtAll) {
    QImage picture(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            picture.setPixel(x, y, qRgba(40 * x, 80 * y, 200, 255 - 50 * x));
    }
    const QByteArray bytes = EncodeDrawnPicture(picture);
    EXPECT_EQ(DecodeDrawnPicture(bytes, 15),
              picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));

    // A height that would wrap the byte count around.
    QByteArray huge = bytes;
    huge.replace(4, 4, QByteArray("\xff\xff\xff\xff", 4));
    EXPECT_TRUE(DecodeDrawnPicture(huge, qint64(1) << 40).isNull());
    EXPECT_TRUE(DecodeDrawnPicture(bytes, 14).isNull());  // beyond the budget
    for (const QByteArray& damaged :
         {bytes.chopped(1), bytes + "x", bytes.left(7), QByteArray(8, '\0')}) {
        EXPECT_TRUE(DecodeDrawnPicture(damaged, 15).isNull());
    }
}
