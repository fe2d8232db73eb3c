#pragma once

#include "TMsgDlg.h"

#include <QDialog>
#include <QString>
#include <QUrl>

#include <memory>

namespace Ui {
class TAboutBox;
}

class TIvTranslator;

// Who made the system and which version runs, with the button that opens the step-by-step manual in a browser window.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

    // MostraSobre: the about box, owned by `parent`, in the current language, shown modally and released on close.
    // `language` is the number "1", "2" or "3" of the language chosen on the main window.
    static void execAbout(QWidget *parent, const QString &language);

    // The language number the opener wrote (hidden EdIdioma).
    void setLanguage(const QString &language);

    // The manual page for a language number: the site's manual folder, the page name and ".htm".
    static QUrl manualAddress(const QString &language);
    // The web site the manual lives on ("http://www.dalvora.example.com" unless set).
    static QString manualSite();
    static void setManualSite(const QString &site);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void SB_ManualClick();
    void SpeedButton1Click();

    std::unique_ptr<Ui::TAboutBox> ui;
    TIvTranslator *IvT;
    TMsgDlg MD;
};
