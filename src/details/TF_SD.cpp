#include "TF_SD.h"

#include "FieldValidator.h"
#include "KeyboardOrder.h"
#include "RefusalHint.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QScopeGuard>

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

qint64 blCode()
{
    return DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo"));
}

// The NCM entry takes what the column and the carrier file can hold, also when pasted.
// The NCM list, read afresh in code order.
void openNcm()
{
    EditBuffer *q = DM_BL->qyNCM;
    q->close();
    q->setSql({QStringLiteral("SELECT * from Dal_NCM"), QStringLiteral("where Ncm_Cod_BL = :pp1"),
               QStringLiteral("ORDER BY Ncm_Numero NULLS FIRST, Ncm_Codigo")});
    q->setPp1(blCode());
    q->open();
}
} // namespace

TF_SD::TF_SD(QWidget *parent) : DetailEditor(parent)
{
    setupUi(this);
    setUpRecordControls({Panel1, SB_Inclusao, SB_Edit, SB_Grava, SB_Cancela, SB_Calendario, BB_Fechar, DBGrid1,
                         StatusBar1, DM_BL->qySD, &DM_BL->ModoSD, DBEdit2});

    DataSource *ds = DM_BL->DS_SD;
    for (TDBEdit *w : findChildren<TDBEdit *>())
        w->bind(ds, w->property("dataField").toString());
    DBDateEdit9->bind(ds, DBDateEdit9->property("dataField").toString());
    DBRG_Tipo->bind(ds, DBRG_Tipo->property("dataField").toString());
    DBGrid1->setDataSource(ds);
    // Tp, Número, Vencto, Valor FOB, Peso, Vol.: together they fit the list's width beside its scroll bar.
    DBGrid1->setColumns(
        DBGrid1->property("dataFields").toStringList(), DBGrid1->columnTitles(), {30, 84, 70, 82, 74, 42},
        {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft, Qt::AlignHCenter});
    DBGrid2->setDataSource(DM_BL->DS_NCM);
    DBGrid2->setColumns(DBGrid2->property("dataFields").toStringList(), DBGrid2->columnTitles(), {},
                        {Qt::AlignHCenter});

    connect(SB_Edit, &QToolButton::clicked, this, &TF_SD::SB_EditClick);
    connect(SB_Grava, &QToolButton::clicked, this, &TF_SD::SB_GravaClick);
    connect(BB_Delete, &QPushButton::clicked, this, &TF_SD::BB_DeleteClick);
    connect(SB_IncNCM, &QToolButton::clicked, this, &TF_SD::SB_IncNCMClick);
    connect(SB_CancNCM, &QToolButton::clicked, this, &TF_SD::SB_CancNCMClick);
    EdNCM->setMaxLength(TableDef::ncm().column(QStringLiteral("Ncm_Numero"))->maxLength);
    EdNCM->setValidator(new FieldValidator(ColumnType::Text, false, false, EdNCM));
    RefusalHint::watch(EdNCM);

    KeyboardOrder::set({SB_Inclusao, SB_Edit, SB_Grava, SB_Cancela, SB_Calendario, BB_Delete, BB_Fechar, DBEdit2,
                        DBDateEdit9, DBEdit3, DBEdit4, DBEdit8, DBRG_Tipo, DBEdit1, DBGrid1, EdNCM, SB_IncNCM,
                        SB_CancNCM});

    IvT = new TIvTranslator(this);
}

TF_SD::~TF_SD() = default;

void TF_SD::openQueries()
{
    openNcm();
    EditBuffer *sd = DM_BL->qySD;
    sd->close();
    sd->setSql({QStringLiteral("SELECT * from Dal_SD"), QStringLiteral("where Sd_Cod_BL = :pp1"),
                QStringLiteral("ORDER BY Sd_Numero NULLS FIRST, Sd_Codigo")});
    sd->setPp1(blCode());
    sd->open();
    sd->setDisplayFormat(QStringLiteral("Sd_ValorFOB"), QStringLiteral("###,###,##0.00"));
    sd->setDisplayFormat(QStringLiteral("Sd_Peso"), QStringLiteral("###,###,##0.000"));
    sd->setDisplayFormat(QStringLiteral("Sd_Vencto"), QStringLiteral("DD/MM/YYYY"));
}

void TF_SD::execFor(QWidget *parent)
{
    // Closing drops a document change still pending; done also when the window ends with an error.
    const auto closeQueries = qScopeGuard([] {
        DM_BL->qyNCM->close();
        DM_BL->qySD->close();
    });
    openQueries();
    TF_SD window(parent);
    window.exec();
}

void TF_SD::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_SD::FormShow()
{
    QStringList titles = DBGrid1->columnTitles();
    titles[3] = T("Valor") + QStringLiteral(" FOB");
    DBGrid1->setColumnTitles(titles);
    GB_NCM->setTitle(T("Cadastro") + QStringLiteral(" NCM"));
    ContaNCM();
    EdNCM->clear();
    showMode();
    focusToolbar();
}

QString TF_SD::deleteQuestion(const QString &number)
{
    return T("DESEJA EXCLUIR ?") + QStringLiteral("   ") + T("Número") + QStringLiteral(":  ") + number;
}

int TF_SD::ContaNCM()
{
    EditBuffer *q = DM_BL->qyNCM;
    const int count = q->recordCount();
    q->first();
    L_Tot->setText(QString::number(count));
    return count;
}

void TF_SD::SB_EditClick()
{
    // Editar is disabled while editing: the focus goes to the toolbar, not to the next button, the calendar.
    focusToolbar();
    EditBuffer *q = DM_BL->qySD;
    if (q->integer(QStringLiteral("Sd_Codigo")) == 0) {
        message(T("Não tem Registro selecionado"), TMsgDlg::Information);
        return;
    }
    q->edit();
    setEditing(true);
}

void TF_SD::SB_GravaClick()
{
    // A due date that does not exist, or a number that is not one, is refused by its field with a message; the
    // document then stays pending for correction instead of being stored without what the clerk typed.
    if (!TypedValue::commitFocused(this))
        return;
    focusToolbar();
    EditBuffer *q = DM_BL->qySD;
    const qint64 bl = blCode();
    if (q->text(QStringLiteral("Sd_Tipo")).isEmpty()) {
        message(T("Necessário") + QLatin1Char(' ') + T("Tipo"), TMsgDlg::Information);
        return;
    }
    if (DBEdit2->text().isEmpty()) {
        message(T("Necessário") + QLatin1Char(' ') + T("Número"), TMsgDlg::Information);
        DBEdit2->setFocus();
        return;
    }
    DM_BL->postDetail(q, bl);
    setEditing(false);
}

void TF_SD::BB_DeleteClick()
{
    EditBuffer *q = DM_BL->qySD;
    deleteRow(q, QStringLiteral("Sd_Codigo"), deleteQuestion(q->textBeforeChange(QStringLiteral("Sd_Numero"))));
}

void TF_SD::SB_IncNCMClick()
{
    focusToolbar();
    const qint64 bl = blCode();
    const QString code = EdNCM->text();
    if (code.isEmpty()) {
        message(T("Necessário") + QStringLiteral(" Nr. NCM"), TMsgDlg::Error);
        return;
    }
    if (ContaNCM() >= MaxNcm) {
        message(T("Máximo") + QStringLiteral(" 190 NCM"), TMsgDlg::Error);
        return;
    }
    EditBuffer *q = DM_BL->qyNCM;
    bool duplicate = false;
    for (int row = 0; row < q->recordCount() && !duplicate; ++row)
        duplicate = q->valueAt(row, QStringLiteral("Ncm_Numero")).toString() == code;
    if (duplicate) {
        message(QStringLiteral("NCM ") + T("já cadastrado"), TMsgDlg::Error);
        return;
    }
    q->insert();
    try {
        q->setInteger(QStringLiteral("Ncm_Cod_BL"), bl);
        q->setText(QStringLiteral("Ncm_Numero"), code);
        DM_BL->postWithNewCode(q);
    } catch (...) {
        // Nothing was stored: the list stays as it was and the code stays typed for another try.
        q->cancel();
        throw;
    }
    openNcm();
    ContaNCM();
    EdNCM->clear();
}

void TF_SD::SB_CancNCMClick()
{
    EditBuffer *q = DM_BL->qyNCM;
    if (q->integer(QStringLiteral("Ncm_Codigo")) <= 0)
        return;
    if (!deleteConfirmed(deleteQuestion(q->text(QStringLiteral("Ncm_Numero")))))
        return;
    q->deleteCurrent();
    ContaNCM();
}
