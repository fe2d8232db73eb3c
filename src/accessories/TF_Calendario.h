#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TF_Calendario;
}

class QDate;

// The reference calendar: the twelve months of a year with today's date, and buttons to step through the years.
// Changes no data; its captions and hints are the same in every interface language.
class TF_Calendario : public QDialog
{
    Q_OBJECT

public:
    explicit TF_Calendario(QWidget *parent = nullptr);
    ~TF_Calendario() override;

    // What a calendar button does: the window, owned by `parent`, shown modally and released when it closes.
    static void execCalendar(QWidget *parent);

    // Today's line: long day name, day, long month name and year under the conventions in force, with the
    // Portuguese "de" between them in every language (" Tuesday, 5  de January de 2010").
    static QString longDateLine(const QDate &date);

    int shownYear() const;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormResize();
    void SB_AnteriorClick();
    void SB_ProximoClick();
    void SB_AtualClick();
    void BB_FecharClick();

    std::unique_ptr<Ui::TF_Calendario> ui;
};
