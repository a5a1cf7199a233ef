#include "document/recovery_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>

#include "base/file_open.h"
#include "base/file_save.h"

namespace {

// Far beyond the copy of any document the editor can hold.
constexpr qint64 kLargestCopy = qint64{4} << 30;
// A lock file that names no process was cut off while its editor made it;
// once it is this old, that editor is surely gone.
constexpr qint64 kUnfinishedLockAgeMs = 10'000;

QString LockPath(const QString& path) {
    return path + QLatin1String(".lock");
}

}  // namespace

QString DefaultRecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return QDir(state).filePath(QStringLiteral("kavel-editor"));
}

RecoverySlot::RecoverySlot(const QString& path) : path_(path), lock_(LockPath(path)) {
    // Held for as long as the editor runs, however long: only an editor that
    // is gone leaves its lock stale.
    lock_.setStaleLockTime(0);
}

std::unique_ptr<RecoverySlot> RecoverySlot::Create(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) {
        if (!QDir().mkpath(folder)) return nullptr;
        // Unsaved work is the user's alone.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<RecoverySlot> slot(new RecoverySlot(dir.filePath(id + kRecoverySuffix)));
    if (!slot->lock_.tryLock(0)) return nullptr;
    return slot;
}

std::unique_ptr<RecoverySlot> RecoverySlot::Claim(const QString& path) {
    std::unique_ptr<RecoverySlot> slot(new RecoverySlot(path));
    if (slot->lock_.tryLock(0)) return slot;
    if (slot->lock_.error() != QLockFile::LockFailedError) return nullptr;
    const QFileInfo lock(LockPath(path));
    if (!slot->lock_.getLockInfo(nullptr, nullptr, nullptr) &&
        lock.lastModified().msecsTo(QDateTime::currentDateTime()) > kUnfinishedLockAgeMs &&
        slot->lock_.removeStaleLockFile() && slot->lock_.tryLock(0))
        return slot;
    return nullptr;
}

void RecoverySlot::RemoveFile() const {
    QFile::remove(path_);
}

QString RecoverySlot::SetAside() const {
    for (int attempt = 1; attempt < 1000; ++attempt) {
        QString aside = path_ + QLatin1String(".damaged");
        if (attempt > 1) aside += QLatin1Char('-') + QString::number(attempt);
        if (QFileInfo::exists(aside)) continue;
        return QFile::rename(path_, aside) ? aside : QString();
    }
    return {};
}

bool WriteRecoveryFile(const QString& path, const RecoveryCopy& copy) {
    return SaveFileAtomically(path, EncodeRecoveryCopy(copy));
}

RecoveryReadResult ReadRecoveryFile(const QString& path) {
    RecoveryReadResult unreadable;
    unreadable.error = RecoveryReadError::Unreadable;
    QFile file;
    if (!OpenRegularFileForReading(path, file)) return unreadable;
    if (file.size() > kLargestCopy) {
        unreadable.error = RecoveryReadError::Foreign;
        return unreadable;
    }
    QByteArray bytes;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        return unreadable;
    }
    if (bytes.size() != file.size()) return unreadable;
    return DecodeRecoveryCopy(bytes);
}

std::vector<std::unique_ptr<RecoverySlot>> ClaimLeftCopies(const QString& folder) {
    RemoveStaleSaveTemporaries(folder);
    const QDir dir(folder);
    // The lock of an editor killed before its first copy was written.
    const QString lockSuffix = kRecoverySuffix + QLatin1String(".lock");
    for (const QString& lock : dir.entryList({QLatin1Char('*') + lockSuffix}, QDir::Files)) {
        const QString copy = dir.filePath(lock.chopped(5));
        if (!QFileInfo::exists(copy)) RecoverySlot::Claim(copy);
    }
    const QFileInfoList files = dir.entryInfoList({QLatin1Char('*') + kRecoverySuffix}, QDir::Files,
                                                  QDir::Time | QDir::Reversed);
    std::vector<std::unique_ptr<RecoverySlot>> claimed;
    for (const QFileInfo& file : files) {
        if (std::unique_ptr<RecoverySlot> slot = RecoverySlot::Claim(file.absoluteFilePath()))
            claimed.push_back(std::move(slot));
    }
    return claimed;
}
