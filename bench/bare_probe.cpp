// The floor of the start-up figure: a bare Qt window that shows text, a label and a push button, so that fonts are
// found and loaded as for any window with text, started the same way.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(753, 453);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("DALVORA - BILL OF LADING")));
    layout->addWidget(new QPushButton(QStringLiteral("Confirmar")));
    window.show();
    QTimer::singleShot(0, &window, [] {
        std::puts("shown");
        std::fflush(stdout);
        QApplication::exit(0);
    });
    return QApplication::exec();
}
