#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "editing/record_field.h"
#include "editing/set_type_command.h"

class Document;
class RecordSelection;

// What the property panel shows for the selected records: each field as its
// text where every selected record holds the same bits, and nothing where
// they differ. Taken when the panel is filled, so that a field's typing is
// told from what it showed.
class PanelValues {
  public:
    void Take(const Document& document, const RecordSelection& selection);

    bool several() const { return several_; }
    // The bits every selected record holds in the field, if they agree.
    std::optional<std::uint32_t> Bits(RecordField field) const;
    // The panel's text of the field: empty where the records differ.
    QString Text(RecordField field, QChar decimalSeparator) const;
    // The shown type code, empty where the records differ.
    QString TypeText() const;
    std::optional<SetTypeCommand::StoredType> type() const { return type_; }

  private:
    bool several_ = false;
    std::array<std::optional<std::uint32_t>, 8> bits_{};
    std::optional<SetTypeCommand::StoredType> type_;
};
