#include "assets/isolated_drawing.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "assets/picture_error.h"

namespace {

using namespace std::chrono_literals;
using Ending = IsolatedDrawing::Ending;
using Clock = std::chrono::steady_clock;

QByteArray RandomBytes(qsizetype size) {
    std::mt19937 random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

TEST(IsolatedDrawing, HandsBackWhatTheChildDrewOrItsRefusal) {
    // Several pipe-fulls, every byte value.
    const QByteArray picture = RandomBytes(5 * 1024 * 1024 + 3);
    IsolatedDrawing drawn = DrawIsolated([&] { return picture; }, 10s, picture.size());
    EXPECT_EQ(drawn.ending, Ending::Drawn);
    EXPECT_TRUE(drawn.bytes == picture);

    drawn = DrawIsolated([] { return QByteArray(); }, 10s, 100);
    EXPECT_EQ(drawn.ending, Ending::Drawn);
    EXPECT_TRUE(drawn.bytes.isEmpty());

    const IsolatedDrawing refused = DrawIsolated(
        []() -> QByteArray { throw PictureError(QStringLiteral("Damaged picture: ünreadable")); },
        10s, 100);
    EXPECT_EQ(refused.ending, Ending::Refused);
    EXPECT_EQ(refused.message, QStringLiteral("Damaged picture: ünreadable"));
}

TEST(IsolatedDrawing, StopsAChildThatDrawsTooLong) {
    const Clock::time_point start = Clock::now();
    const IsolatedDrawing drawing = DrawIsolated(
        []() -> QByteArray {
            for (;;) ::pause();
        },
        300ms, 100);
    EXPECT_EQ(drawing.ending, Ending::TooSlow);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 5s);
}

TEST(IsolatedDrawing, FailsWhenTheChildDiesThrowsOrSendsTooMuch) {
    EXPECT_EQ(DrawIsolated(
                  []() -> QByteArray {
                      ::raise(SIGKILL);
                      return {};
                  },
                  10s, 100)
                  .ending,
              Ending::Failed);
    EXPECT_EQ(DrawIsolated([]() -> QByteArray { ::_exit(0); }, 10s, 100).ending, Ending::Failed);
    EXPECT_EQ(DrawIsolated([]() -> QByteArray { throw std::runtime_error("not a picture error"); },
                           10s, 100)
                  .ending,
              Ending::Failed);
    const IsolatedDrawing tooMuch =
        DrawIsolated([] { return QByteArray(1024 * 1024, 'x'); }, 10s, 1000);
    EXPECT_EQ(tooMuch.ending, Ending::Failed);
    EXPECT_TRUE(tooMuch.bytes.isEmpty());
    // The program goes on drawing afterwards.
    EXPECT_EQ(DrawIsolated([] { return QByteArray("ok"); }, 10s, 100).bytes, "ok");
}

}  // namespace
