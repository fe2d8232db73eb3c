#pragma once

#include "Store.h"
#include "TDM_BL.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTimer>
#include <QVariantHash>
#include <QWidget>
#include <functional>

// A fresh store and data module per test function; BLs and details are stored through the module's buffers as the
// windows store them, and read back straight from the tables.
struct StoreFixture
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

    // Stores a BL with exactly these columns; qyBLS is left closed.
    static qint64 storeBl(const QVariantHash &columns)
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

    // Stores a BL of containers with a booking number and the given columns, and leaves it on qyBLS in Browse, as
    // the main window shows it.
    static qint64 newBl(const QVariantHash &columns = {})
    {
        QVariantHash all{{QStringLiteral("Bls_ReservaNr"), QStringLiteral("RES")},
                         {QStringLiteral("Bls_Carga"), QStringLiteral("FCL")}};
        all.insert(columns);
        const qint64 code = storeBl(all);
        showBl(code);
        return code;
    }

    static void showBl(qint64 code)
    {
        EditBuffer *bls = DM_BL->qyBLS;
        bls->close();
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        bls->setPp1(code);
        bls->open();
    }

    // Stores one detail row of a BL through the detail buffer of its table (left closed).
    static qint64 addDetail(EditBuffer *buffer, qint64 blCode, const QVariantHash &columns = {})
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
        const qint64 code = DM_BL->postWithNewCode(buffer);
        buffer->close();
        return code;
    }

    static qint64 addContainer(qint64 blCode, const QString &number, const QString &type, double gross = 0,
                               double tare = 0, const QVariantHash &more = {})
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

    // Runs a window's scenario once the driver's poll has returned, so the driver's timer can fire again to answer
    // the dialogs the scenario opens (a timer does not fire inside its own handler). A failed check leaves the window
    // open: it is closed then so the test ends.
    template <class Window> static std::function<void(QWidget *)> scenario(const std::function<void(Window *)> &steps)
    {
        return [steps](QWidget *widget) {
            QTimer::singleShot(0, widget, [steps, widget] {
                auto *window = qobject_cast<Window *>(widget);
                if (window)
                    steps(window);
                if (widget->isVisible())
                    static_cast<QDialog *>(widget)->reject();
            });
        };
    }

    static int count(const QString &sql)
    {
        QSqlQuery q(Store::database());
        q.exec(sql);
        return q.next() ? q.value(0).toInt() : -1;
    }
};
