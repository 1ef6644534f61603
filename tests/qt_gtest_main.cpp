#include "window/spanish_qt_texts.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widgets need one QApplication for the whole run; offscreen unless the
// caller chose a platform.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    translateQtIntoSpanish();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
