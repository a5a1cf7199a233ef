#include "app/text_line.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "app/message_table.h"
#include "base/code_page.h"
#include "base/conversion_error.h"
#include "document/document.h"
#include "editing/text_edits.h"

TextLine::TextLine(Document& document, QWidget* panel,
                   std::function<std::optional<std::size_t>()> selected)
    : QObject(panel), document_(document), selected_(std::move(selected)) {
    caption_ = new QLabel(panel);
    caption_->setTextFormat(Qt::PlainText);
    caption_->move(8, 272);
    field_ = new QLineEdit(panel);
    field_->setGeometry(80, 271, 73, 20);
    field_->setTextMargins(-1, 0, -1, 0);
    QPalette palette = field_->palette();
    palette.setColor(QPalette::PlaceholderText, Qt::gray);
    field_->setPalette(palette);
    note_ = new QLabel(panel);
    note_->setTextFormat(Qt::PlainText);
    note_->setGeometry(8, 293, 145, 14);
    QFont small = note_->font();
    small.setPixelSize(11);
    note_->setFont(small);
}

void TextLine::ApplyTexts() {
    caption_->setText(MessageTable().textCaption);
    caption_->adjustSize();
    Fill();
}

void TextLine::Fill() {
    const LanguageTexts& texts = MessageTable();
    const std::optional<std::size_t> record = selected_();
    // Selected records of different texts show none, and take none typed.
    const bool none = !record || *record >= document_.count();
    field_->setReadOnly(none);
    if (none) {
        shown_.clear();
        field_->clear();
        field_->setToolTip(QString());
        field_->setPlaceholderText(document_.isOpen() ? texts.severalValues : QString());
        note_->clear();
        return;
    }
    const std::int32_t textId = document_.record(*record).textId;
    const TextDb& textDb = document_.textDb();
    const std::optional<std::uint32_t> entry = textDb.FirstIndexOf(textId);
    const std::string_view whole = entry ? textDb.WholeText(*entry) : std::string_view();
    shown_ = FromCodePage(whole.substr(0, TextDb::kMaxTextLength));
    field_->setText(shown_);
    field_->setCursorPosition(0);
    field_->setPlaceholderText(entry ? QString() : texts.noText);
    // Rich text by construction, so that a text holding markup shows as typed.
    field_->setToolTip(whole.empty() ? QString()
                                     : QStringLiteral("<p style='white-space:pre'>") +
                                           FromCodePage(whole).toHtmlEscaped() +
                                           QStringLiteral("</p>"));

    // Said before any change, so that nobody changes a shared text unawares.
    QStringList notes;
    // Counted again only when the records changed: a drag refreshes the
    // panel at every step, and a count walks every record.
    const std::uint64_t version = document_.recordsVersion();
    if (!users_ || users_->textId != textId || users_->version != version)
        users_ = Users{textId, version, editing::CountTextUsers(document_, textId)};
    const std::size_t users = users_->count;
    if (users > 1) notes << texts.textUsers.arg(users);
    if (whole.size() > TextDb::kMaxTextLength) notes << texts.textCut.arg(whole.size());
    note_->setText(notes.join(QStringLiteral("; ")));
    note_->setToolTip(note_->text());
}

bool TextLine::HasTyping() const {
    return selected_() && field_->text() != shown_;
}

std::string TextLine::StoredText() const {
    const LanguageTexts& texts = MessageTable();
    const QString typed = field_->text();
    if (const std::optional<char32_t> outside = FirstCharOutsideCodePage(typed)) {
        throw ConversionError(texts.textOutsideCodePage.arg(
            QString::fromUcs4(&*outside, 1),
            QString::number(*outside, 16).toUpper().rightJustified(4, u'0')));
    }
    if (typed.size() > TextDb::kMaxTextLength)
        throw ConversionError(texts.textTooLong.arg(typed.size()).arg(TextDb::kMaxTextLength));
    return ToCodePage(typed).toStdString();
}

void TextLine::Commit() {
    const std::optional<std::size_t> record = selected_();
    if (!record || field_->text() == shown_) return;
    const LanguageTexts& texts = MessageTable();
    editing::SetRecordText(document_, *record, StoredText(), texts.textStep, texts.addTextStep);
}

void TextLine::NewText() {
    const std::optional<std::size_t> record = selected_();
    if (!record) return;
    const TextDb& textDb = document_.textDb();
    const std::optional<std::uint32_t> entry =
        textDb.FirstIndexOf(document_.record(*record).textId);
    // The text as shown is the whole text of the entry, however long.
    const std::string text = entry && field_->text() == shown_
                                 ? std::string(textDb.WholeText(*entry))
                                 : StoredText();
    const LanguageTexts& texts = MessageTable();
    if (!editing::NewText(document_, *record, text, texts.newTextStep))
        throw ConversionError(texts.noFreeTextId);
}
