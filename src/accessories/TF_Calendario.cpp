#include "TF_Calendario.h"
#include "ui_TF_Calendario.h"

#include "AppFonts.h"
#include "Formats.h"
#include "StandardIconEngine.h"

#include <QDate>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

TF_Calendario::TF_Calendario(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TF_Calendario>())
{
    ui->setupUi(this);
    // No system menu and no close box: the close button is the way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(599, 372);

    ui->Label1->setFont(AppFonts::screen(10, true));
    QPalette red = ui->Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    ui->Label1->setPalette(red);
    ui->BB_Fechar->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));

    connect(ui->SB_Anterior, &QToolButton::clicked, this, &TF_Calendario::SB_AnteriorClick);
    connect(ui->SB_Proximo, &QToolButton::clicked, this, &TF_Calendario::SB_ProximoClick);
    connect(ui->SB_Atual, &QToolButton::clicked, this, &TF_Calendario::SB_AtualClick);
    connect(ui->BB_Fechar, &QPushButton::clicked, this, &TF_Calendario::BB_FecharClick);
}

TF_Calendario::~TF_Calendario() = default;

void TF_Calendario::execCalendar(QWidget *parent)
{
    TF_Calendario window(parent);
    window.exec();
}

QString TF_Calendario::longDateLine(const QDate &date)
{
    return Formats::formatDate(date, QStringLiteral(" dddd, d  \"de\" mmmm \"de\" yyyy"));
}

int TF_Calendario::shownYear() const
{
    return ui->DRYearCal2->year();
}

void TF_Calendario::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormResize();
    QDialog::showEvent(event);
}

void TF_Calendario::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window behind the close button's back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Every opening starts at today's year.
void TF_Calendario::FormResize()
{
    const QDate today = QDate::currentDate();
    ui->DRYearCal2->setToday(today);
    ui->DRYearCal2->setYear(today.year());
    ui->Label1->setText(longDateLine(today));
    ui->Label1->adjustSize();
    ui->SB_Atual->setText(QString::number(today.year()));
    ui->BB_Fechar->setFocus();
}

void TF_Calendario::SB_AnteriorClick()
{
    ui->DRYearCal2->setYear(ui->DRYearCal2->year() - 1);
}

void TF_Calendario::SB_ProximoClick()
{
    ui->DRYearCal2->setYear(ui->DRYearCal2->year() + 1);
}

void TF_Calendario::SB_AtualClick()
{
    ui->DRYearCal2->setYear(QDate::currentDate().year());
}

void TF_Calendario::BB_FecharClick()
{
    accept();
}
