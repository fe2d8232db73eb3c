#pragma once

#include "DraftRemarks.h"

#include <QStringList>
#include <QVariantHash>

class TF_BLAPDF;

// Filling the draft page from one stored BL.
namespace DraftFilling {

// The BL as stored in Dal_Bls, read afresh through the data module's print query (closed again before
// returning, also when the store fails). Column name to value; empty when the BL is not in the table.
QVariantHash readPrintRow(qint64 blCode);

// Fills every slot of the page from the row and the main window's remark captions.
void fill(TF_BLAPDF &form, const QVariantHash &row, const DraftRemarks &remarks);

// A memo's lines, split at its line breaks (CR LF, LF or CR); blank lines are kept, a final line break
// starts no further line.
QStringList memoLines(const QString &text);

} // namespace DraftFilling
