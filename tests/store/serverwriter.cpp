// Confirms a number of new BLs, each with a container, an export document and an NCM code, through the data module
// on the store that DALVORA_DATABASE names; each BL's shipper reference is the given tag and its round. Exits with 1
// and the error's text at the first failure. The server store test runs two at once.
#include "Store.h"
#include "TDM_BL.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {
void insertDetail(EditBuffer *buffer, const QString &link, int bl, const QString &column, const QString &text)
{
    buffer->close();
    buffer->setSql({QStringLiteral("SELECT * from %1").arg(buffer->updateObject()->table().name),
                    QStringLiteral("where %1 = :pp1").arg(link)});
    buffer->setPp1(bl);
    buffer->open();
    buffer->insert();
    buffer->setText(column, text);
    DM_BL->postDetail(buffer, bl);
    buffer->close();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString tag = QString::fromLocal8Bit(argv[1]);
    const int rounds = QByteArray(argv[2]).toInt();
    try {
        Store::open(QDir::currentPath());
        TDM_BL dm;
        DM_BL = &dm;
        for (int round = 0; round < rounds; ++round) {
            const QString name = QStringLiteral("%1-%2").arg(tag).arg(round);
            dm.qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
            dm.qyBLS->open();
            dm.qyBLS->insert();
            dm.qyBLS->setText(QStringLiteral("Bls_RefShipper"), name);
            const int bl = dm.postWithNewCode(dm.qyBLS);
            dm.qyBLS->close();
            insertDetail(dm.qyCntr, QStringLiteral("Cnt_Cod_BL"), bl, QStringLiteral("Cnt_Numero"), name);
            insertDetail(dm.qySD, QStringLiteral("Sd_Cod_BL"), bl, QStringLiteral("Sd_Numero"), name);
            insertDetail(dm.qyNCM, QStringLiteral("Ncm_Cod_BL"), bl, QStringLiteral("Ncm_Numero"), name);
        }
        DM_BL = nullptr;
    } catch (const StoreError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    Store::close();
    return 0;
}
