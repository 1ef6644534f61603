// Opens Form1, or a bare window of its size, for startup.py to time.
#include "window/form1.h"
#include "window/spanish_qt_texts.h"

#include <QApplication>
#include <QTimer>

#include <cstring>
#include <memory>

namespace {

// Form1 as the program opens it, with Qt's texts in Spanish.
std::unique_ptr<QWidget> makeWindow(bool bare)
{
    if (!bare) {
        translateQtIntoSpanish();
        return std::make_unique<Form1>();
    }
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
