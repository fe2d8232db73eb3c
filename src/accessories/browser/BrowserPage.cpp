#include "BrowserPage.h"

QWebEnginePage *BrowserPage::createWindow(WebWindowType)
{
    return nullptr;
}
