#pragma once

#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

// Readable failures: gtest would print a QString as its UTF-16 code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// The window's controls by the names the program has always given them.
template <typename Widget> Widget *control(const QWidget &window, const QString &name)
{
    auto *widget = window.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << "no control named " << name.toStdString();
    return widget;
}

// Presses where a person would, at the control's centre, and lets the
// window's own hit-testing decide who gets it: a covered control misses.
inline void clickAt(QWidget &window, const QWidget &control)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      control.mapTo(&window, control.rect().center()));
}

// Runs a user's action from an event loop, as the program runs clicks, and
// tells whether the window is gone after it: closed or hidden, or Qt asked
// to quit, whatever the exit code.
inline bool endsTheProgram(const QWidget &window, const std::function<void()> &action)
{
    QEventLoop loop;
    bool lived = false;
    QTimer::singleShot(0, &loop, [&] {
        action();
        QTimer::singleShot(0, &loop, [&] {
            lived = true;
            loop.quit();
        });
    });
    loop.exec();
    return !lived || !window.isVisible();
}

// An open, active Form1 whose error reports are recorded instead of shown.
class Form1Fixture : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    template <typename Widget = QWidget> Widget *find(const char *name)
    {
        return control<Widget>(form, QString::fromLatin1(name));
    }

    void click(const char *name) { clickAt(form, *find(name)); }

    // Clicks into a box and types over its text, into whatever then has the focus.
    void type(const char *name, const QString &text)
    {
        click(name);
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << "nothing took the focus at " << name;
        QTest::keyClick(focused, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(focused, Qt::Key_Delete);
        else
            QTest::keyClicks(focused, text);
    }

    std::vector<QString> reports;
    Form1 form{[this](QWidget *, const QString &message) { reports.push_back(message); }};
};
