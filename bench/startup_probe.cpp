#include "window/form1.h"

#include <QApplication>
#include <QTimer>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<QWidget> makeWindow(bool bare)
{
    if (!bare)
        return std::make_unique<Form1>();
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(496, 415);
    return window;
}

} // namespace

// Opens one window, Form1 or a bare one of the same size, and quits as soon
// as the event loop has nothing left to do; startup.py times the process.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto window = makeWindow(argc > 1 && std::strcmp(argv[1], "bare") == 0);
    window->show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
