#pragma once

#include "TableDef.h"

#include <QValidator>

// Input rules of a single-line data-aware field: text fields take only characters the carrier file can hold (no
// line breaks or control characters), upper-cased where asked and within the column's width; number fields take
// only a number in the separators in force, within what the column can hold. A field that names a file takes no
// character a file name cannot hold.
class FieldValidator : public QValidator
{
    Q_OBJECT

public:
    FieldValidator(ColumnType type, bool upperCase, bool fileNamePart = false, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    ColumnType m_type;
    bool m_upperCase;
    bool m_fileNamePart;
};
