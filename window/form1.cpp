#include "form1.h"

#include "klimora_config.h"
#include "ui_form1.h"

#include <QFont>
#include <QFontDatabase>
#include <QScreen>
#include <QStyle>

namespace {

// The classic face where installed, else Debian's face of the same width;
// past both, Qt falls back to the platform's sans.
void useClassicFace(QWidget &window)
{
    // Looked up once: letting every font fall back on its own is slow.
    const QString classic = QStringLiteral("MS Sans Serif");
    QFont font = window.font();
    font.setFamily(QFontDatabase::hasFamily(classic) ? classic : QStringLiteral("Liberation Sans"));
    window.setFont(font);
}

void setPointSize(QWidget *widget, qreal points)
{
    QFont font = widget->font();
    font.setPointSizeF(points);
    widget->setFont(font);
}

// Designer stores whole points only; the unit and result styles are not.
void applyFractionalFontSizes(const Ui::Form1 &ui)
{
    for (QWidget *unit : {ui.Label3, ui.Label7, ui.Label9, ui.Label12})
        setPointSize(unit, 9.75);
    setPointSize(ui.Label14, 13.5);
}

QString windowCaption()
{
    return QStringLiteral("[Klimora]") + QString(27, u' ') + QStringLiteral("- ") +
           QStringLiteral(KLIMORA_WEB_ADDRESS) + QStringLiteral(" - ");
}

} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::Form1>())
{
    ui->setupUi(this);
    useClassicFace(*this);
    applyFractionalFontSizes(*ui);
    setWindowTitle(windowCaption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/klimora.ico")));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    if (const QScreen *screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    ui->Text3->setFocus();
}

Form1::~Form1() = default;
