#pragma once

#include "EdiBlComposer.h"

class EditBuffer;

// Reads the rows of the four open queries of a BL for the composition: the BL's current row and every row of
// the container, document and NCM queries from the first to the end, in the order the store returned them.
// The detail queries are left on their last row. Store failures arrive as StoreError, and so does a query that is
// not open or a BL query without a row: composing from those would leave values or details out of the file.
class EdiBlRowsReader
{
public:
    static EdiBlRows read(EditBuffer &bl, EditBuffer &containers, EditBuffer &documents, EditBuffer &ncmCodes);
    // The current row of a buffer, every column of the query by name.
    static QVariantMap currentRow(const EditBuffer &buffer);
};
