// The picture loader on .emf files; see picture_fuzzer.h. The converter runs
// in the helper program, a process per drawing, so the whole load is made for
// one input in 64 and the checks before it for all.
#define KAVEL_FUZZ_EXTENSION "emf"
#define KAVEL_FUZZ_DRAW_ONE_IN 64

#include "assets/metafile_checks.h"
#include "assets/metafile_renderer.h"
#include "assets/picture_error.h"
#include "fuzz_support.h"

namespace {

// The file is refused with a message, or found fit for the converter at a
// size within the budget.
void CheckBeforeDrawing(const QByteArray& bytes) {
    try {
        const QSize size = metafile_detail::CheckEnhancedMetafile(bytes);
        FUZZ_CHECK(size.width() > 0 && size.height() > 0);
        FUZZ_CHECK(qint64(size.width()) * size.height() <= kMaxMetafilePixels);
    } catch (const PictureError& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
}

}  // namespace

#include "picture_fuzzer.h"
