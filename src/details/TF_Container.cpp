#include "TF_Container.h"

#include "ContainerTypes.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TranslateText.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QStyle>

#ifdef DALVORA_HAS_CALENDAR
#include "TF_Calendario.h"
#endif

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

const QString Codigo = QStringLiteral("Cnt_Codigo");
} // namespace

TF_Container::TF_Container(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    // No title-bar buttons: the window is closed with BB_Fechar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());

    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::DetailWindowPreset);

    StatusBar1->setPanelWidths({width() / 2, width() - width() / 2});
    DBComboBox2->setValues(ContainerTypes::names());

    DataSource *ds = DM_BL->DS_Cntr;
    for (TDBEdit *w : findChildren<TDBEdit *>())
        w->bind(ds, w->property("dataField").toString());
    DBComboBox2->bind(ds, DBComboBox2->property("dataField").toString());
    DBGrid2->setDataSource(ds);
    DBGrid2->setColumns(DBGrid2->property("dataFields").toStringList(), DBGrid2->columnTitles());
    DBEdit15->setUpperCase(true);

    connect(SB_Inclusao, &QToolButton::clicked, this, &TF_Container::SB_InclusaoClick);
    connect(SB_Edit, &QToolButton::clicked, this, &TF_Container::SB_EditClick);
    connect(SB_Grava, &QToolButton::clicked, this, &TF_Container::SB_GravaClick);
    connect(SB_Cancela, &QToolButton::clicked, this, &TF_Container::SB_CancelaClick);
    // Picture-only buttons: the glyphs the other windows use for the same actions.
    SB_Calendario->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    BB_Fechar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(SB_Calendario, &QToolButton::clicked, this, &TF_Container::SB_CalendarioClick);
    connect(BB_Delete, &QPushButton::clicked, this, &TF_Container::BB_DeleteClick);
    connect(BB_Fechar, &QPushButton::clicked, this, &TF_Container::BB_FecharClick);
    for (QWidget *w : {static_cast<QWidget *>(DBEdit20), static_cast<QWidget *>(DBEdit21),
                       static_cast<QWidget *>(DBEdit22), static_cast<QWidget *>(DBGrid2)})
        w->installEventFilter(this);

    IvT = new TIvTranslator(this);
}

TF_Container::~TF_Container() = default;

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
               QStringLiteral("ORDER BY Cnt_Numero")});
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
    } else if (watched == DBGrid2 && event->type() == QEvent::KeyPress) {
        // The list never deletes from the keyboard.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier)
            return true;
    }
    return QDialog::eventFilter(watched, event);
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

void TF_Container::setEditing(bool editing)
{
    DBGrid2->setEnabled(!editing);
    SB_Inclusao->setEnabled(!editing);
    SB_Edit->setEnabled(!editing);
    SB_Grava->setEnabled(editing);
    SB_Cancela->setEnabled(editing);
    showMode();
}

void TF_Container::showMode()
{
    StatusBar1->setPanelText(1, DM_BL->ModoCntr);
}

void TF_Container::focusToolbar()
{
    Panel1->setFocus();
}

int TF_Container::info(const QString &text)
{
    return MD->show(text, TMsgDlg::Information, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
}

bool TF_Container::confirmed(const QString &question)
{
    return MD->show(question, TMsgDlg::Confirmation, DM_BL->IdiomaAtual(), TMsgDlg::OkCancelButtons) ==
           TMsgDlg::ResultOk;
}

void TF_Container::SB_InclusaoClick()
{
    DM_BL->qyCntr->insert();
    setEditing(true);
    DBEdit15->setFocus();
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
    focusToolbar();
    EditBuffer *q = DM_BL->qyCntr;
    const int blCode = DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo"));
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

void TF_Container::SB_CancelaClick()
{
    focusToolbar();
    DM_BL->qyCntr->cancel();
    setEditing(false);
}

void TF_Container::BB_DeleteClick()
{
    EditBuffer *q = DM_BL->qyCntr;
    if (q->integer(Codigo) <= 0)
        return;
    if (!confirmed(T("DESEJA EXCLUIR ?") + QStringLiteral("   ") + QStringLiteral("Cntr: ") +
                   q->text(QStringLiteral("Cnt_Numero"))))
        return;
    if (!confirmed(T("DESEJA REALMENTE EXCLUIR ?")))
        return;
    // A change being typed into the row goes with it.
    q->cancel();
    q->deleteCurrent();
    setEditing(false);
}

void TF_Container::SB_CalendarioClick()
{
#ifdef DALVORA_HAS_CALENDAR
    TF_Calendario::execCalendar(this);
#endif
}

void TF_Container::BB_FecharClick()
{
    done(QDialog::Rejected);
}

void TF_Container::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the window: only BB_Fechar does.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
