#include "BrowserPlugin.h"

#include "TF_Browser.h"

QWidget *BrowserPlugin::createBrowser(const QUrl &address)
{
    auto *window = new TF_Browser;
    window->navigate(address);
    return window;
}
