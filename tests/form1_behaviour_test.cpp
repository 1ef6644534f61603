#include "form1_fixture.h"
#include "locale_environment.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

class Form1Behaviour : public Form1Fixture {
protected:
    QString result() { return find<QLabel>("Label14")->text(); }
    bool unitShown() { return find<QLabel>("Label15")->isVisible(); }
};

TEST_F(Form1Behaviour, CalculatingAtOnceShowsZero)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    EXPECT_FALSE(unitShown());
    EXPECT_TRUE(find<QLabel>("Label14")->toolTip().isEmpty());
    click("Command1");
    EXPECT_EQ(result(), QStringLiteral("0"));
    EXPECT_TRUE(unitShown());
    EXPECT_TRUE(reports.empty());
}

TEST_F(Form1Behaviour, TopFloorExampleShowsItsTotalAndEquivalents)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    click("Option1");
    type("Text1", QStringLiteral("4"));
    type("Text2", QStringLiteral("5"));
    type("Text3", QStringLiteral("3"));
    type("Text4", QStringLiteral("9"));
    click("Option3");
    type("Text5", QStringLiteral("2"));
    click("Option5");
    click("Command1");

    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(result(), QStringLiteral("3049"));
    EXPECT_TRUE(unitShown());
    // Rich text, so that it wraps.
    EXPECT_EQ(find<QLabel>("Label14")->toolTip(),
              Qt::convertFromPlainText(
                  QStringLiteral(
                      "Equivale a 3,55 kW o 12099 BTU/h\n\n"
                      "De dónde salen las frigorías (frigorías/hora):\n"
                      "Techo: 500 (16\u00a0%)\nPuertas y ventanas: 780 (26\u00a0%)\n"
                      "Paredes: 450 (15\u00a0%)\nSol: 519 (17\u00a0%)\n"
                      "Personas: 300 (10\u00a0%)\nLuces y aparatos: 500 (16\u00a0%)\n\n"
                      "Le corresponde el de 12000 BTU/h · 3000 frigorías, el más pequeño que "
                      "cubre al menos el 95\u00a0%. Uno mayor enfría a golpes y gasta más; uno "
                      "que no llega al 95\u00a0% se queda corto en los días más calurosos.\n\n"
                      "Más detalle: Ctrl+D"),
                  Qt::WhiteSpaceNormal));
    // The same and every class, one key away, in text a screen reader reads.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    // As a window manager activates a new window.
    QApplication::setActiveWindow(QApplication::activeModalWidget());
    auto *detail = qobject_cast<QPlainTextEdit *>(QApplication::focusWidget());
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->toPlainText().startsWith(QStringLiteral("3049 frigorias/hora\nEquivale")));
    EXPECT_TRUE(detail->toPlainText().contains(QStringLiteral(
        "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 98 %. Es el que corresponde")));
    EXPECT_TRUE(detail->toPlainText().contains(
        QStringLiteral("1090 W de potencia eléctrica:\nUsado 8 horas")));
    // Tab goes round the text and the buttons, as in any dialog.
    QStringList round;
    for (int stop = 0; stop < 4; ++stop) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
        round << (button != nullptr ? button->text()
                                    : QApplication::focusWidget()->accessibleName());
    }
    EXPECT_EQ(round,
              (QStringList{QStringLiteral("&Copiar"), QStringLiteral("Copiar en&lace"),
                           QStringLiteral("C&errar"), QStringLiteral("Detalle del cálculo")}));
    QTest::keyClick(detail, Qt::Key_Escape);
    QTest::qWait(0);
    QApplication::setActiveWindow(&form);
    // Once an answer changes, both say whose figures they are.
    type("Text5", QStringLiteral("3"));
    const QString stale =
        QStringLiteral("Resultado de las respuestas anteriores. Pulse «Calcular» para actualizar.");
    EXPECT_TRUE(find<QLabel>("Label14")->toolTip().contains(stale));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    QApplication::setActiveWindow(QApplication::activeModalWidget());
    auto *staleDetail = qobject_cast<QPlainTextEdit *>(QApplication::focusWidget());
    ASSERT_NE(staleDetail, nullptr);
    EXPECT_TRUE(
        staleDetail->toPlainText().startsWith(stale + QStringLiteral("\n3049 frigorias/hora")));
    QTest::keyClick(staleDetail, Qt::Key_Escape);
    EXPECT_EQ(form.fields().m, 20.0F);
    EXPECT_EQ(form.fields().dato1, 1730.0);
    EXPECT_EQ(form.fields().dato2, 2549.0);
}

struct SettingCase {
    RegionalSetting::Kind setting;
    const char *length, *width, *shown;
};

void PrintTo(const SettingCase &setting, std::ostream *out)
{
    *out << setting.shown;
}

class Form1RegionalSetting : public Form1Behaviour,
                             public testing::WithParamInterface<SettingCase> {};

TEST_P(Form1RegionalSetting, ReadsAndWritesItsSeparator)
{
    const auto &[setting, length, width, shown] = GetParam();
    const RegionalSetting regional(setting);
    click("Option1");
    type("Text1", QString::fromUtf8(length));
    type("Text2", QString::fromUtf8(width));
    click("Command1");
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(result(), QString::fromUtf8(shown));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Form1RegionalSetting,
    testing::Values(SettingCase{RegionalSetting::Spanish, "3,3", "4,1", "338,24999332428"},
                    SettingCase{RegionalSetting::C, "3.3", "4.1", "338.24999332428"}));

TEST_F(Form1Behaviour, DotUnderACommaSettingIsAnErrorNotAGroupSeparator)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    type("Text3", QStringLiteral("3.5"));
    click("Command1");
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports.front(), QStringLiteral("Error 13: No coinciden los tipos\n"
                                              "Revise la respuesta a la pregunta [2]."));
}

struct AreaCase {
    const char *name;
    std::vector<const char *> clicks;
    bool areaOn;
    bool label3Enabled;
};

void PrintTo(const AreaCase &area, std::ostream *out)
{
    *out << area.name;
}

class Form1AreaSwitch : public Form1Behaviour, public testing::WithParamInterface<AreaCase> {};

TEST_P(Form1AreaSwitch, FollowsLabel2)
{
    const auto &[name, clicks, areaOn, label3Enabled] = GetParam();
    for (const char *option : clicks)
        click(option);
    for (const char *part : {"Label2", "Label4", "Label5", "Text1", "Text2"})
        EXPECT_EQ(find(part)->isEnabled(), areaOn) << part;
    EXPECT_EQ(find("Label3")->isEnabled(), label3Enabled);
    EXPECT_TRUE(find("Label12")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, Form1AreaSwitch,
    testing::Values(AreaCase{"Untouched", {}, false, true},
                    // Label3 starts enabled and a first "No" leaves it so.
                    AreaCase{"NoFirst", {"Option2"}, false, true},
                    AreaCase{"Si", {"Option1"}, true, true},
                    AreaCase{"SiTwice", {"Option1", "Option1"}, true, true},
                    AreaCase{"SiThenNo", {"Option1", "Option2"}, false, false},
                    AreaCase{"SiNoSi", {"Option1", "Option2", "Option1"}, true, true},
                    AreaCase{"SiNoNo", {"Option1", "Option2", "Option2"}, false, false},
                    // Other questions never touch the area part.
                    AreaCase{"OtherQuestions", {"Option3", "Option4", "Option5"}, false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Form1Behaviour, KeyboardAndScreenReaderSwitchTheAreaToo)
{
    // Text3, Text4, Text5, "Calcular", then the first answer group.
    for (int stop = 0; stop < 3; ++stop)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    // Enter presses the focused button, as Space does.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(result(), QStringLiteral("0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), find("Option1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(find("Text1")->isEnabled());

    QAccessibleInterface *no = QAccessible::queryAccessibleInterface(find("Option2"));
    ASSERT_NE(no, nullptr);
    ASSERT_NE(no->actionInterface(), nullptr);
    no->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(find("Text1")->isEnabled());
}

// A right click's menu, each item as "text<Tab>key" (or "text" alone).
QStringList menuAt(QWidget &window, const QWidget &control)
{
    QStringList items;
    QTimer::singleShot(0, [&items] {
        QWidget *menu = QApplication::activePopupWidget();
        for (const QAction *action : menu->actions()) {
            const QString key = action->shortcut().toString(QKeySequence::NativeText);
            items << (key.isEmpty() ? action->text() : action->text() + u'\t' + key);
        }
        menu->close();
    });
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {},
                      control.mapTo(&window, control.rect().center()));
    EXPECT_TRUE(QTest::qWaitFor([&items] { return !items.isEmpty(); })) << "no menu";
    return items;
}

TEST_F(Form1Behaviour, QtsOwnTextsAreSpanishToo)
{
    click("Command1");
    EXPECT_TRUE(
        menuAt(form, *find("Label14")).contains(QStringLiteral("Copiar enlace\tCtrl+Mayús+C")));
    EXPECT_TRUE(menuAt(form, *find("Text3")).contains(QStringLiteral("&Deshacer\tCtrl+Z")));
}

TEST_F(Form1Behaviour, NoKeepsLengthAndWidthButLeavesThemOutOfTheTotal)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    click("Option1");
    type("Text1", QStringLiteral("4"));
    type("Text2", QStringLiteral("5"));
    click("Option2");
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), QStringLiteral("4"));
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), QStringLiteral("5"));
    type("Text3", QStringLiteral("3"));
    click("Command1");
    EXPECT_EQ(result(), QStringLiteral("780"));
    EXPECT_EQ(form.fields().m, 20.0F);
}

TEST_F(Form1Behaviour, BadTextInAGreyedBoxStillRaisesTheError)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    click("Option1");
    type("Text1", QStringLiteral("x"));
    click("Option2");
    click("Command1");
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports.front(), QStringLiteral("Error 13: No coinciden los tipos\n"
                                              "Revise la respuesta a la pregunta [1]."));
    EXPECT_FALSE(result().size());
    EXPECT_NE(QApplication::focusWidget(), find("Text1"));
}

struct ErrorCase {
    const char *name;
    std::vector<std::pair<const char *, const char *>> typed;
    const char *message;
    const char *focused;
};

void PrintTo(const ErrorCase &error, std::ostream *out)
{
    *out << error.name;
}

class Form1Error : public Form1Behaviour, public testing::WithParamInterface<ErrorCase> {};

TEST_P(Form1Error, IsReportedAndTheWindowLivesOn)
{
    const auto &[name, typed, message, focused] = GetParam();
    const RegionalSetting spanish(RegionalSetting::Spanish);
    click("Option1");
    type("Text5", QStringLiteral("2"));
    click("Command1");
    ASSERT_EQ(result(), QStringLiteral("300"));

    for (const auto &[box, text] : typed)
        type(box, QString::fromUtf8(text));
    EXPECT_FALSE(endsTheProgram(form, [this] { click("Command1"); }));

    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports.front(), QString::fromUtf8(message));
    EXPECT_EQ(result(), QStringLiteral("300"));
    // The total stays; its detail, no longer of these answers, goes.
    EXPECT_TRUE(find<QLabel>("Label14")->toolTip().isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(unitShown());
    for (const auto &[box, text] : typed)
        EXPECT_EQ(find<QLineEdit>(box)->text(), QString::fromUtf8(text)) << box;
    auto *box = find<QLineEdit>(focused);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(box->selectedText(), box->text());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Form1Error,
    testing::Values(ErrorCase{"EmptyOpenings",
                              {{"Text3", ""}},
                              "Error 13: No coinciden los tipos\n"
                              "Revise la respuesta a la pregunta [2].",
                              "Text3"},
                    ErrorCase{"WordForOccupants",
                              {{"Text5", "dos"}},
                              "Error 13: No coinciden los tipos\n"
                              "Revise la respuesta a la pregunta [5].",
                              "Text5"},
                    ErrorCase{
                        "WidthBeforeLength",
                        {{"Text1", "x"}, {"Text2", "y"}},
                        "Error 13: No coinciden los tipos\nRevise la respuesta a la pregunta [1].",
                        "Text2"},
                    ErrorCase{"WallsBeyondDouble",
                              {{"Text4", "1e309"}},
                              "Error 6: Desbordamiento\nRevise la respuesta a la pregunta [3].",
                              "Text4"},
                    ErrorCase{"AreaBeyondSingle",
                              {{"Text1", "1e20"}, {"Text2", "1e20"}},
                              "Error 6: Desbordamiento\nRevise la respuesta a la pregunta [1].",
                              "Text1"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Form1Behaviour, SunnyOverflowNamesNoQuestion)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    type("Text3", QStringLiteral("6e305"));
    click("Option3");
    click("Command1");
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports.front(), QStringLiteral("Error 6: Desbordamiento"));
}

TEST(Form1MessageBox, ReportsWithOneAceptarButtonAndKeepsTheWindow)
{
    const RegionalSetting spanish(RegionalSetting::Spanish);
    Form1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    clickAt(form, *control<QLineEdit>(form, QStringLiteral("Text3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);

    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QFont seenFont;
    QStringList seenButtons;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        closer.stop();
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenFont = box->font();
        for (auto *button : box->buttons())
            seenButtons << button->text();
        box->buttons().front()->click();
    });
    closer.start(10);
    EXPECT_FALSE(endsTheProgram(
        form, [&] { clickAt(form, *control<QPushButton>(form, QStringLiteral("Command1"))); }));

    EXPECT_EQ(seenTitle, QStringLiteral("Klimora"));
    EXPECT_EQ(seenIcon, QMessageBox::Critical);
    EXPECT_EQ(seenText, QStringLiteral("Error 13: No coinciden los tipos\n"
                                       "Revise la respuesta a la pregunta [2]."));
    EXPECT_EQ(seenButtons, QStringList{QStringLiteral("Aceptar")});
    EXPECT_EQ(seenFont, form.font());
}

struct LinkCase {
    const char *name;
    // Pasted into "Abrir enlace…"; none: "Copiar enlace" after a total.
    const char *pasted;
    // What the clipboard then holds, or the total shown.
    const char *expected;
};

void PrintTo(const LinkCase &link, std::ostream *out)
{
    *out << link.name;
}

class Form1Link : public Form1Behaviour, public testing::WithParamInterface<LinkCase> {};

TEST_P(Form1Link, HandsTheAnswersToThePageAndBack)
{
    const auto &[name, pasted, expected] = GetParam();
    const RegionalSetting spanish(RegionalSetting::Spanish);
    const auto press = [](int key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier | Qt::ShiftModifier);
    };
    click("Option1");
    type("Text1", QStringLiteral("3,3"));
    type("Text2", QStringLiteral("4,1"));
    type("Text5", QStringLiteral("7"));
    if (pasted == nullptr) {
        click("Command1");
        press(Qt::Key_C);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(expected));
        // Once an answer changes, the total is no longer theirs.
        type("Text3", QStringLiteral("1"));
        QGuiApplication::clipboard()->clear();
        press(Qt::Key_C);
        EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
        return;
    }
    QTimer::singleShot(0, [pasted] {
        QApplication::setActiveWindow(QApplication::activeModalWidget());
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(pasted));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    press(Qt::Key_V);
    EXPECT_EQ(result(), QString::fromUtf8(expected));
    // A link read whole replaces every answer; one that is not, none.
    EXPECT_EQ(find<QLineEdit>("Text5")->text(),
              reports.empty() ? QStringLiteral("0") : QStringLiteral("7"));
    // A box filled in shows where its text starts.
    if (reports.empty()) {
        EXPECT_EQ(find<QLineEdit>("Text1")->cursorPosition(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, Form1Link,
    testing::Values(
        LinkCase{"Copy", nullptr,
                 "https://www.klimora.example/#v=1&sep=coma&atico=si&largo=3,3&ancho=4,1&puertas=0&"
                 "paredes=0&personas=7"},
        LinkCase{"OpenWithThePoint",
                 "https://www.klimora.example/#v=1&sep=punto&atico=si&largo=3.3&ancho=4.1",
                 "338,24999332428"},
        LinkCase{"RefuseCutShort", "https://www.klimora.example/#v=1&sep=coma&lar", ""}),
    [](const auto &info) { return std::string(info.param.name); });

struct LongTotal {
    const char *walls;
    const char *shown;
};

void PrintTo(const LongTotal &total, std::ostream *out)
{
    *out << total.shown;
}

class Form1LongTotal : public Form1Behaviour, public testing::WithParamInterface<LongTotal> {};

TEST_P(Form1LongTotal, IsShownWholeLeftOfTheUnit)
{
    const auto &[walls, shown] = GetParam();
    const RegionalSetting spanish(RegionalSetting::Spanish);
    auto *label = find<QLabel>("Label14");
    const QRect home = label->geometry();
    const qreal homeSize = label->font().pointSizeF();

    type("Text4", QString::fromUtf8(walls));
    click("Command1");
    ASSERT_TRUE(reports.empty());
    ASSERT_EQ(result(), QString::fromUtf8(shown));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(result()), label->contentsRect().width());
    EXPECT_EQ(label->geometry().right(), home.right());
    EXPECT_GE(label->x(), find("Command1")->geometry().right() + 120 / 15);
    EXPECT_LT(label->geometry().right(), find("Label15")->x());

    type("Text4", QStringLiteral("1"));
    click("Command1");
    EXPECT_EQ(label->geometry(), home);
    EXPECT_EQ(label->font().pointSizeF(), homeSize);
}

INSTANTIATE_TEST_SUITE_P(
    Longest, Form1LongTotal,
    testing::Values(LongTotal{"-3,59538626972463e306", "-1,79769313486232E+308"},
                    LongTotal{"-2,46913578024691e-302", "-1,23456789012345E-300"},
                    LongTotal{"-0,00000246913578024691", "-0,000123456789012346"},
                    LongTotal{"-2469135780246,91", "-123456789012346"},
                    LongTotal{"-246913578024,6913", "-12345678901234,6"}));

} // namespace
