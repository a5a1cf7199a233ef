#include "assets/helper_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "assets/metafile_files.h"
#include "assets/metafile_helper_path.h"
#include "assets/metafile_renderer.h"

namespace {

using namespace std::chrono_literals;
using Ending = HelperAnswer::Ending;
using Clock = std::chrono::steady_clock;

// A stand-in helper: a shell running `script`.
HelperAnswer RunScript(const char* script, const QByteArray& input = "input",
                       qint64 maxBytes = 100) {
    return RunDrawingHelper(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), QLatin1StringView(script)}, input, 10s,
                            maxBytes);
}

TEST(HelperProcess, HandsOverTheFileAndTheAnswerWhole) {
    // Many pipe-fulls each way, every byte value, answered while still read.
    QByteArray file(5 * 1024 * 1024 + 3, Qt::Uninitialized);
    std::mt19937 random(7);
    for (char& byte : file) byte = static_cast<char>(random());
    const HelperAnswer echoed = RunScript("printf D; exec cat", file, file.size());
    EXPECT_EQ(echoed.ending, Ending::Drawn);
    EXPECT_TRUE(echoed.bytes == file);

    // The real helper's own refusal, with its message.
    const HelperAnswer refused =
        RunDrawingHelper(FindMetafileHelper(), {QStringLiteral("wmf")}, "not a metafile", 10s, 100);
    EXPECT_EQ(refused.ending, Ending::Refused);
    EXPECT_EQ(refused.message.toStdString(),
              "Damaged metafile picture: it is not a Windows metafile");
}

TEST(HelperProcess, KillsAHelperStillDrawingWhenTheTimeIsUp) {
    if (!CanRenderWindowsMetafiles()) GTEST_SKIP() << "built without libwmf";
    const Clock::time_point start = Clock::now();
    const HelperAnswer answer = RunDrawingHelper(FindMetafileHelper(), {QStringLiteral("wmf")},
                                                 test_metafiles::WmfSlowToDraw(), 500ms, 1000);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(answer.ending, Ending::TooSlow);
    EXPECT_GE(waited, 500ms);
    EXPECT_LT(waited, 2s);
}

TEST(HelperProcess, FailsWhenTheHelperCannotAnswer) {
    EXPECT_EQ(RunScript("kill -9 $$").ending, Ending::Failed);
    EXPECT_EQ(RunScript("cat >/dev/null; printf Dpicture; exit 3").ending, Ending::Failed);
    EXPECT_EQ(RunScript("cat >/dev/null; printf Xpicture").ending, Ending::Failed);
    // Gone before reading a byte of a file larger than the pipe holds.
    EXPECT_EQ(RunScript("exit 0", QByteArray(4 * 1024 * 1024, 'x')).ending, Ending::Failed);
    // Stopped as soon as it says too much, not when it is done.
    const Clock::time_point start = Clock::now();
    const HelperAnswer flood = RunScript("printf D; exec cat /dev/zero", "input", 1000);
    EXPECT_EQ(flood.ending, Ending::Failed);
    EXPECT_LT(Clock::now() - start, 5s);

    EXPECT_EQ(
        RunDrawingHelper(QStringLiteral("/nonexistent/kavel-draw-metafile"), {}, "input", 10s, 100)
            .ending,
        Ending::NotStarted);
    // The program goes on running helpers afterwards.
    EXPECT_EQ(RunScript("cat >/dev/null; printf Dok").bytes, "ok");
}

}  // namespace
