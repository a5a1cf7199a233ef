#pragma once

#include <QString>

// The helper program that draws metafiles (assets/metafile_helper/).
inline constexpr char kMetafileHelperName[] = "kavel-draw-metafile";

// Where the helper is, or an empty string when it is nowhere to be found.
// Looked for, in turn:
//   - the program that KAVEL_DRAW_METAFILE names, when it is set (and then
//     only there);
//   - beside the running program (the editor in libexec/kavel-editor/);
//   - in ../libexec/kavel-editor/ from the running program (kaveldef in bin/);
//   - where this build made it, for a program of the same build tree (the
//     tests, the fuzz runners).
QString FindMetafileHelper();
