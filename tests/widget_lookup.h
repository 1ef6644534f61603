#pragma once

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

// Readable failures: gtest would print a QString as its UTF-16 code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// The window's controls by the names the program has always given them.
template <typename Widget>
Widget *control(const QWidget &window, const QString &name)
{
    auto *widget = window.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << "no control named " << name.toStdString();
    return widget;
}
