#include "assets/metafile_helper_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool IsProgram(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

// The running program's folder, symbolic links resolved; what
// QCoreApplication::applicationDirPath() gives, without needing the
// application object.
QString RunningProgramFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
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
