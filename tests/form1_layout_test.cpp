#include "form1_fixture.h"
#include "klimora_config.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Form1Layout = Form1Fixture;

struct InitialState {
    const char *name;
    const char *text;
    bool enabled;
    bool visible;
};

TEST_F(Form1Layout, OpensInItsInitialState)
{
    const InitialState states[] = {
        {"Text1", "0", false, true},          {"Text2", "0", false, true},
        {"Text3", "0", true, true},           {"Text4", "0", true, true},
        {"Text5", "0", true, true},           {"Label2", nullptr, false, true},
        {"Label4", "Largo", false, true},     {"Label5", "Ancho", false, true},
        {"Label3", "m", true, true},          {"Label12", "m   X", true, true},
        {"Label14", "", true, true},          {"Label15", "frigorias/hora", true, false},
        {"Command1", "Calcular", true, true},
    };
    for (const auto &[name, text, enabled, visible] : states) {
        const auto *widget = find<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->isEnabled(), enabled) << name;
        EXPECT_EQ(widget->isVisible(), visible) << name;
        if (text == nullptr)
            continue;
        const QVariant shown = widget->property("text");
        EXPECT_EQ(shown.toString(), QString::fromUtf8(text)) << name;
    }
    for (const auto *option : form.findChildren<QRadioButton *>())
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("Text3"));
}

TEST_F(Form1Layout, QuestionsStandInBold)
{
    for (const char *name : {"Label1", "Label6", "Label8", "Label10", "Label11", "Label13"}) {
        const auto *label = find<QLabel>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->font().bold()) << name;
        EXPECT_EQ(label->font().pointSizeF(), 12) << name;
    }
    EXPECT_FALSE(find<QLabel>("Label2")->font().bold());
}

// Where the style draws a button's caption, past its indicator and bevel.
QRect textSpace(const QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool radio = qobject_cast<const QRadioButton *>(&button) != nullptr;
    return button.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &option, &button);
}

TEST_F(Form1Layout, EveryTextFitsItsControl)
{
    std::vector<QWidget *> checked;
    for (auto *label : form.findChildren<QLabel *>()) {
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString() << " in " << label->font().family().toStdString();
        EXPECT_LE(metrics.height(), label->height()) << label->objectName().toStdString();
        checked.push_back(label);
    }
    for (auto *button : form.findChildren<QAbstractButton *>()) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()),
                  textSpace(*button).width())
            << button->objectName().toStdString();
        checked.push_back(button);
    }
    EXPECT_EQ(checked.size(), 15U + 7U);
}

TEST_F(Form1Layout, FramesStackWithoutOverlap)
{
    // Twips of each frame's top and bottom, as the window was laid out.
    const struct {
        const char *name;
        int top, bottom;
    } frames[] = {{"Frame1", 15, 1350},   {"Frame2", 1440, 2145}, {"Frame3", 2235, 2970},
                  {"Frame4", 3120, 3855}, {"Frame5", 3960, 4695}, {"Frame6", 4800, 5565}};
    constexpr int twipsPerPixel = 15;
    for (const auto &[name, top, bottom] : frames) {
        const auto *frame = find<QGroupBox>(name);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->y(), top / twipsPerPixel) << name;
        EXPECT_EQ(frame->y() + frame->height(), bottom / twipsPerPixel) << name;
        EXPECT_LE(frame->geometry().right(), form.width()) << name;
    }
    EXPECT_GE(find<QWidget>("Command1")->y(), 5715 / twipsPerPixel);
}

TEST_F(Form1Layout, WindowIsFixedAndCaptioned)
{
    EXPECT_EQ(form.size(), QSize(496, 415));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("[Klimora]") + QString(27, u' ') +
                                      QStringLiteral("- " KLIMORA_WEB_ADDRESS " - "));
    const auto sizes = form.windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 64, 128})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(Form1Layout, TabVisitsBoxesThenButtonThenAnswerGroups)
{
    const char *expected[] = {"Text4",   "Text5",   "Command1", "Option1",
                              "Option3", "Option5", "Text3"};
    for (const char *name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
}

TEST_F(Form1Layout, AnswerGroupsAreIndependent)
{
    for (const char *name : {"Option1", "Option3", "Option5", "Option4"})
        click(name);
    EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("Option3")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("Option4")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("Option5")->isChecked());
}

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(kind) : QString();
}

TEST_F(Form1Layout, ScreenReadersCanTellEveryControlApart)
{
    const QString roof = QStringLiteral("¿Es la vivienda un ático o última planta?");
    const QString sun = QStringLiteral("¿Es la habitación muy soleada?");
    const QString lights = QStringLiteral("¿Hay muchas luces, electrodomesticos...?");
    const struct {
        const char *name;
        QString accessibleName, description;
    } expected[] = {
        {"Text1", QStringLiteral("Largo"), {}},
        {"Text2", QStringLiteral("Ancho"), {}},
        {"Text3", QStringLiteral("Superficie total de puertas y ventanas al exterior:"), {}},
        {"Text4", QStringLiteral("Longitud de las paredes que dan al exterior:"), {}},
        {"Text5", QStringLiteral("¿Cuantas personas suelen ocupar la habitación?"), {}},
        {"Option1", QStringLiteral("Si"), roof},
        {"Option2", QStringLiteral("No"), roof},
        {"Option3", QStringLiteral("Si"), sun},
        {"Option4", QStringLiteral("No"), sun},
        {"Option5", QStringLiteral("Si"), lights},
        {"Option6", QStringLiteral("No"), lights},
        {"Frame7", roof, {}},
        {"Frame8", sun, {}},
        {"Frame9", lights, {}},
        {"Label14", {}, QStringLiteral("frigorias/hora")},
    };
    for (const auto &[name, accessibleName, description] : expected) {
        auto *widget = find<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        if (!accessibleName.isEmpty()) {
            EXPECT_EQ(accessibleText(widget, QAccessible::Name), accessibleName) << name;
        }
        if (!description.isEmpty()) {
            EXPECT_EQ(accessibleText(widget, QAccessible::Description), description) << name;
        }
    }
}

// Labels lie beneath the controls, so a click anywhere on a control reaches it.
TEST_F(Form1Layout, EveryInputControlTakesClicksAllOverIt)
{
    click("Option1");
    ASSERT_TRUE(find("Text1")->isEnabled());
    constexpr int inset = 4;
    for (const char *name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Option1", "Option2",
                             "Option3", "Option4", "Option5", "Option6", "Command1"}) {
        const QWidget *control = find(name);
        const QRect inner = control->rect().adjusted(inset, inset, -inset, -inset);
        for (const QPoint point : {inner.center(), inner.topLeft(), inner.topRight(),
                                   inner.bottomLeft(), inner.bottomRight()}) {
            const QWidget *hit = form.childAt(control->mapTo(&form, point));
            EXPECT_TRUE(hit == control || control->isAncestorOf(hit))
                << name << " at " << point.x() << "," << point.y() << " is under "
                << (hit ? hit->objectName().toStdString() : "nothing");
        }
    }
}

} // namespace
