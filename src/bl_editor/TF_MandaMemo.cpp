#include "TF_MandaMemo.h"

#include "KeyboardOrder.h"
#include "RadioButtonGroup.h"
#include "StandardIconEngine.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TranslateText.h"

#include <QStyle>

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

// Upper-casing of composed captions changes the letters a to z only.
QString asciiUpper(QString text)
{
    for (QChar &c : text)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - 32);
    return text;
}

// Reads the detail rows of the BL in their number order, builds their lines and closes the query again. Rows of
// the same number come by code and empty numbers first, so that both kinds of store give the same lines.
QStringList readLines(EditBuffer *query, const QString &table, const QString &link, const QString &order,
                      const std::function<QStringList(const EditBuffer &)> &build)
{
    query->close();
    query->setSql({QStringLiteral("SELECT * from ") + table, QStringLiteral("where %1 = :pp1").arg(link),
                   QStringLiteral("ORDER BY ") + order});
    query->setPp1(DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo")));
    query->open();
    const QStringList lines = build(*query);
    query->close();
    return lines;
}

void appendTo(AttachTarget target, const QStringList &lines)
{
    if (target == AttachTarget::None)
        return;
    EditBuffer *bls = DM_BL->qyBLS;
    const QString memo = target == AttachTarget::Marks ? QStringLiteral("Bls_Marks") : QStringLiteral("Bls_Descricao");
    bls->setText(memo, AttachLines::appendLines(bls->text(memo), lines));
}
} // namespace

TF_MandaMemo::TF_MandaMemo(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    // No title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());

    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::DialogPreset);

    for (QGroupBox *choice : choices()) {
        auto *group = new RadioButtonGroup(choice);
        for (QRadioButton *item : choice->findChildren<QRadioButton *>())
            group->addItem(item);
    }
    for (QRadioButton *item : RG_Cntr->findChildren<QRadioButton *>())
        connect(item, &QRadioButton::clicked, this, &TF_MandaMemo::RG_CntrClick);
    KeyboardOrder::set({SB_Confirma, SB_Fechar, RG_Cntr, RG_SD, RG_NCM, RG_Imo, CB_Num, CB_Tipo, CB_Lacre, CB_Bruto,
                        CB_Tara, CB_Vol, CB_TpVol});
    SB_Fechar->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));
    connect(SB_Confirma, &QToolButton::clicked, this, &TF_MandaMemo::SB_ConfirmaClick);
    connect(SB_Fechar, &QToolButton::clicked, this, &TF_MandaMemo::SB_FecharClick);

    IvT = new TIvTranslator(this);
}

TF_MandaMemo::~TF_MandaMemo() = default;

QList<QCheckBox *> TF_MandaMemo::boxes() const
{
    return {CB_Num, CB_Tipo, CB_Lacre, CB_Bruto, CB_Tara, CB_Vol, CB_TpVol};
}

QList<QGroupBox *> TF_MandaMemo::choices() const
{
    return {RG_Cntr, RG_SD, RG_NCM, RG_Imo};
}

int TF_MandaMemo::itemIndex(const QGroupBox *choice)
{
    const QList<QRadioButton *> items = choice->findChildren<QRadioButton *>();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked())
            return i;
    return -1;
}

void TF_MandaMemo::setItemIndex(QGroupBox *choice, int index)
{
    choice->findChildren<QRadioButton *>().at(index)->setChecked(true);
}

void TF_MandaMemo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_MandaMemo::FormShow()
{
    setWindowTitle(T("Escolher a opção:"));
    L_Tit->setText(asciiUpper(T("Enviar")) + QLatin1Char(' ') + asciiUpper(T("Para")));
    GB_ContOpcao->setTitle(T("Container") + QLatin1Char(' ') + T("Opção"));
    Panel1->setFocus();
}

void TF_MandaMemo::RG_CntrClick()
{
    const bool attaching = itemIndex(RG_Cntr) > 0;
    for (QCheckBox *box : boxes()) {
        box->setEnabled(attaching);
        if (!attaching)
            box->setChecked(false);
    }
    if (attaching)
        for (QCheckBox *box : {CB_Num, CB_Tipo, CB_Lacre})
            box->setChecked(true);
}

void TF_MandaMemo::SB_ConfirmaClick()
{
    if (itemIndex(RG_Cntr) > 0 && !lineParts().any()) {
        MD->show(T("Necessário") + QLatin1Char(' ') + T("Opção"), TMsgDlg::Information, DM_BL->IdiomaAtual(),
                 TMsgDlg::OkButton);
        return;
    }
    accept();
}

void TF_MandaMemo::SB_FecharClick()
{
    reject();
}

void TF_MandaMemo::reject()
{
    // Leaving the dialog attaches nothing.
    for (QGroupBox *choice : choices())
        setItemIndex(choice, 0);
    QDialog::reject();
}

AttachTarget TF_MandaMemo::target(const QGroupBox *choice)
{
    const int index = itemIndex(choice);
    return index == 1 || index == 2 ? AttachTarget(index) : AttachTarget::None;
}

ContainerLineParts TF_MandaMemo::lineParts() const
{
    ContainerLineParts parts;
    parts.number = CB_Num->isChecked();
    parts.type = CB_Tipo->isChecked();
    parts.seal = CB_Lacre->isChecked();
    parts.gross = CB_Bruto->isChecked();
    parts.tare = CB_Tara->isChecked();
    parts.packages = CB_Vol->isChecked();
    parts.packageKind = CB_TpVol->isChecked();
    return parts;
}

void TF_MandaMemo::anexar(QWidget *parent, const DetailCounts &counts, const QString &editCaption,
                          const std::function<void(const QString &)> &inform)
{
    const EditBuffer *bls = DM_BL->qyBLS;
    // Before any BL is opened there is no IMO line, and nothing to attach.
    const bool hasBl = bls->isOpen() && bls->recordCount() > 0;
    const QString imo =
        hasBl ? AttachLines::imoLine(bls->text(QStringLiteral("Bls_Imo_IMDG")), bls->text(QStringLiteral("Bls_Imo_UN")))
              : QString();
    const QString refusal = AttachLines::refusal(counts, imo, bls->state(), editCaption);
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }

    TF_MandaMemo dialog(parent);
    dialog.RG_Cntr->setEnabled(counts.containers != 0);
    dialog.RG_SD->setEnabled(counts.sd != 0);
    dialog.RG_NCM->setEnabled(counts.ncm != 0);
    dialog.RG_Imo->setEnabled(!imo.isEmpty());
    dialog.exec();

    const AttachTarget containers = target(dialog.RG_Cntr);
    if (containers != AttachTarget::None) {
        const ContainerLineParts parts = dialog.lineParts();
        appendTo(containers,
                 readLines(DM_BL->qyCntr, QStringLiteral("Dal_Cntr"), QStringLiteral("Cnt_Cod_BL"),
                           QStringLiteral("Cnt_Numero NULLS FIRST, Cnt_Codigo"),
                           [&parts](const EditBuffer &rows) { return AttachLines::containerLines(rows, parts); }));
    }
    const AttachTarget sd = target(dialog.RG_SD);
    if (sd != AttachTarget::None)
        appendTo(sd, readLines(DM_BL->qySD, QStringLiteral("Dal_SD"), QStringLiteral("Sd_Cod_BL"),
                               QStringLiteral("Sd_Numero NULLS FIRST, Sd_Codigo"), &AttachLines::sdLines));
    const AttachTarget ncm = target(dialog.RG_NCM);
    if (ncm != AttachTarget::None)
        appendTo(ncm, readLines(DM_BL->qyNCM, QStringLiteral("Dal_NCM"), QStringLiteral("Ncm_Cod_BL"),
                                QStringLiteral("Ncm_Numero NULLS FIRST, Ncm_Codigo"), &AttachLines::ncmLines));
    const AttachTarget imoTarget = target(dialog.RG_Imo);
    if (imoTarget != AttachTarget::None)
        appendTo(imoTarget, {imo});
}
