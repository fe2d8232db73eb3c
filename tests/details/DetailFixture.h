#pragma once

#include "Store.h"
#include "TDM_BL.h"

#include <QDir>
#include <QFile>
#include <QVariantHash>

// A fresh store and data module per test function, with helpers that store BLs and detail rows through the
// module's buffers as the windows do.
struct DetailFixture
{
    void setUp()
    {
        Store::open(QDir::currentPath());
        DM_BL = new TDM_BL;
    }

    void tearDown()
    {
        delete DM_BL;
        DM_BL = nullptr;
        Store::close();
        QFile::remove(QString::fromLatin1(Store::FileName));
    }

    // Stores a BL with the given columns and leaves it on qyBLS in Browse, as the main window shows it.
    static int newBl(const QVariantHash &columns = {})
    {
        EditBuffer *bls = DM_BL->qyBLS;
        bls->close();
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        bls->open();
        bls->insert();
        bls->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("RES"));
        bls->setText(QStringLiteral("Bls_Carga"), QStringLiteral("FCL"));
        for (auto it = columns.begin(); it != columns.end(); ++it)
            bls->setValue(it.key(), it.value());
        const int code = DM_BL->postWithNewCode(bls);
        showBl(code);
        return code;
    }

    static void showBl(int code)
    {
        EditBuffer *bls = DM_BL->qyBLS;
        bls->close();
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        bls->setPp1(code);
        bls->open();
    }

    // Stores one detail row of a BL through the detail buffer of its table (left closed).
    static int addDetail(EditBuffer *buffer, int blCode, const QVariantHash &columns)
    {
        const TableDef &table = buffer->updateObject()->table();
        buffer->close();
        buffer->setSql(
            {QStringLiteral("SELECT * from %1").arg(table.name), QStringLiteral("where %1 = :pp1").arg(table.link)});
        buffer->setPp1(blCode);
        buffer->open();
        buffer->insert();
        buffer->setInteger(table.link, blCode);
        for (auto it = columns.begin(); it != columns.end(); ++it)
            buffer->setValue(it.key(), it.value());
        const int code = DM_BL->postWithNewCode(buffer);
        buffer->close();
        return code;
    }

    static int addContainer(int blCode, const QString &number, const QString &type, double gross = 0, double tare = 0,
                            const QVariantHash &more = {})
    {
        QVariantHash columns = more;
        columns.insert(QStringLiteral("Cnt_Numero"), number);
        columns.insert(QStringLiteral("Cnt_Tipo"), type);
        if (gross != 0)
            columns.insert(QStringLiteral("Cnt_Peso"), gross);
        if (tare != 0)
            columns.insert(QStringLiteral("Cnt_Tara"), tare);
        return addDetail(DM_BL->qyCntr, blCode, columns);
    }
};
