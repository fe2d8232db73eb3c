#pragma once

#include <QString>

// The captions and selected items of the main window's four choice groups, as they stand on the window (in the
// interface language) when the draft is printed. A group without a selected item gives an empty item.
struct DraftRemarks
{
    QString emissionCaption; // "Emissão de B/L" (DBRG_Emissao)
    QString emissionItem;
    QString asPerCaption; // "As Per Agreement" (DBRG_AsPer)
    QString asPerItem;
    QString cargoCaption; // "CARGA" (DBRG_Carga)
    QString cargoItem;
    QString imoCaption; // "IMO" (DBRG_Imo)
    QString imoItem;
};
