#include "TF_Browser.h"
#include "ui_TF_Browser.h"

#include "BrowserPage.h"

TF_Browser::TF_Browser(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::TF_Browser>())
{
    ui->setupUi(this);
    // WebBrowser1NewWindow2: the page refuses every new window.
    ui->WebBrowser1->setPage(new BrowserPage(ui->WebBrowser1));
}

TF_Browser::~TF_Browser() = default;

void TF_Browser::navigate(const QUrl &address)
{
    ui->WebBrowser1->load(address);
}
