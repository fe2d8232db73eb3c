#include "ExampleData.h"

#include "TDM_BL.h"

#include <QDate>
#include <QVariantHash>

namespace ExampleData {

const char *const ShownBooking = "SSZ-123.456/7";

namespace {

void openEmpty(EditBuffer *buffer, const TableDef &table, qint64 blCode)
{
    buffer->close();
    buffer->setSql(
        {QStringLiteral("SELECT * from %1").arg(table.name), QStringLiteral("where %1 = :pp1").arg(table.link)});
    buffer->setPp1(blCode);
    buffer->open();
}

qint64 storeBl(const QVariantHash &columns)
{
    EditBuffer *bls = DM_BL->qyBLS;
    bls->close();
    bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
    bls->open();
    bls->insert();
    for (auto it = columns.begin(); it != columns.end(); ++it)
        bls->setValue(it.key(), it.value());
    const qint64 code = DM_BL->postWithNewCode(bls);
    bls->close();
    return code;
}

void storeDetails(EditBuffer *buffer, qint64 blCode, const QList<QVariantHash> &rows)
{
    openEmpty(buffer, buffer->updateObject()->table(), blCode);
    for (const QVariantHash &columns : rows) {
        buffer->insert();
        for (auto it = columns.begin(); it != columns.end(); ++it)
            buffer->setValue(it.key(), it.value());
        DM_BL->postDetail(buffer, blCode);
    }
    buffer->close();
}

QVariantHash company()
{
    return {{"Bls_Cia_Nome", "EXPORTADORA EXEMPLO LTDA"},
            {"Bls_Cia_Usuario", "EXPEDICAO"},
            {"Bls_Cia_Cidade", "SANTOS"},
            {"Bls_Cia_Arquivo", "EXE"},
            {"Bls_Shipper1", "Exportadora Exemplo Ltda"},
            {"Bls_Shipper2", "Rua do Porto, 100 - Centro"},
            {"Bls_Shipper3", "11010-000 Santos SP"},
            {"Bls_Shipper4", "CNPJ 12.345.678/0001-90"},
            {"Bls_Payable", "ORI"},
            {"Bls_EmissaoBL", "ORI"},
            {"Bls_AsPerAgee", false},
            {"Bls_PlaceReceipt", "SANTOS"},
            {"Bls_PortLoading", "SANTOS"}};
}

QVariantHash with(QVariantHash columns, const QVariantHash &more)
{
    columns.insert(more);
    return columns;
}

QVariantHash container(const char *number, const char *type, double gross, double tare, int packages,
                       const char *packageKind, const char *seal)
{
    return {{"Cnt_Numero", number},   {"Cnt_Tipo", type},           {"Cnt_Peso", gross},  {"Cnt_Tara", tare},
            {"Cnt_Volume", packages}, {"Cnt_VolTipo", packageKind}, {"Cnt_Lacre_1", seal}};
}

} // namespace

void store()
{
    const qint64 coffee = storeBl(with(
        company(),
        {{"Bls_ReservaNr", ShownBooking},
         {"Bls_BillofLading", "EXBL260001"},
         {"Bls_RefShipper", "PO 4711/26"},
         {"Bls_Cnee1", "Kaffeehandel Beispiel GmbH"},
         {"Bls_Cnee2", "Am Sandtorkai 12"},
         {"Bls_Cnee3", "20457 Hamburg"},
         {"Bls_Cnee4", "Germany"},
         {"Bls_Notify1", "Same as consignee"},
         {"Bls_PortDischarge", "HAMBURG"},
         {"Bls_PlaceDelivery", "HAMBURG"},
         {"Bls_Navio", "EXAMPLE STAR"},
         {"Bls_Viagem", "012E"},
         {"Bls_Carga", "FCL"},
         {"Bls_Imo", false},
         {"Bls_Marks", "KBG\r\nHAMBURG\r\nLOT 26/014\r\nNET 60 KG"},
         {"Bls_Descricao", "2 X 20' DRY CONTAINERS SAID TO CONTAIN:\r\n1.600 BAGS OF 60 KG OF GREEN COFFEE BEANS\r\n"
                           "ARABICA NY 2/3 SCREEN 17/18\r\nFREIGHT PREPAID\r\nWOODEN PACKING: NOT APPLICABLE"}}));
    storeDetails(DM_BL->qyCntr, coffee,
                 {container("EXMU1234565", "Dry Box 20", 19350, 2230, 800, "BAGS", "SL0045871"),
                  container("EXMU7654320", "Dry Box 20", 19050, 2210, 800, "BAGS", "SL0045872")});
    storeDetails(DM_BL->qySD, coffee,
                 {{{"Sd_Tipo", "RE"},
                   {"Sd_Numero", "26/0145871-001"},
                   {"Sd_Vencto", QDate(2026, 4, 30)},
                   {"Sd_Peso", 34000.0},
                   {"Sd_Volume", 1600.0},
                   {"Sd_ValorFOB", 198400.0}}});
    storeDetails(DM_BL->qyNCM, coffee, {{{"Ncm_Numero", "0901.11.10"}}, {{"Ncm_Numero", "0901.11.90"}}});

    const qint64 juice = storeBl(with(company(), {{"Bls_ReservaNr", "RTM-0098812"},
                                                  {"Bls_BillofLading", "EXBL260002"},
                                                  {"Bls_RefShipper", "OJ-26-031"},
                                                  {"Bls_Cnee1", "Sapimport Voorbeeld B.V."},
                                                  {"Bls_Cnee2", "Waalhaven Zuidzijde 40"},
                                                  {"Bls_Cnee3", "3089 JH Rotterdam"},
                                                  {"Bls_Notify1", "Same as consignee"},
                                                  {"Bls_PortDischarge", "ROTTERDAM"},
                                                  {"Bls_PlaceDelivery", "ROTTERDAM"},
                                                  {"Bls_Navio", "NORTHERN EXAMPLE"},
                                                  {"Bls_Viagem", "115N"},
                                                  {"Bls_Carga", "FCL"},
                                                  {"Bls_Imo", false},
                                                  {"Bls_Payable", "DES"}}));
    storeDetails(DM_BL->qyCntr, juice, {container("REXU5550011", "Reefer 40", 30100, 4800, 1, "DRUMS", "SL0051190")});

    storeBl(with(company(), {{"Bls_ReservaNr", "ANR/55-3021"},
                             {"Bls_BillofLading", "EXBL260003"},
                             {"Bls_RefShipper", "GR 88"},
                             {"Bls_Cnee1", "Steenhandel Voorbeeld NV"},
                             {"Bls_Cnee2", "Noorderlaan 99"},
                             {"Bls_Cnee3", "2030 Antwerpen"},
                             {"Bls_Notify1", "Same as consignee"},
                             {"Bls_PortDischarge", "ANTWERP"},
                             {"Bls_PlaceDelivery", "ANTWERP"},
                             {"Bls_Navio", "EXAMPLE TRADER"},
                             {"Bls_Viagem", "031S"},
                             {"Bls_Carga", "LCL"},
                             {"Bls_Imo", false},
                             {"Bls_LCL_PesoBruto", 24600.0},
                             {"Bls_LCL_Cubagem", 9.2},
                             {"Bls_LCL_Volumes", 3},
                             {"Bls_LCL_TipoVolume", "PIECES"}}));

    const qint64 chemicals = storeBl(with(company(), {{"Bls_ReservaNr", "HOU-2026-0417"},
                                                      {"Bls_BillofLading", "EXBL260004"},
                                                      {"Bls_RefShipper", "CH-417"},
                                                      {"Bls_Cnee1", "Example Chemicals Inc."},
                                                      {"Bls_Cnee2", "1200 Ship Channel Road"},
                                                      {"Bls_Cnee3", "Houston TX 77029"},
                                                      {"Bls_Notify1", "Same as consignee"},
                                                      {"Bls_PortDischarge", "HOUSTON"},
                                                      {"Bls_PlaceDelivery", "HOUSTON"},
                                                      {"Bls_Navio", "EXAMPLE PIONEER"},
                                                      {"Bls_Viagem", "007W"},
                                                      {"Bls_Carga", "FCL"},
                                                      {"Bls_Imo", true},
                                                      {"Bls_Imo_IMDG", "3"},
                                                      {"Bls_Imo_UN", "1993"}}));
    storeDetails(DM_BL->qyCntr, chemicals, {container("TNKU3300217", "Iso Tank 20", 24300, 3700, 1, "", "SL0060012")});
}

} // namespace ExampleData
