// The picture loader on .wmf files; see picture_fuzzer.h. The drawing library
// runs in the helper program, a process per drawing, so the whole load is
// made for one input in 64 and the checks before it for all.
#define KAVEL_FUZZ_EXTENSION "wmf"
#define KAVEL_FUZZ_DRAW_ONE_IN 64

#include "assets/metafile_checks.h"
#include "assets/picture_error.h"
#include "fuzz_support.h"

namespace {

// The file is refused with a message, or handed on with only its header's
// longest-record length changed.
void CheckBeforeDrawing(const QByteArray& bytes) {
    try {
        const QByteArray handedOn = metafile_detail::WindowsMetafileForPlayer(bytes);
        FUZZ_CHECK(handedOn.size() == bytes.size());
        // The field lies at 12 in the metafile header, which follows the
        // 22-byte placeable header when there is one.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (handedOn[i] != bytes[i]) FUZZ_CHECK((i >= 12 && i < 16) || (i >= 34 && i < 38));
        }
    } catch (const PictureError& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
}

}  // namespace

#include "picture_fuzzer.h"
