#include "assets/metafile_helper_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool IsProgram(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

// The running program's folder, symbolic links resolved, as
// QCoreApplication::applicationDirPath() gives it without needing the
// application object; empty when it cannot be told, rather than a relative
// path that would look in the current folder.
QString RunningProgramFolder() {
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return program.isEmpty() ? QString() : QFileInfo(program).path();
}

bool IsInside(const QString& path, const QString& folder) {
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return !canonicalFolder.isEmpty() && path.startsWith(canonicalFolder + QLatin1Char('/'));
}

}  // namespace

QString FindMetafileHelper() {
    const QString chosen = qEnvironmentVariable("KAVEL_DRAW_METAFILE");
    if (!chosen.isEmpty())
        return IsProgram(chosen) ? QFileInfo(chosen).absoluteFilePath() : QString();

    const QString name = QLatin1StringView(kMetafileHelperName);
    const QString folder = RunningProgramFolder();
    if (folder.isEmpty()) return QString();
    for (const QString& candidate :
         {folder + QLatin1Char('/') + name,
          QDir::cleanPath(folder + QStringLiteral("/../libexec/kavel-editor/") + name)}) {
        if (IsProgram(candidate)) return candidate;
    }
    // Only for the build's own programs: an installed copy never picks up a
    // helper of whatever build it was made in.
    const QString built = QStringLiteral(KAVEL_BUILT_METAFILE_HELPER);
    if (IsInside(folder, QStringLiteral(KAVEL_BUILD_TREE)) && IsProgram(built)) return built;
    return QString();
}
