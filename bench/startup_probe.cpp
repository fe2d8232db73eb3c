// Starts the program as usual and ends as soon as its main window has been shown, printing "shown".
#include "DalvoraApplication.h"
#include "Startup.h"
#include "TF_Principal.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    DalvoraApplication app(argc, argv);
    return Startup::run(app, [](TF_Principal &) {
        std::puts("shown");
        std::fflush(stdout);
        QApplication::exit(0);
    });
}
