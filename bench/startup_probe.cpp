// Starts the program as usual and ends as soon as its main window has been shown, printing "shown".
#include "BrowserLauncher.h"
#include "DalvoraApplication.h"
#include "Startup.h"
#include "TF_Principal.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    BrowserLauncher::prepareApplication(); // before the application exists, for the manual's browser
    DalvoraApplication app(argc, argv);
    return Startup::run(app, [](TF_Principal &) {
        std::puts("shown");
        std::fflush(stdout);
        QApplication::exit(0);
    });
}
