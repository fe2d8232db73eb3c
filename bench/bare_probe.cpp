// The floor of the start-up figure: a bare Qt window started the same way.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(753, 453);
    window.show();
    QTimer::singleShot(0, &window, [] {
        std::puts("shown");
        std::fflush(stdout);
        QApplication::exit(0);
    });
    return QApplication::exec();
}
