// Starts Qt with the questionnaire window.
#include "command_line.h"
#include "window/form1.h"
#include "window/spanish_qt_texts.h"

#include "klimora_config.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const auto status = answerInformationOptions(argc, argv))
        return *status;
    preferDesktopTitleBar(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klimora"));
    QApplication::setApplicationVersion(QStringLiteral(KLIMORA_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KLIMORA_APP_ID));
    translateQtIntoSpanish();

    Form1 window;
    window.show();
    return QApplication::exec();
}
