#pragma once

#include <QSet>
#include <QString>
#include <memory>

class Platform;
class RecoveryJournal;
class RecoverySlot;
class TmainWin;

// Offers the unsaved changes that editors which were killed (or whose
// machine stopped) left in the recovery folder: all of them when the editor
// starts, one after the other, and those of a document when it is opened.
// Each is asked about: Recover loads it as the open document, unsaved, its
// file becoming this editor's recovery file; Discard removes it; Later keeps
// it for the next start. A damaged or foreign file is set aside and the user
// told so; one of a newer version of the editor is left alone.
class RecoveryOffer {
  public:
    RecoveryOffer(TmainWin& window, Platform& platform, RecoveryJournal& journal,
                  const QString& folder);

    void OfferAll();
    void OfferFor(const QString& menuPath);

  private:
    void Offer(std::unique_ptr<RecoverySlot> slot, const QString& onlyFor);

    TmainWin& window_;
    Platform& platform_;
    RecoveryJournal& journal_;
    QString folder_;
    // Files the user chose to keep for later: not asked about again in this
    // run.
    QSet<QString> postponed_;
};
