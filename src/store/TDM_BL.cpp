#include "TDM_BL.h"

#include "LanguageHolder.h"
#include "Store.h"
#include "StoreError.h"
#include "TranslateText.h"

#include <limits>

TDM_BL *DM_BL = nullptr;

TDM_BL::TDM_BL(QObject *parent)
    : QObject(parent), qyBLS(new EditBuffer(QStringLiteral("qyBLS"), this)),
      qyCntr(new EditBuffer(QStringLiteral("qyCntr"), this)), qySD(new EditBuffer(QStringLiteral("qySD"), this)),
      qyNCM(new EditBuffer(QStringLiteral("qyNCM"), this)),
      qyMostra(
          new ListQuery(QStringLiteral("qyMostra"), TableDef::bls(),
                        {QStringLiteral("Bls_Codigo"), QStringLiteral("Bls_ReservaNr"),
                         QStringLiteral("Bls_RefShipper"), QStringLiteral("Bls_Navio"), QStringLiteral("Bls_Viagem"),
                         QStringLiteral("Bls_PortLoading"), QStringLiteral("Bls_PortDischarge"),
                         QStringLiteral("Bls_Shipper1"), QStringLiteral("Bls_Cnee1"), QStringLiteral("Bls_Notify1")},
                        this)),
      qyBusca(new EditBuffer(QStringLiteral("qyBusca"), this)), qyDup(new EditBuffer(QStringLiteral("qyDup"), this)),
      qyPrint(new EditBuffer(QStringLiteral("qyPrint"), this)), upBLS(TableDef::bls()), UpCntr(TableDef::cntr()),
      upSD(TableDef::sd()), upNCM(TableDef::ncm()), DS_BLS(new DataSource(qyBLS, this)),
      DS_Cntr(new DataSource(qyCntr, this)), DS_SD(new DataSource(qySD, this)), DS_NCM(new DataSource(qyNCM, this)),
      DS_Dup(new DataSource(qyDup, this)), DS_Print(new DataSource(qyPrint, this))
{
    setObjectName(QStringLiteral("DM_BL"));
    qyBLS->setUpdateObject(&upBLS);
    qyCntr->setUpdateObject(&UpCntr);
    qySD->setUpdateObject(&upSD);
    qyNCM->setUpdateObject(&upNCM);

    connect(DS_BLS, &DataSource::stateChanged, this, [this](EditBuffer::State s) { setModeText(ModoBLS, s); });
    connect(DS_Cntr, &DataSource::stateChanged, this, [this](EditBuffer::State s) { setModeText(ModoCntr, s); });
    connect(DS_SD, &DataSource::stateChanged, this, [this](EditBuffer::State s) { setModeText(ModoSD, s); });
}

TDM_BL::~TDM_BL()
{
    if (DM_BL == this)
        DM_BL = nullptr;
}

int TDM_BL::IdiomaAtual() const
{
    return LanguageHolder::current().toInt();
}

QString TDM_BL::LimpaTexto(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        if (!QStringLiteral(" *,-./").contains(c))
            clean.append(c);
    return clean;
}

QStringList TDM_BL::maxSql(const TableDef &table)
{
    return {QStringLiteral("SELECT MAX(%1) as Codi from %2").arg(table.key, table.name)};
}

qint64 TDM_BL::maxCode(const TableDef &table)
{
    qyBusca->close();
    qyBusca->setSql(maxSql(table));
    qyBusca->open();
    const qint64 code = qyBusca->integer(QStringLiteral("Codi"));
    qyBusca->close();
    return code;
}

qint64 TDM_BL::postWithNewCode(EditBuffer *buffer)
{
    const TableDef &table = buffer->updateObject()->table();
    qint64 code = 0;
    // The maximum is read inside the post's write transaction, so no other writer can take the same code.
    buffer->post([&] {
        const qint64 highest = maxCode(table);
        // A table already holding the largest key has no next code; wrapping would reuse or go negative.
        if (highest == std::numeric_limits<qint64>::max())
            throw StoreError(TranslateText(QStringLiteral("Não há mais códigos livres na tabela")) + QLatin1Char(' ') +
                             table.name);
        code = highest + 1;
        buffer->setInteger(table.key, code);
    });
    return code;
}

void TDM_BL::postDetail(EditBuffer *buffer, qint64 blCode)
{
    if (buffer->state() == EditBuffer::Insert) {
        buffer->setInteger(buffer->updateObject()->table().link, blCode);
        postWithNewCode(buffer);
    } else {
        buffer->post();
    }
}

void TDM_BL::copyNewestCompany(EditBuffer *target)
{
    qyBusca->close();
    qyBusca->setSql({QStringLiteral("SELECT Bls_Cia_Nome, Bls_Cia_Usuario,"),
                     QStringLiteral("Bls_Cia_Cidade, Bls_Cia_Arquivo from Dal_Bls"),
                     QStringLiteral("where Bls_Codigo = (SELECT MAX(Bls_Codigo) from Dal_Bls)")});
    qyBusca->open();
    if (qyBusca->recordCount() > 0) {
        for (const char *column : {"Bls_Cia_Nome", "Bls_Cia_Usuario", "Bls_Cia_Cidade", "Bls_Cia_Arquivo"}) {
            const QString name = QString::fromLatin1(column);
            target->setText(name, qyBusca->text(name));
        }
    }
    qyBusca->close();
}

void TDM_BL::deleteBlWithDetails(qint64 blCode)
{
    // One transaction: a failure half-way deletes nothing.
    const QList<QStringList> statements{
        {QStringLiteral("DELETE from Dal_Cntr"), QStringLiteral("where Cnt_Cod_Bl = :pp1")},
        {QStringLiteral("DELETE from Dal_SD"), QStringLiteral("where Sd_Cod_Bl = :pp1")},
        {QStringLiteral("DELETE from Dal_NCM"), QStringLiteral("where Ncm_Cod_Bl = :pp1")},
        {QStringLiteral("DELETE from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")}};
    WriteTransaction transaction;
    for (const QStringList &sql : statements) {
        qyBusca->close();
        qyBusca->setSql(sql);
        qyBusca->setPp1(blCode);
        qyBusca->execSql();
    }
    transaction.commit();
}

void TDM_BL::setModeText(QString &text, EditBuffer::State state)
{
    switch (state) {
    case EditBuffer::Browse:
        text = TranslateText(QStringLiteral("Visualizar"));
        break;
    case EditBuffer::Edit:
        text = TranslateText(QStringLiteral("Editar"));
        break;
    case EditBuffer::Insert:
        text = TranslateText(QStringLiteral("Incluir"));
        break;
    case EditBuffer::Closed:
        return; // the text keeps its last value
    }
    Q_EMIT modeTextsChanged();
}
