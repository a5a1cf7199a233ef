// Shows every finite 32-bit float as the property panel does and converts the
// text back, for each decimal separator asked for; reports every pattern
// whose bits do not come back. Runs on all cores and prints its progress.
//
//   kavel-float-roundtrip [--threads N] [--first HEX] [--last HEX] [--separators .,]

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/conversion_error.h"
#include "base/number_text.h"

namespace {

constexpr std::uint64_t kBlock = 1 << 20;
constexpr int kReportedFailures = 20;

struct Options {
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::uint64_t first = 0;
    std::uint64_t last = 0xFFFFFFFFu;
    QString separators = QStringLiteral(".,");
};

struct Shared {
    std::atomic<std::uint64_t> nextBlock{0};
    std::atomic<std::uint64_t> checked{0};
    std::atomic<std::uint64_t> failures{0};
    std::mutex print;
};

float FromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t BitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void Report(Shared& shared, std::uint32_t bits, QChar separator, const QString& shown,
            const QString& why) {
    const std::uint64_t failure = ++shared.failures;
    if (failure > kReportedFailures) return;
    const std::lock_guard<std::mutex> lock(shared.print);
    std::printf("FAIL 0x%08X separator '%c': \"%s\" %s\n", bits, separator.toLatin1(),
                qPrintable(shown), qPrintable(why));
    std::fflush(stdout);
}

void Work(const Options& options, Shared& shared) {
    const std::uint64_t blocks = (options.last - options.first) / kBlock + 1;
    for (;;) {
        const std::uint64_t block = shared.nextBlock++;
        if (block >= blocks) return;
        const std::uint64_t begin = options.first + block * kBlock;
        const std::uint64_t end = std::min(options.last + 1, begin + kBlock);
        std::uint64_t checked = 0;
        for (std::uint64_t pattern = begin; pattern < end; ++pattern) {
            const auto bits = static_cast<std::uint32_t>(pattern);
            const float value = FromBits(bits);
            if (!std::isfinite(value)) continue;
            for (const QChar separator : options.separators) {
                const QString shown = FloatDisplayText(value, separator);
                try {
                    const std::uint32_t back = BitsOf(ParseFloatText(shown, separator));
                    if (back != bits) {
                        Report(shared, bits, separator, shown,
                               QStringLiteral("converts to 0x%1").arg(back, 8, 16, QChar(u'0')));
                    }
                } catch (const ConversionError& error) {
                    Report(shared, bits, separator, shown, error.message());
                }
                ++checked;
            }
        }
        shared.checked += checked;
    }
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--threads" && hasValue) {
            options.threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--first" && hasValue) {
            options.first = std::strtoull(argv[++i], nullptr, 16) & 0xFFFFFFFFu;
        } else if (arg == "--last" && hasValue) {
            options.last = std::strtoull(argv[++i], nullptr, 16) & 0xFFFFFFFFu;
        } else if (arg == "--separators" && hasValue) {
            options.separators = QString::fromLatin1(argv[++i]);
        } else {
            return false;
        }
    }
    return options.first <= options.last && !options.separators.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--threads N] [--first HEX] [--last HEX] [--separators .,]\n"
                     "Checks that FloatDisplayText and ParseFloatText give back the bits of\n"
                     "every finite float from FIRST to LAST (default: all 2^32 patterns).\n",
                     argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    Shared shared;
    const std::uint64_t patterns = options.last - options.first + 1;
    const std::uint64_t blocks = (patterns - 1) / kBlock + 1;
    std::printf(
        "Checking 0x%08llX..0x%08llX (%llu patterns) with separators \"%s\" on %u threads\n",
        static_cast<unsigned long long>(options.first),
        static_cast<unsigned long long>(options.last), static_cast<unsigned long long>(patterns),
        qPrintable(options.separators), options.threads);
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < options.threads; ++i) {
        threads.emplace_back([&options, &shared] { Work(options, shared); });
    }
    auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::uint64_t reported = 0;
    while (true) {
        const std::uint64_t started = std::min(shared.nextBlock.load(), blocks);
        if (started >= blocks) break;
        if (started >= reported + std::max<std::uint64_t>(1, blocks / 100)) {
            reported = started;
            const double done = static_cast<double>(started) / static_cast<double>(blocks);
            const std::lock_guard<std::mutex> lock(shared.print);
            std::printf("%5.1f%%  %llu conversions, %llu failures, %.0f s, about %.0f s left\n",
                        100.0 * done, static_cast<unsigned long long>(shared.checked.load()),
                        static_cast<unsigned long long>(shared.failures.load()), elapsed(),
                        done > 0 ? elapsed() * (1.0 - done) / done : 0.0);
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    for (std::thread& thread : threads) thread.join();
    std::printf("Done: %llu conversions of finite floats, %llu failures, %.1f s\n",
                static_cast<unsigned long long>(shared.checked.load()),
                static_cast<unsigned long long>(shared.failures.load()), elapsed());
    return shared.failures.load() == 0 ? 0 : 1;
}
