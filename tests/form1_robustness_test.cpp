#include "locale_environment.h"
#include "widget_lookup.h"
#include "window/form1.h"

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

class Form1Robustness : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(find<QRadioButton>("Option1"), Qt::LeftButton);
    }

    template <typename Widget = QWidget>
    Widget *find(const char *name)
    {
        return control<Widget>(form, QString::fromLatin1(name));
    }

    void press() { QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton); }

    const RegionalSetting spanish{RegionalSetting::Spanish};
    int reports = 0;
    QElapsedTimer timer;
    qint64 reportedAfter = -1;
    Form1 form{[this](QWidget *, const QString &) {
        ++reports;
        reportedAfter = timer.isValid() ? timer.elapsed() : -1;
    }};
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
        const int reportsBefore = reports;
        timer.start();
        press();
        const qint64 heardBack = answered ? timer.elapsed() : reportedAfter;
        std::cout << "a megabyte of " << name << "...: heard back after " << heardBack << " ms\n";
        EXPECT_LT(heardBack, 1000) << name;
        EXPECT_EQ(reports, reportsBefore + (answered ? 0 : 1)) << name;
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
    const auto pressWithAnswer = [&](int i) {
        openings->setText(i % 2 == 0 ? QStringLiteral("3,5") : QStringLiteral("3.5"));
        press();
    };

    for (int i = 0; i < warmUp; ++i)
        pressWithAnswer(i);
    const long before = residentKiB();
    const int reportsBefore = reports;
    QElapsedTimer pressing;
    pressing.start();
    for (int i = 0; i < presses; ++i)
        pressWithAnswer(i);
    const long after = residentKiB();

    EXPECT_EQ(reports - reportsBefore, presses / 2);
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
