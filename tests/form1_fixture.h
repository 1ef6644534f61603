#pragma once

#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

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

// An open, active Form1 whose error reports are recorded instead of shown.
class Form1Fixture : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    template <typename Widget = QWidget>
    Widget *find(const char *name)
    {
        return control<Widget>(form, QString::fromLatin1(name));
    }

    void click(const char *name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }

    // Replaces a box's text the way a user would, by typing over it.
    void type(const char *name, const QString &text)
    {
        auto *box = find<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }

    std::vector<QString> reports;
    // Started by a test that times how soon a report comes.
    QElapsedTimer clock;
    qint64 reportedAfter = -1;
    Form1 form{[this](QWidget *, const QString &message) {
        reports.push_back(message);
        reportedAfter = clock.isValid() ? clock.elapsed() : -1;
    }};
};
