#pragma once

#include <QDate>
#include <QVariantHash>

// The example BL of the carrier's format, shared by the composer's and the window's tests: FCL, no IMO cargo, one
// container, one SD document and one NCM code.
namespace ExampleBl {

inline QVariantHash header()
{
    return {
        {"Bls_ReservaNr", "SSZ-123.456/7"},
        {"Bls_Cia_Arquivo", "ABC"},
        {"Bls_Cia_Nome", "EXPORTADORA EXEMPLO LTDA"},
        {"Bls_Cia_Usuario", "EXPEDICAO"},
        {"Bls_Cia_Cidade", "SANTOS"},
        {"Bls_Shipper1", "EXPORTADORA EXEMPLO LTDA"},
        {"Bls_Shipper2", "RUA DO PORTO 100"},
        {"Bls_Shipper3", "SANTOS SP ZEREVA"},
        {"Bls_Cnee1", "IMPORTER EXAMPLE GMBH"},
        {"Bls_Cnee2", "HAFENSTRASSE 1"},
        {"Bls_Cnee3", "HAMBURG"},
        {"Bls_Notify1", "SAME AS CONSIGNEE"},
        {"Bls_BillofLading", "BL0001"},
        {"Bls_RefShipper", "REF77"},
        {"Bls_Payable", "ORI"},
        {"Bls_PlaceReceipt", "SANTOS"},
        {"Bls_PortLoading", "SANTOS"},
        {"Bls_PortDischarge", "HAMBURG"},
        {"Bls_PlaceDelivery", "HAMBURG"},
        {"Bls_Navio", "EXAMPLE STAR"},
        {"Bls_Viagem", "012E"},
        {"Bls_Carga", "FCL"},
        {"Bls_Imo", false},
        {"Bls_EmissaoBL", "ORI"},
        {"Bls_AsPerAgee", false},
    };
}

inline QVariantHash document()
{
    return {{"Sd_Numero", "08/12345-6"}, {"Sd_Vencto", QDate(2008, 3, 15)}, {"Sd_Peso", 19200.0},
            {"Sd_Volume", 800.0},        {"Sd_ValorFOB", 45000.5},          {"Sd_Tipo", "RE"}};
}

inline const char *const NcmCode = "0901.11.10";

} // namespace ExampleBl
