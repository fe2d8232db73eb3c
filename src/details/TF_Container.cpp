#include "TF_Container.h"

#include "ContainerNumber.h"
#include "ContainerTypes.h"
#include "KeyboardOrder.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QPalette>
#include <QScopeGuard>

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

const QString Codigo = QStringLiteral("Cnt_Codigo");
} // namespace

TF_Container::TF_Container(QWidget *parent) : DetailEditor(parent)
{
    setupUi(this);
    setUpRecordControls({Panel1, SB_Inclusao, SB_Edit, SB_Grava, SB_Cancela, SB_Calendario, BB_Fechar, DBGrid2,
                         StatusBar1, DM_BL->qyCntr, &DM_BL->ModoCntr, DBEdit15});
    DBComboBox2->setValues(ContainerTypes::names());

    DataSource *ds = DM_BL->DS_Cntr;
    for (TDBEdit *w : findChildren<TDBEdit *>())
        w->bind(ds, w->property("dataField").toString());
    DBComboBox2->bind(ds, DBComboBox2->property("dataField").toString());
    DBGrid2->setDataSource(ds);
    DBGrid2->setColumns(DBGrid2->property("dataFields").toStringList(), DBGrid2->columnTitles());
    DBEdit15->setUpperCase(true);
    connect(DBEdit15, &QLineEdit::textChanged, this, &TF_Container::markDoubtfulNumber);

    connect(SB_Edit, &QToolButton::clicked, this, &TF_Container::SB_EditClick);
    connect(SB_Grava, &QToolButton::clicked, this, &TF_Container::SB_GravaClick);
    connect(BB_Delete, &QPushButton::clicked, this, &TF_Container::BB_DeleteClick);
    for (QWidget *w : {DBEdit20, DBEdit21, DBEdit22})
        w->installEventFilter(this);

    KeyboardOrder::set({SB_Inclusao, SB_Edit, SB_Grava, SB_Cancela, SB_Calendario, BB_Delete, BB_Fechar, DBEdit15,
                        DBComboBox2, DBEdit23, DBEdit24, DBEdit17, DBEdit18, DBEdit19, DBEdit20, DBEdit21, DBEdit22});

    IvT = new TIvTranslator(this);
}

TF_Container::~TF_Container() = default;

QString TF_Container::numberDoubt(const QString &number)
{
    const ContainerNumber::Check check = ContainerNumber::check(number);
    switch (check.verdict) {
    case ContainerNumber::Verdict::Valid:
    case ContainerNumber::Verdict::Empty:
        return {};
    case ContainerNumber::Verdict::WrongShape:
        return T("Número fora do padrão ISO 6346: 4 letras e 7 algarismos");
    case ContainerNumber::Verdict::WrongCategory:
        return T("A quarta letra deve ser U, J ou Z");
    case ContainerNumber::Verdict::WrongCheckDigit:
        return T("Dígito verificador não confere: esperado") + QLatin1Char(' ') + QString::number(check.expectedDigit);
    }
    return {};
}

void TF_Container::markDoubtfulNumber()
{
    // Only a mark: carriers refuse such numbers, but some equipment is numbered otherwise, so the clerk decides.
    const QString doubt = numberDoubt(DBEdit15->text());
    QPalette palette;
    if (!doubt.isEmpty())
        palette.setColor(QPalette::Base, DoubtfulColor);
    DBEdit15->setPalette(palette);
    DBEdit15->setToolTip(doubt);
}

QString TF_Container::refusal(const QString &carga, const QString &cargaCaption)
{
    if (carga != QLatin1String("LCL"))
        return {};
    return T("Necessário") + QLatin1Char(' ') + cargaCaption + QStringLiteral(" CNTR");
}

void TF_Container::openQuery()
{
    EditBuffer *q = DM_BL->qyCntr;
    q->close();
    q->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1"),
               QStringLiteral("ORDER BY Cnt_Numero NULLS FIRST, Cnt_Codigo")});
    q->setPp1(DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo")));
    q->open();
    q->setDisplayFormat(QStringLiteral("Cnt_Peso"), QStringLiteral("###,###,##0.000"));
    q->setDisplayFormat(QStringLiteral("Cnt_Tara"), QStringLiteral("###,###,##0.000"));
    q->setDisplayFormat(QStringLiteral("Cnt_Volume"), QStringLiteral("###,###,##0"));
}

void TF_Container::execFor(QWidget *parent)
{
    // Closing drops a change still pending; done also when the window ends with an error.
    const auto closeQuery = qScopeGuard([] { DM_BL->qyCntr->close(); });
    openQuery();
    TF_Container window(parent);
    window.exec();
}

void TF_Container::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_Container::FormShow()
{
    showMode();
    focusToolbar();
}

bool TF_Container::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == DBEdit20)
            sealEntered(2);
        else if (watched == DBEdit21)
            sealEntered(3);
        else if (watched == DBEdit22)
            sealEntered(4);
    }
    return DetailEditor::eventFilter(watched, event);
}

void TF_Container::sealEntered(int seal)
{
    const EditBuffer *q = DM_BL->qyCntr;
    if (!DM_BL->DS_Cntr->isEditing())
        return;
    if (!q->text(QStringLiteral("Cnt_Lacre_%1").arg(seal - 1)).isEmpty())
        return;
    info(T("Necessário") + QLatin1Char(' ') + T("Lacre") + QStringLiteral(" %1").arg(seal - 1));
    focusToolbar();
}

int TF_Container::info(const QString &text)
{
    return message(text, TMsgDlg::Information);
}

void TF_Container::SB_EditClick()
{
    focusToolbar();
    EditBuffer *q = DM_BL->qyCntr;
    // With no container yet, Editar starts the first one.
    if (q->recordCount() == 0)
        q->insert();
    else
        q->edit();
    setEditing(true);
}

void TF_Container::SB_GravaClick()
{
    // A number being typed that is not one is refused by its field; the row stays pending for correction.
    if (!TypedValue::commitFocused(this))
        return;
    focusToolbar();
    EditBuffer *q = DM_BL->qyCntr;
    const qint64 blCode = DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo"));
    if (DBEdit15->text().isEmpty()) {
        info(T("Necessário") + QLatin1Char(' ') + T("Número"));
        DBEdit15->setFocus();
        return;
    }
    // The choice in the list counts, not the stored text: a type outside the list must be chosen again.
    if (DBComboBox2->currentIndex() < 0) {
        info(T("Necessário") + QLatin1Char(' ') + T("Tipo"));
        DBEdit15->setFocus();
        return;
    }
    DM_BL->postDetail(q, blCode);
    setEditing(false);
}

void TF_Container::BB_DeleteClick()
{
    EditBuffer *q = DM_BL->qyCntr;
    deleteRow(q, Codigo,
              T("DESEJA EXCLUIR ?") + QStringLiteral("   ") + QStringLiteral("Cntr: ") +
                  q->textBeforeChange(QStringLiteral("Cnt_Numero")));
}
