// Confirms BLs and containers in an endless loop through the data module, printing the code of each row
// once its action has returned. The crash-safety test kills it at random moments.
#include "Store.h"
#include "TDM_BL.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Store::open(QDir::currentPath());
    TDM_BL dm;
    for (int round = 0;; ++round) {
        dm.qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        dm.qyBLS->open();
        dm.qyBLS->insert();
        dm.qyBLS->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("BOOK%1").arg(round));
        dm.qyBLS->setText(QStringLiteral("Bls_Descricao"), QString(2000, QLatin1Char('x')));
        const qint64 bl = dm.postWithNewCode(dm.qyBLS);
        std::printf("BL %lld\n", static_cast<long long>(bl));
        std::fflush(stdout);
        dm.qyCntr->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1")});
        dm.qyCntr->setPp1(bl);
        dm.qyCntr->open();
        dm.qyCntr->insert();
        dm.qyCntr->setInteger(QStringLiteral("Cnt_Cod_BL"), bl);
        dm.qyCntr->setText(QStringLiteral("Cnt_Numero"), QStringLiteral("CNTR%1").arg(round));
        dm.qyCntr->setNumber(QStringLiteral("Cnt_Peso"), round);
        std::printf("CNTR %lld\n", static_cast<long long>(dm.postWithNewCode(dm.qyCntr)));
        std::fflush(stdout);
    }
}
