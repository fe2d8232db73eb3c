#include "TF_Duplicar.h"

#include "KeyboardOrder.h"
#include "StandardIconEngine.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"

#include <QKeyEvent>
#include <QStyle>

namespace {
const QString Duplica = QStringLiteral("DUPLICA");
const QString Erro = QStringLiteral("erro");
} // namespace

TF_Duplicar::TF_Duplicar(qint64 sourceCode, QWidget *parent) : QDialog(parent), m_sourceCode(sourceCode)
{
    setupUi(this);
    // No title-bar buttons: the window closes through its own buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    SB_Confirma->setIcon(StandardIconEngine::icon(QStyle::SP_DialogApplyButton));
    SB_Cancela->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCancelButton));

    DBM_Aux_Marks->bind(DM_BL->DS_Dup, DBM_Aux_Marks->dataField());
    DBM_Aux_Descri->bind(DM_BL->DS_Dup, DBM_Aux_Descri->dataField());

    connect(CB_Todos, &QCheckBox::clicked, this, &TF_Duplicar::CB_TodosClick);
    connect(SB_Confirma, &QToolButton::clicked, this, &TF_Duplicar::SB_ConfirmaClick);
    connect(SB_Cancela, &QToolButton::clicked, this, &TF_Duplicar::SB_CancelaClick);

    KeyboardOrder::set({CB_Shipper,   CB_Consignee, CB_Notify,    CB_Carga,   CB_Imo,     CB_Emissao,
                        CB_AsPer,     CB_Marks,     CB_Descricao, CB_Reserva, CB_RefShip, CB_Receipt,
                        CB_Discharge, CB_Vessel,    CB_Bill,      CB_Payable, CB_Loading, CB_Delivery,
                        CB_Voyage,    CB_Todos,     SB_Confirma,  SB_Cancela});

    IvT = new TIvTranslator(this, QStringLiteral("Hint,Caption"));
}

// The source is read only for this window.
TF_Duplicar::~TF_Duplicar()
{
    DM_BL->qyDup->close();
}

QList<QCheckBox *> TF_Duplicar::optionBoxes() const
{
    return {CB_Shipper, CB_Consignee, CB_Notify,  CB_Carga,    CB_Imo,     CB_Emissao,   CB_AsPer,
            CB_Marks,   CB_Descricao, CB_Reserva, CB_RefShip,  CB_Receipt, CB_Discharge, CB_Vessel,
            CB_Bill,    CB_Payable,   CB_Loading, CB_Delivery, CB_Voyage};
}

void TF_Duplicar::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_Duplicar::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window behind its buttons' back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TF_Duplicar::FormShow()
{
    RetornoDuplicar.clear();
}

void TF_Duplicar::CB_TodosClick()
{
    const bool all = CB_Todos->isChecked();
    for (QCheckBox *box : optionBoxes())
        box->setChecked(all);
}

void TF_Duplicar::SB_ConfirmaClick()
{
    openSource();
    EditBuffer *bls = DM_BL->qyBLS;
    try {
        startNewBl();
        copyCompany();
        copyTicked();
    } catch (...) {
        // A half-filled copy is not left behind for the main window.
        if (bls->state() == EditBuffer::Insert)
            bls->cancel();
        throw;
    }
    RetornoDuplicar = Duplica;
    accept();
}

void TF_Duplicar::SB_CancelaClick()
{
    RetornoDuplicar = Erro;
    reject();
}

void TF_Duplicar::openSource()
{
    EditBuffer *dup = DM_BL->qyDup;
    dup->close();
    dup->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
    dup->setPp1(m_sourceCode);
    dup->open();
}

// The BL on the main window leaves it: qyBLS holds only the new row.
void TF_Duplicar::startNewBl()
{
    EditBuffer *bls = DM_BL->qyBLS;
    bls->close();
    bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
    bls->open();
    for (const char *column : {"Bls_LCL_PesoBruto", "Bls_LCL_PesoLiquido", "Bls_LCL_Cubagem"})
        bls->setDisplayFormat(QString::fromLatin1(column), QStringLiteral("###,###,##0.000"));
    bls->setDisplayFormat(QStringLiteral("Bls_LCL_Volumes"), QStringLiteral("###,###,##0"));
    bls->insert();
}

// The issuing company is the one of the most recently coded BL, whatever the source.
void TF_Duplicar::copyCompany()
{
    DM_BL->copyNewestCompany(DM_BL->qyBLS);
}

void TF_Duplicar::copyTicked()
{
    enum Kind { Text, Logical };
    struct Option
    {
        QCheckBox *box;
        QStringList columns;
        Kind kind;
    };
    const auto parties = [](const char *party) {
        QStringList columns;
        for (int line = 1; line <= 5; ++line)
            columns << QStringLiteral("Bls_%1%2").arg(QLatin1String(party)).arg(line);
        return columns;
    };
    // Marks and description travel through the search window instead.
    const QList<Option> options{
        {CB_Shipper, parties("Shipper"), Text},
        {CB_Consignee, parties("Cnee"), Text},
        {CB_Notify, parties("Notify"), Text},
        {CB_Carga, {QStringLiteral("Bls_Carga")}, Text},
        {CB_Imo, {QStringLiteral("Bls_Imo")}, Logical},
        {CB_Emissao, {QStringLiteral("Bls_EmissaoBL")}, Text},
        {CB_AsPer, {QStringLiteral("Bls_AsPerAgee")}, Logical},
        {CB_Reserva, {QStringLiteral("Bls_ReservaNr")}, Text},
        {CB_RefShip, {QStringLiteral("Bls_RefShipper")}, Text},
        {CB_Receipt, {QStringLiteral("Bls_PlaceReceipt")}, Text},
        {CB_Discharge, {QStringLiteral("Bls_PortDischarge")}, Text},
        {CB_Vessel, {QStringLiteral("Bls_Navio")}, Text},
        {CB_Bill, {QStringLiteral("Bls_BillofLading")}, Text},
        {CB_Payable, {QStringLiteral("Bls_Payable")}, Text},
        {CB_Loading, {QStringLiteral("Bls_PortLoading")}, Text},
        {CB_Delivery, {QStringLiteral("Bls_PlaceDelivery")}, Text},
        {CB_Voyage, {QStringLiteral("Bls_Viagem")}, Text},
    };
    const EditBuffer *source = DM_BL->qyDup;
    EditBuffer *bls = DM_BL->qyBLS;
    for (const Option &option : options) {
        if (option.box->isChecked()) {
            for (const QString &column : option.columns) {
                if (option.kind == Logical)
                    bls->setLogical(column, source->logical(column));
                else
                    bls->setText(column, source->text(column));
            }
        } else if (option.box == CB_Carga) {
            bls->setText(QStringLiteral("Bls_Carga"), QStringLiteral("LCL"));
        } else if (option.box == CB_Imo) {
            bls->setLogical(QStringLiteral("Bls_Imo"), false);
        }
    }
}
