// A dalvora.db changed at random from a seed store, opened by the store layer and read by the windows' queries:
// the search list, a BL with its containers, documents and NCM codes as shown, and its EDI/BL lines. A damaged
// file may be refused with a store error; nothing may crash or read out of bounds.
#include "EdiBlComposer.h"
#include "EdiBlRowsReader.h"
#include "EdiComposeError.h"
#include "FuzzApplication.h"
#include "ListQuery.h"
#include "Store.h"
#include "StoreError.h"
#include "TDM_BL.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Every column of every row as the window shows it, with the formats the windows put on them.
void showAll(EditBuffer *buffer)
{
    for (const QString &column : buffer->columnNames()) {
        const ColumnType type = buffer->columnType(column);
        if (type == ColumnType::Number)
            buffer->setDisplayFormat(column, QStringLiteral("###,###,##0.000"));
        else if (type == ColumnType::Date)
            buffer->setDisplayFormat(column, QStringLiteral("DD/MM/YYYY"));
    }
    for (int row = 0; row < buffer->recordCount(); ++row)
        for (const QString &column : buffer->columnNames())
            buffer->displayTextAt(row, column);
}

void openDetails(EditBuffer *buffer, const char *table, const char *link, qint64 blCode)
{
    buffer->close();
    buffer->setSql({QStringLiteral("SELECT * from %1").arg(QLatin1String(table)),
                    QStringLiteral("where %1 = :pp1").arg(QLatin1String(link))});
    buffer->setPp1(blCode);
    buffer->open();
    showAll(buffer);
}

void readEverything(TDM_BL &dm)
{
    // The search list in two of its orders, every row shown, and the jump while typing.
    ListQuery *list = dm.qyMostra;
    const QStringList shown{QStringLiteral("Bls_Codigo"), QStringLiteral("Bls_ReservaNr"), QStringLiteral("Bls_Navio"),
                            QStringLiteral("Bls_Shipper1")};
    for (const QString &order : {QStringLiteral("Bls_ReservaNr"), QStringLiteral("Bls_Navio")}) {
        list->close();
        list->setOrder(order);
        list->open();
        for (int row = 0; row < list->recordCount(); ++row)
            for (const QString &column : shown)
                list->displayTextAt(row, column);
        list->locate(QStringLiteral("Bls_ReservaNr"), QStringLiteral("B"));
    }
    for (const TableDef *table : TableDef::all())
        dm.maxCode(*table);

    for (int row = 0; row < list->recordCount() && row < 4; ++row) {
        const qint64 code = list->valueAt(row, QStringLiteral("Bls_Codigo")).toLongLong();
        EditBuffer *bl = dm.qyBLS;
        bl->close();
        bl->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        bl->setPp1(code);
        bl->open();
        showAll(bl);
        openDetails(dm.qyCntr, "Dal_Cntr", "Cnt_Cod_BL", code);
        openDetails(dm.qySD, "Dal_SD", "Sd_Cod_BL", code);
        openDetails(dm.qyNCM, "Dal_NCM", "Ncm_Cod_BL", code);
        const EdiBlRows rows = EdiBlRowsReader::read(*bl, *dm.qyCntr, *dm.qySD, *dm.qyNCM);
        QString text;
        try {
            EdiBlComposer::compose(rows, bl->text(QStringLiteral("Bls_Marks")).split(QStringLiteral("\r\n")),
                                   bl->text(QStringLiteral("Bls_Descricao")).split(QStringLiteral("\r\n")),
                                   QStringLiteral("1.1.26"), QDate(2026, 12, 10), text);
        } catch (const EdiComposeError &) {
        }
    }
}

// The clerk's edit of one field of the first BL: every other column is written back as it was read, whatever it
// holds.
void editFirstBl(TDM_BL &dm)
{
    EditBuffer *bl = dm.qyBLS;
    bl->close();
    bl->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("LIMIT 1")});
    bl->open();
    if (bl->recordCount() == 0)
        return;
    bl->edit();
    bl->setText(QStringLiteral("Bls_Navio"), QStringLiteral("FUZZ"));
    bl->post();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QString::fromLatin1(Store::FileName));
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    try {
        Store::open(folder.path());
        TDM_BL dm;
        DM_BL = &dm;
        readEverything(dm);
        editFirstBl(dm);
    } catch (const StoreError &) {
    }
    DM_BL = nullptr;
    Store::close();
    return 0;
}
