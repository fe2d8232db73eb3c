#include "BrowserLauncher.h"
#include "DalvoraApplication.h"
#include "Startup.h"

int main(int argc, char *argv[])
{
    BrowserLauncher::prepareApplication(); // before the application exists, for the manual's browser
    DalvoraApplication app(argc, argv);
    return Startup::run(app);
}
