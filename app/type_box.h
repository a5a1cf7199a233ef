#pragma once

#include <QComboBox>
#include <QString>

// The property panel's type box: an editable box over the rows of the type
// catalogue, showing the selected record's code. Only the first four
// characters of a row are a code; picking one of the empty rows that
// separate the catalogue's groups chooses none, so the box shows the code
// again. Its list opens at the row of the code in the box.
class TypeBox : public QComboBox {
  public:
    explicit TypeBox(QWidget* parent);

    // Shows a record's code, with no row chosen; picking an empty row comes
    // back to it.
    void ShowCode(const QString& code);

    void showPopup() override;

  private:
    // The row that gives the code in the box: the chosen one while the box
    // shows it, else the first whose code it is; -1 when there is none.
    int RowOfShownCode() const;

    QString code_;
};
