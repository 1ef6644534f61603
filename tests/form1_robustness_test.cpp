#include "form1_fixture.h"
#include "locale_environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;
#elif defined(__has_feature)
constexpr bool addressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool addressSanitizer = false;
#endif

class Form1Robustness : public Form1Fixture {
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        click("Option1");
    }

    void press() { click("Command1"); }

    const RegionalSetting spanish{RegionalSetting::Spanish};
};

QString megabyteOf(const QString &pattern)
{
    constexpr qsizetype megabyte = 1 << 20;
    return pattern.repeated(megabyte / pattern.size() + 1).left(megabyte);
}

// Qt itself takes up to a second to lay out and paint such a line each time it
// changes, so the user moves to "Calcular" first (as with Tab) and the box is
// repainted then; what is timed is the press until the user hears back.
TEST_F(Form1Robustness, AMegabytePastedIntoEveryBoxIsAnsweredWithinASecond)
{
    const struct {
        QString paste;
        bool answered;
    } cases[] = {
        {megabyteOf(QStringLiteral("0")) + QStringLiteral("7"), true},
        {megabyteOf(QStringLiteral("7")), false},
        {megabyteOf(QStringLiteral("abc")), false},
        {megabyteOf(QStringLiteral("ñ€😀٣,5 \u00A0e-")), false},
    };
    for (const auto &[paste, answered] : cases) {
        const std::string name = paste.left(8).toStdString();
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5"})
            find<QLineEdit>(box)->setText(paste);
        find<QLabel>("Label14")->clear();
        find("Command1")->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        const auto reportsBefore = reports.size();
        clock.start();
        press();
        const qint64 heardBack = answered ? clock.elapsed() : reportedAfter;
        std::cout << "a megabyte of " << name << "...: heard back after " << heardBack << " ms\n";
        EXPECT_LT(heardBack, 1000) << name;
        EXPECT_EQ(reports.size(), reportsBefore + (answered ? 0 : 1)) << name;
        EXPECT_EQ(find<QLabel>("Label14")->text().isEmpty(), !answered) << name;
        EXPECT_TRUE(form.isVisible());
    }
}

// Resident memory of this process in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

TEST_F(Form1Robustness, TenThousandPressesNeitherFailNorGrowMemory)
{
    constexpr int warmUp = 1000;
    constexpr int presses = 10000;
    constexpr long boundKiB = 2048;
    auto *openings = find<QLineEdit>("Text3");
    std::size_t reported = 0;
    const auto pressWithAnswer = [&](int i) {
        openings->setText(i % 2 == 0 ? QStringLiteral("3,5") : QStringLiteral("3.5"));
        press();
        // Counted, not kept: the record must not grow the process either.
        reported += reports.size();
        reports.clear();
    };

    for (int i = 0; i < warmUp; ++i)
        pressWithAnswer(i);
    const long before = residentKiB();
    reported = 0;
    QElapsedTimer pressing;
    pressing.start();
    for (int i = 0; i < presses; ++i)
        pressWithAnswer(i);
    const long after = residentKiB();

    EXPECT_EQ(reported, presses / 2U);
    EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("910"));
    std::cout << presses << " presses in " << pressing.elapsed() << " ms; resident memory "
              << before << " KiB before, " << after << " KiB after\n";
    ASSERT_GT(before, 0);
    // The address sanitizer's quarantine holds freed memory on purpose.
    if (!addressSanitizer) {
        EXPECT_LT(after - before, boundKiB);
    }
}

} // namespace
