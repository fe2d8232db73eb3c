#include "TAboutBox.h"
#include "ui_TAboutBox.h"

#include "AppInfo.h"
#include "BrowserLauncher.h"
#include "LanguageHolder.h"
#include "StandardIconEngine.h"
#include "TIvTranslator.h"
#include "TranslateText.h"

#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace {
QString &siteHolder()
{
    static QString site = QStringLiteral("http://") + QLatin1String(AppInfo::WebAddress);
    return site;
}
} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    // No border icons: "Sair" is the way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(273, 284);
    ui->L_Versao->setText(QString::fromLatin1(AppInfo::Version));
    ui->Label6->setText(QLatin1String(AppInfo::WebAddress));
    ui->SpeedButton1->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));
    ui->EdIdioma->hide();

    MD.applyPreset(TMsgDlg::AboutBoxPreset);
    MD.setLineSeparator(u'|');

    connect(ui->SB_Manual, &QPushButton::clicked, this, &TAboutBox::SB_ManualClick);
    connect(ui->SpeedButton1, &QPushButton::clicked, this, &TAboutBox::SpeedButton1Click);

    IvT = new TIvTranslator(this, QStringLiteral("Hint,Caption,Title,SimpleText"));
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::execAbout(QWidget *parent, const QString &language)
{
    TAboutBox box(parent);
    box.setLanguage(language);
    // Modal to the main window only: the manual's browser window, opened beside the box, stays usable.
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

void TAboutBox::setLanguage(const QString &language)
{
    ui->EdIdioma->setText(language);
}

QUrl TAboutBox::manualAddress(const QString &language)
{
    // The same page serves the three languages.
    const bool known = language == u"1" || language == u"2" || language == u"3";
    const QString page = known ? QStringLiteral("P_Tressal") : QString();
    return QUrl(manualSite() + QStringLiteral("/help/manuais/bl/") + page + QStringLiteral(".htm"));
}

QString TAboutBox::manualSite()
{
    return siteHolder();
}

void TAboutBox::setManualSite(const QString &site)
{
    siteHolder() = site;
}

void TAboutBox::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the box behind "Sair"'s back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::FormShow()
{
    switch (ui->EdIdioma->text().toInt()) {
    case 1:
        ui->SB_Manual->setText(QStringLiteral("Inclusão do Draft - Passo a Passo"));
        break;
    case 2:
        ui->SB_Manual->setText(QStringLiteral("Add new Draft - Step by Step"));
        break;
    case 3:
        ui->SB_Manual->setText(QStringLiteral("Inclusión del Draft - Paso a Paso"));
        break;
    default:
        break;
    }
}

void TAboutBox::SB_ManualClick()
{
    // The browser window belongs to the application: it outlives the about box, which stays open.
    QWidget *browser = BrowserLauncher::open(manualAddress(ui->EdIdioma->text()));
    if (!browser) {
        MD.show(TranslateText(QStringLiteral("Erro na conexão internet.")), TMsgDlg::Error,
                LanguageHolder::current().toInt(), TMsgDlg::OkButton);
        return;
    }
    // Beside the box, so that neither covers the other's way out.
    const QMargins frame(browser->geometry().left() - browser->frameGeometry().left(),
                         browser->geometry().top() - browser->frameGeometry().top(),
                         browser->frameGeometry().right() - browser->geometry().right(),
                         browser->frameGeometry().bottom() - browser->geometry().bottom());
    const QRect placed = BrowserLauncher::clearOf(browser->frameGeometry(), frameGeometry(),
                                                  screen() ? screen()->availableGeometry() : QRect());
    browser->setGeometry(placed.marginsRemoved(frame));
}

void TAboutBox::SpeedButton1Click()
{
    accept();
}
