#include "form1_fixture.h"
#include "locale_environment.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Form1Robustness : public Form1Fixture {
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        click("Option1");
    }

    QString result() { return find<QLabel>("Label14")->text(); }

    const RegionalSetting spanish{RegionalSetting::Spanish};
};

// Far past the digits any double needs; bench/form1_presses times a megabyte.
QString longTextOf(const QString &pattern)
{
    constexpr qsizetype length = 64 << 10;
    return pattern.repeated(length / pattern.size() + 1).left(length);
}

TEST_F(Form1Robustness, ALongTextPastedIntoEveryBoxIsAnsweredOrReported)
{
    const struct {
        QString paste;
        bool answered;
    } cases[] = {
        {longTextOf(QStringLiteral("0")) + QStringLiteral("7"), true},
        {longTextOf(QStringLiteral("7")), false},
        {longTextOf(QStringLiteral("abc")), false},
        {longTextOf(QStringLiteral("ñ€😀٣,5 \u00A0e-")), false},
    };
    for (const auto &[paste, answered] : cases) {
        const std::string name = paste.left(8).toStdString();
        QGuiApplication::clipboard()->setText(paste);
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
            click(box);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        }
        const auto reportsBefore = reports.size();
        EXPECT_FALSE(endsTheProgram(form, [this] { click("Command1"); })) << name;
        EXPECT_EQ(reports.size(), reportsBefore + (answered ? 0 : 1)) << name;
        // Seven in every box; a report leaves the last total standing.
        EXPECT_EQ(result(), QStringLiteral("4445")) << name;
    }
}

TEST_F(Form1Robustness, PressesAlternatingGoodAndBadAnswersKeepTheLastTotal)
{
    constexpr int presses = 100;
    for (int i = 0; i < presses; ++i) {
        type("Text3", i % 2 == 0 ? QStringLiteral("3,5") : QStringLiteral("3.5"));
        click("Command1");
    }
    EXPECT_EQ(reports.size(), presses / 2U);
    EXPECT_EQ(result(), QStringLiteral("910"));
}

} // namespace
