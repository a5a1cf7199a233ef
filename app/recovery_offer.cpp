#include "app/recovery_offer.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "base/file_open.h"
#include "document/menu_file.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"

namespace {

bool SameFile(const QString& first, const QString& second) {
    return IsSameExistingFile(first, second) ||
           QDir::cleanPath(QFileInfo(first).absoluteFilePath()) ==
               QDir::cleanPath(QFileInfo(second).absoluteFilePath());
}

// The copy becomes the open document, unsaved: its records, and the string
// database as it is on disk unless the copy holds changes of its own to it
// (a database that cannot be read leaves the texts out, not the records).
bool LoadCopy(TmainWin& window, const RecoveryCopy& copy) {
    // The document open now goes first, asked about as before any open.
    if (!window.FormCloseQuery()) return false;
    QByteArray menuBytes = EncodeMenuItems(copy.records);
    QBuffer menu(&menuBytes);
    menu.open(QIODevice::ReadOnly);
    QByteArray textDbBytes = copy.textDbBytes.value_or(QByteArray());
    QBuffer textDbBuffer(&textDbBytes);
    textDbBuffer.open(QIODevice::ReadOnly);
    QFile textDbFile;
    QIODevice* textDb = &textDbBuffer;
    if (!copy.textDbBytes && OpenRegularFileForReading(copy.textDbPath, textDbFile))
        textDb = &textDbFile;
    if (!window.LoadDocuments(menu, *textDb, copy.menuPath, copy.textDbPath)) return false;
    window.document().MarkModified();
    // Texts changed in the copy are saved to the database they belong to.
    if (copy.textDbBytes) window.document().MarkTextDbModified();
    window.SetStatusText(MessageTable().recoveredStatus.arg(copy.menuPath));
    return true;
}

}  // namespace

RecoveryOffer::RecoveryOffer(TmainWin& window, Platform& platform, RecoveryJournal& journal,
                             const QString& folder)
    : window_(window), platform_(platform), journal_(journal), folder_(folder) {}

void RecoveryOffer::OfferAll() {
    for (std::unique_ptr<RecoverySlot>& slot : ClaimLeftCopies(folder_))
        Offer(std::move(slot), QString());
}

void RecoveryOffer::OfferFor(const QString& menuPath) {
    for (std::unique_ptr<RecoverySlot>& slot : ClaimLeftCopies(folder_))
        Offer(std::move(slot), menuPath);
}

void RecoveryOffer::Offer(std::unique_ptr<RecoverySlot> slot, const QString& onlyFor) {
    if (postponed_.contains(slot->path())) return;
    const LanguageTexts& texts = MessageTable();
    const RecoveryReadResult read = ReadRecoveryFile(slot->path());
    switch (read.error) {
        case RecoveryReadError::None:
            break;
        case RecoveryReadError::Foreign:
        case RecoveryReadError::Damaged: {
            const QString aside = slot->SetAside();
            platform_.ShowMessageBox(&window_, fixed_text::kAppTitle,
                                     texts.recoveryFileRefused.arg(
                                         slot->path(), aside.isEmpty() ? slot->path() : aside));
            return;
        }
        case RecoveryReadError::NewerVersion:
        case RecoveryReadError::Unreadable:
            return;
    }
    const RecoveryCopy& copy = read.copy;
    if (!onlyFor.isEmpty() && !SameFile(copy.menuPath, onlyFor)) return;

    const QString time = QDateTime::fromMSecsSinceEpoch(copy.writtenMs)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString question = texts.recoveryQuestion.arg(copy.menuPath, time);
    const bool changed = FileStamp::Of(copy.menuPath) != copy.menuStamp ||
                         (copy.textDbBytes && FileStamp::Of(copy.textDbPath) != copy.textDbStamp);
    if (changed) question += QLatin1String("\n\n") + texts.recoveryFileChanged;
    const RecoverButtons buttons{texts.recoverButton, texts.discardButton, texts.laterButton};
    switch (platform_.AskRecover(&window_, fixed_text::kAppTitle, question, buttons)) {
        case RecoverAnswer::Recover:
            if (LoadCopy(window_, copy)) {
                journal_.Adopt(std::move(slot));
                return;
            }
            break;
        case RecoverAnswer::Discard:
            slot->RemoveFile();
            return;
        case RecoverAnswer::Later:
            break;
    }
    postponed_.insert(slot->path());
}
