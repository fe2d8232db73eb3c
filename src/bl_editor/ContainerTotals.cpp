#include "ContainerTotals.h"

#include "ContainerTypes.h"
#include "EditBuffer.h"
#include "TDM_BL.h"
#include "TranslateText.h"

#include <algorithm>

namespace {
const QString Gross = QStringLiteral("Bls_LCL_PesoBruto");
const QString Net = QStringLiteral("Bls_LCL_PesoLiquido");
const QString Measurement = QStringLiteral("Bls_LCL_Cubagem");
const QString Volumes = QStringLiteral("Bls_LCL_Volumes");
const QString VolumeKind = QStringLiteral("Bls_LCL_TipoVolume");
} // namespace

void ContainerTotals::addContainer(double gross, double tare, const QString &type)
{
    ++m_count;
    m_gross += gross;
    m_tare += tare;
    switch (ContainerTypes::sizeClass(type)) {
    case 20:
        ++m_twenties;
        break;
    case 40:
        ++m_forties;
        break;
    default:
        break;
    }
}

CargoTotals ContainerTotals::totals() const
{
    CargoTotals t;
    t.gross = m_gross;
    t.net = std::max(m_gross - m_tare, 0.0);
    t.measurement = 0; // container rows carry no measurement
    t.volumes = m_count;
    t.volumeKind = sizeSummary(m_twenties, m_forties);
    return t;
}

QString ContainerTotals::sizeSummary(int twenties, int forties)
{
    QString summary;
    if (twenties > 0)
        summary += QStringLiteral("%1 x 20\"  ").arg(twenties);
    if (forties > 0)
        summary += QStringLiteral("%1 x 40\"").arg(forties);
    return summary;
}

QList<ContainerTotals::Item> ContainerTotals::questions(const CargoTotals &stored, const CargoTotals &computed)
{
    QList<Item> items;
    if (stored.gross > 0 && stored.gross != computed.gross)
        items << Item::Gross;
    if (stored.net > 0 && stored.net != computed.net)
        items << Item::Net;
    if (stored.volumes > 0 && stored.volumes != computed.volumes)
        items << Item::Volumes;
    if (!stored.volumeKind.isEmpty() && stored.volumeKind != computed.volumeKind)
        items << Item::VolumeKind;
    // A measurement the clerk typed is not thrown away unasked either.
    if (stored.measurement > 0 && stored.measurement != computed.measurement)
        items << Item::Measurement;
    return items;
}

CargoTotals ContainerTotals::resolve(const CargoTotals &stored, const CargoTotals &computed,
                                     const std::function<bool(Item)> &keepComputed)
{
    CargoTotals result = computed;
    for (const Item item : questions(stored, computed)) {
        if (keepComputed(item))
            continue;
        switch (item) {
        case Item::Gross:
            result.gross = stored.gross;
            break;
        case Item::Net:
            result.net = stored.net;
            break;
        case Item::Volumes:
            result.volumes = stored.volumes;
            break;
        case Item::VolumeKind:
            result.volumeKind = stored.volumeKind;
            break;
        case Item::Measurement:
            result.measurement = stored.measurement;
            break;
        }
    }
    return result;
}

QString ContainerTotals::questionText(Item item, const QString &tipoCaption, const QString &cubaCaption)
{
    QString name;
    switch (item) {
    case Item::Gross:
        name = TranslateText(QStringLiteral("Peso Bruto"));
        break;
    case Item::Net:
        name = TranslateText(QStringLiteral("Peso Liquido"));
        break;
    case Item::Volumes:
        name = TranslateText(QStringLiteral("Volumes"));
        break;
    case Item::VolumeKind:
        name = tipoCaption;
        break;
    case Item::Measurement:
        name = cubaCaption;
        break;
    }
    return TranslateText(QStringLiteral("Deseja alterar")) + QLatin1Char(' ') + name + QStringLiteral(" ?");
}

CargoTotals ContainerTotals::storedTotals(const EditBuffer &bls)
{
    CargoTotals t;
    t.gross = bls.number(Gross);
    t.net = bls.number(Net);
    t.measurement = bls.number(Measurement);
    t.volumes = bls.integer(Volumes);
    t.volumeKind = bls.text(VolumeKind);
    return t;
}

CargoTotals ContainerTotals::fromStore(TDM_BL &dm, qint64 blCode)
{
    EditBuffer *q = dm.qyBusca;
    q->close();
    // Summed in the order of their codes on either kind of store, so the totals agree to the last bit.
    q->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1"),
               QStringLiteral("ORDER BY Cnt_Codigo")});
    q->setPp1(blCode);
    q->open();
    ContainerTotals sums;
    for (int row = 0; row < q->recordCount(); ++row)
        sums.addContainer(q->valueAt(row, QStringLiteral("Cnt_Peso")).toDouble(),
                          q->valueAt(row, QStringLiteral("Cnt_Tara")).toDouble(),
                          q->valueAt(row, QStringLiteral("Cnt_Tipo")).toString());
    q->close();
    return sums.totals();
}

void ContainerTotals::TotalizaContainers(TDM_BL &dm, const QString &tipoCaption, const QString &cubaCaption,
                                         const std::function<bool(const QString &question)> &ask)
{
    EditBuffer *bls = dm.qyBLS;
    const CargoTotals stored = storedTotals(*bls);
    const CargoTotals computed = fromStore(dm, bls->integer(QStringLiteral("Bls_Codigo")));
    const CargoTotals result =
        resolve(stored, computed, [&](Item item) { return ask(questionText(item, tipoCaption, cubaCaption)); });

    bls->edit();
    try {
        bls->setNumber(Gross, result.gross);
        bls->setNumber(Net, result.net);
        bls->setNumber(Measurement, result.measurement);
        bls->setInteger(Volumes, result.volumes);
        bls->setText(VolumeKind, result.volumeKind);
        bls->post();
    } catch (...) {
        // The BL goes back to what is stored; the error is shown by the caller's error display.
        bls->cancel();
        throw;
    }
}
