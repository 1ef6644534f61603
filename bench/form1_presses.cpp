// Resident memory over many presses of "Calcular", and a press with a megabyte in every box.
#include "window/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

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

QString megabyteOf(const QString &pattern)
{
    constexpr qsizetype megabyte = 1 << 20;
    return pattern.repeated(megabyte / pattern.size() + 1).left(megabyte);
}

void print(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
}

class Presser {
public:
    Presser() : m_form([this](QWidget *, const QString &) { ++m_reports; })
    {
        m_form.show();
        m_form.findChild<QRadioButton *>(QStringLiteral("Option1"))->click();
    }

    void fill(const QString &text)
    {
        for (const char *name : {"Text1", "Text2", "Text3", "Text4", "Text5"})
            box(name)->setText(text);
    }

    QLineEdit *box(const char *name)
    {
        return m_form.findChild<QLineEdit *>(QString::fromLatin1(name));
    }

    void press() { m_form.findChild<QPushButton *>(QStringLiteral("Command1"))->click(); }

    [[nodiscard]] long reports() const { return m_reports; }

private:
    long m_reports = 0;
    Form1 m_form;
};

// How soon a press is answered when every box holds a megabyte.
void timeMegabytes(Presser &presser)
{
    for (const QString &pattern : {QStringLiteral("0"), QStringLiteral("7"), QStringLiteral("abc"),
                                   QStringLiteral("ñ€😀٣,5 \u00A0e-")}) {
        presser.fill(megabyteOf(pattern));
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        presser.press();
        print(QStringLiteral("a megabyte of \"%1\" in every box: answered in %2 ms")
                  .arg(pattern)
                  .arg(clock.elapsed()));
    }
}

// Resident memory across many presses alternating a good and a bad answer.
void measureMemory(Presser &presser, int presses)
{
    presser.fill(QStringLiteral("0"));
    QLineEdit *openings = presser.box("Text3");
    const auto pressAlternating = [&](int i) {
        openings->setText(i % 2 == 0 ? QStringLiteral("3,5") : QStringLiteral("3.5"));
        presser.press();
    };
    for (int i = 0; i < presses / 10; ++i)
        pressAlternating(i);
    const long before = residentKiB();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < presses; ++i)
        pressAlternating(i);
    const long after = residentKiB();
    print(QStringLiteral("%1 presses in %2 ms; resident memory %3 KiB before, %4 KiB after "
                         "(growth %5 KiB); %6 reports")
              .arg(presses)
              .arg(clock.elapsed())
              .arg(before)
              .arg(after)
              .arg(after - before)
              .arg(presser.reports()));
}

} // namespace

// Usage: form1_presses [PRESSES]. Set LC_ALL (and LOCPATH) for the setting to
// press under; run offscreen with QT_QPA_PLATFORM=offscreen.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int presses = 10000;
    if (argc > 1)
        std::from_chars(argv[1], argv[1] + std::strlen(argv[1]), presses);
    Presser presser;
    // Memory first: the megabytes leave freed heap behind that would hide growth.
    measureMemory(presser, presses);
    timeMegabytes(presser);
    return 0;
}
