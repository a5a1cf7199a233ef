#include "app/record_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "document/document.h"
#include "dump/record_transfer.h"

namespace {

const QString kRecordsType = QString::fromLatin1(dump::kRecordsMimeType);
const QString kText = QStringLiteral("text/plain");

// Records on the clipboard, put into the asked form only when asked.
class RecordsMimeData : public QMimeData {
  public:
    explicit RecordsMimeData(std::vector<MenuItemRecord> records) : records_(std::move(records)) {}

    QStringList formats() const override { return {kRecordsType, kText}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

  protected:
    QVariant retrieveData(const QString& type, QMetaType) const override {
        if (type == kRecordsType) return dump::RecordsBytes(records_);
        if (type == kText) return QString::fromUtf8(dump::RecordsText(records_, nullptr));
        return {};
    }

  private:
    std::vector<MenuItemRecord> records_;
};

}  // namespace

RecordClipboard::RecordClipboard(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { changed_(); });
}

void RecordClipboard::Copy(const Document& document, const RowRanges& rows) {
    std::vector<MenuItemRecord> records;
    records.reserve(rows.count());
    rows.ForEach([&](std::size_t row) { records.push_back(document.record(row)); });
    copied_ = records;
    QGuiApplication::clipboard()->setMimeData(new RecordsMimeData(std::move(records)));
    changed_();
}

bool RecordClipboard::CanPaste() const {
    if (!copied_.empty()) return true;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasFormat(kRecordsType) || data->hasText());
}

RecordClipboard::Taken RecordClipboard::Take() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    // Our own records, or nothing that could be records: the copy made here.
    if (data == nullptr || dynamic_cast<const RecordsMimeData*>(data) != nullptr)
        return {copied_, {}};
    if (data->hasFormat(kRecordsType)) {
        if (auto records = dump::RecordsFromBytes(data->data(kRecordsType)))
            return {std::move(*records), {}};
    }
    if (!data->hasText()) return {copied_, {}};
    dump::ReadResult read = dump::RecordsFromText(data->text().toUtf8());
    if (read.problems.empty()) return {std::move(read.records), {}};
    QString refusal = read.problems.front().Describe();
    if (read.problems.size() > 1)
        refusal += QStringLiteral(" (and %1 more)").arg(read.problems.size() - 1);
    return {{}, refusal};
}
