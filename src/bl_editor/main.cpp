#include "DalvoraApplication.h"
#include "Startup.h"

int main(int argc, char *argv[])
{
    DalvoraApplication app(argc, argv);
    return Startup::run(app);
}
