// The questionnaire window's handlers: the area switch, "Calcular", the detail and links.
#include "form1.h"

#include "calc/actions.h"
#include "calc/answer_fields.h"
#include "calc/calculation_report.h"
#include "calculation_detail.h"
#include "klimora_config.h"
#include "ui_form1.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>

#include <cstdlib>
#include <exception>
#include <initializer_list>

namespace {

// The left edge the result may grow to: clear of "Calcular" by 120 twips.
constexpr int resultLeftmost = 2655 / 15;

// The window's default font: the classic face at 8 points where installed,
// else Debian's face of the same width; past both, Qt falls back to the
// platform's sans. Chosen here, once and before the controls exist, because
// letting each font fall back on its own doubles the window's start-up time.
QFont classicFont()
{
    // families() only lists what is installed; hasFamily() would also ask
    // fontconfig for aliases, which is slow.
    const QString classic = QStringLiteral("MS Sans Serif");
    const bool installed = QFontDatabase::families().contains(classic);
    return {installed ? classic : QStringLiteral("Liberation Sans"), 8};
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

// Labels were drawn beneath every other control, whatever order the form
// declares them in; a wide question label must never swallow a box's clicks.
void putLabelsUnderControls(QWidget &form)
{
    for (QLabel *label : form.findChildren<QLabel *>())
        label->lower();
}

QIcon everyIconSize()
{
    QIcon icon(QStringLiteral(":/icons/klimora.svg"));
    for (const int size : {16, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/icons/klimora-%1.png").arg(size), QSize(size, size));
    return icon;
}

QString windowCaption()
{
    return QStringLiteral("[Klimora]") + QString(27, u' ') + QStringLiteral("- ") +
           QStringLiteral(KLIMORA_WEB_ADDRESS) + QStringLiteral(" - ");
}

QKeySequence detailKey()
{
    return {Qt::CTRL | Qt::Key_D};
}

QString staleNote()
{
    return QStringLiteral(
        "Resultado de las respuestas anteriores. Pulse «Calcular» para actualizar.");
}

// Unselects both buttons of a "Si"/"No" pair, which a click cannot do.
void unselect(QAbstractButton &button)
{
    button.setAutoExclusive(false);
    button.setChecked(false);
    button.setAutoExclusive(true);
}

} // namespace

Form1::Form1(ErrorReport reportError, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Form1>()), m_reportError(std::move(reportError))
{
    setFont(classicFont());
    ui->setupUi(this);
    putLabelsUnderControls(*this);
    applyFractionalFontSizes(*ui);
    m_resultFit = std::make_unique<ResultLabelFit>(*ui->Label14, resultLeftmost);
    setWindowTitle(windowCaption());
    setWindowIcon(everyIconSize());
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // Windows otherwise gives even a fixed-size window a sizing border, and
    // Wine a working maximise.
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // Qt's own Wayland title bar offers to maximise whatever the flags say,
    // and the compositor then demands that size be taken: there the window
    // may grow, with every question where it was, rather than be ended.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (const QScreen *screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    ui->Text3->setFocus();

    // toggled, not clicked: a screen reader's toggle action only emits toggled.
    connect(ui->Option1, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            switchAreaOn();
    });
    connect(ui->Option2, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            switchAreaOff();
    });
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::calculate);

    // The tooltip is out of a keyboard's reach: the same and more, one key away.
    m_detailAction = new QAction(QStringLiteral("Detalle del cálculo"), this);
    m_detailAction->setShortcut(detailKey());
    m_detailAction->setEnabled(false);
    connect(m_detailAction, &QAction::triggered, this, &Form1::showDetail);
    addAction(m_detailAction);
    ui->Label14->addAction(m_detailAction);
    ui->Label14->setContextMenuPolicy(Qt::ActionsContextMenu);

    // The phone takes over from a link: the page opens it with these answers.
    m_copyLinkAction = new QAction(QStringLiteral("Copiar enlace"), this);
    m_copyLinkAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_copyLinkAction->setEnabled(false);
    connect(m_copyLinkAction, &QAction::triggered, this, &Form1::copyLink);
    addAction(m_copyLinkAction);
    ui->Label14->addAction(m_copyLinkAction);
    m_openLinkAction = new QAction(QStringLiteral("Abrir enlace…"), this);
    m_openLinkAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    connect(m_openLinkAction, &QAction::triggered, this, &Form1::openLink);
    addAction(m_openLinkAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // A link is offered only while the total on screen is that of the answers.
    for (QLineEdit *box : answerBoxes()) {
        connect(box, &QLineEdit::textEdited, this, &Form1::answersChanged);
        box->installEventFilter(this);
    }
    for (QRadioButton *option : options())
        connect(option, &QRadioButton::toggled, this, &Form1::answersChanged);
}

Form1::~Form1() = default;

// X11's keys have Ctrl+D delete a character: in a box it is the detail's
// key alone, even while there is no detail to open.
bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const bool detailKeyPressed =
        event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->keyCombination() == detailKey()[0];
    return detailKeyPressed || QWidget::eventFilter(watched, event);
}

std::array<QLineEdit *, 5> Form1::answerBoxes() const
{
    return {ui->Text1, ui->Text2, ui->Text3, ui->Text4, ui->Text5};
}

std::array<QRadioButton *, 6> Form1::options() const
{
    return {ui->Option1, ui->Option2, ui->Option3, ui->Option4, ui->Option5, ui->Option6};
}

// Label2 is the record of whether the area part is on. Label3 starts enabled
// while the rest starts greyed, so a first "No" leaves it as it is.
void Form1::switchAreaOn()
{
    if (!ui->Label2->isEnabled())
        setAreaEnabled(true);
}

void Form1::switchAreaOff()
{
    if (ui->Label2->isEnabled())
        setAreaEnabled(false);
}

void Form1::setAreaEnabled(bool enabled)
{
    const std::initializer_list<QWidget *> areaPart = {ui->Label2, ui->Label4, ui->Label5,
                                                       ui->Label3, ui->Text1,  ui->Text2};
    for (QWidget *control : areaPart)
        control->setEnabled(enabled);
}

void Form1::calculate()
{
    // Nothing may escape into Qt's event loop.
    try {
        showResult(klimora::calculate(answers().answers, klimora::userNumberFormat()));
    } catch (const std::exception &error) {
        endWith(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        endWith(QString::fromUtf8(klimora::unexpectedError));
    }
}

void Form1::showResult(const klimora::CalculationResult &result)
{
    m_fields = result.fields;
    if (result.failure) {
        forgetDetail();
        m_reportError(this, QString::fromStdString(result.failure->message));
        pointAt(result.failure->answer);
        return;
    }
    showTotal(result.report);
}

// Past an unexpected failure the window's state cannot be trusted: say so and end.
void Form1::endWith(const QString &message)
{
    m_reportError(this, message);
    QCoreApplication::exit(EXIT_FAILURE);
}

klimora::QuestionnaireAnswers Form1::answers() const
{
    klimora::QuestionnaireAnswers shown;
    klimora::CoolingLoadAnswers &texts = shown.answers;
    texts.topFloor = ui->Option1->isChecked();
    texts.length = ui->Text1->text().toStdString();
    texts.width = ui->Text2->text().toStdString();
    texts.openings = ui->Text3->text().toStdString();
    texts.walls = ui->Text4->text().toStdString();
    texts.sunny = ui->Option3->isChecked();
    texts.occupants = ui->Text5->text().toStdString();
    texts.appliances = ui->Option5->isChecked();
    shown.answered = {ui->Option1->isChecked() || ui->Option2->isChecked(),
                      ui->Option3->isChecked() || ui->Option4->isChecked(),
                      ui->Option5->isChecked() || ui->Option6->isChecked()};
    return shown;
}

// Every box and question as given; the area follows question [1].
void Form1::fillIn(const klimora::QuestionnaireAnswers &shown)
{
    const auto choose = [](QRadioButton *yes, QRadioButton *no, bool answered, bool chosen) {
        if (answered) {
            (chosen ? yes : no)->setChecked(true);
        } else {
            unselect(*yes);
            unselect(*no);
        }
    };
    const klimora::CoolingLoadAnswers &texts = shown.answers;
    choose(ui->Option1, ui->Option2, shown.answered.topFloor, texts.topFloor);
    choose(ui->Option3, ui->Option4, shown.answered.sunny, texts.sunny);
    choose(ui->Option5, ui->Option6, shown.answered.appliances, texts.appliances);
    if (!shown.answered.topFloor)
        switchAreaOff();
    for (const klimora::AnswerField &field : klimora::answerFields) {
        if (QLineEdit *box = boxFor(field.box)) {
            box->setText(QString::fromStdString(texts.*field.text));
            // From its start, as typed: its end alone may read as another number.
            box->home(false);
        }
    }
}

void Form1::showTotal(const klimora::CalculationReport &report)
{
    m_resultFit->show(QString::fromStdString(report.total));
    ui->Label15->show();
    ui->Label14->announce();
    m_summary = QString::fromStdString(klimora::reportText(report, false)) +
                QStringLiteral("\n\nMás detalle: ") +
                detailKey().toString(QKeySequence::NativeText);
    m_detail = ui->Label14->spokenText() + u'\n' +
               QString::fromStdString(klimora::reportText(report, true));
    m_stale = false;
    showDetailState();
}

// The total stays, as it always has, but its detail would no longer match the
// answers on screen.
void Form1::forgetDetail()
{
    m_summary.clear();
    m_detail.clear();
    showDetailState();
}

// The detail belongs to the total on screen, and says so once the answers
// have changed; only a link of the answers on screen is offered.
void Form1::showDetailState()
{
    const QString note = m_stale ? staleNote() + QStringLiteral("\n\n") : QString();
    // Rich text, which a tooltip wraps at a readable width.
    ui->Label14->setToolTip(m_summary.isEmpty()
                                ? QString()
                                : Qt::convertFromPlainText(note + m_summary, Qt::WhiteSpaceNormal));
    m_detailAction->setEnabled(!m_detail.isEmpty());
    m_copyLinkAction->setEnabled(!m_detail.isEmpty() && !m_stale);
}

void Form1::showDetail()
{
    const QString note = m_stale ? staleNote() + u'\n' : QString();
    (new CalculationDetail(note + m_detail, m_copyLinkAction, this))->open();
}

void Form1::answersChanged()
{
    if (m_stale)
        return;
    m_stale = true;
    showDetailState();
}

void Form1::copyLink()
{
    const std::optional<std::string> fragment =
        klimora::linkOf(answers(), klimora::userNumberFormat());
    if (!fragment) {
        m_reportError(this, QStringLiteral("Estas respuestas son demasiado largas para un enlace. "
                                           "Acorte alguna y vuelva a pulsar «Calcular»."));
        return;
    }
    QGuiApplication::clipboard()->setText(QStringLiteral(KLIMORA_PAGE_ADDRESS) + u'#' +
                                          QString::fromStdString(*fragment));
}

// As the page opens a link: its answers over the first ones, written with
// this setting's separator, and their result. A link read only in part is
// refused whole, the answers untouched.
void Form1::openLink()
{
    QInputDialog ask(this);
    ask.setWindowTitle(QStringLiteral("Abrir enlace"));
    ask.setLabelText(QStringLiteral("Pegue el enlace de un cálculo de la página de Klimora:"));
    ask.setOkButtonText(QStringLiteral("Abrir"));
    ask.setCancelButtonText(QStringLiteral("Cancelar"));
    if (ask.exec() != QDialog::Accepted)
        return;
    const std::optional<klimora::OpenedLink> opened =
        klimora::openLink(ask.textValue().trimmed().toStdString(), klimora::userNumberFormat(),
                          klimora::Separator::TheFormats);
    if (!opened || !opened->whole) {
        m_reportError(this,
                      QStringLiteral("Este enlace no se puede leer: no es el de un cálculo de "
                                     "Klimora, o le falta una parte.\nLas respuestas no "
                                     "han cambiado."));
        return;
    }
    fillIn(opened->answers);
    showResult(opened->reply.result);
}

QLineEdit *Form1::boxFor(klimora::Answer answer) const
{
    switch (answer) {
    case klimora::Answer::Length:
        return ui->Text1;
    case klimora::Answer::Width:
        return ui->Text2;
    case klimora::Answer::Openings:
        return ui->Text3;
    case klimora::Answer::Walls:
        return ui->Text4;
    case klimora::Answer::Occupants:
        return ui->Text5;
    case klimora::Answer::None:
        break;
    }
    return nullptr;
}

// Takes the user to the box to mend, where it can take the focus.
void Form1::pointAt(klimora::Answer answer)
{
    QLineEdit *box = boxFor(answer);
    if (box == nullptr || !box->isEnabled())
        return;
    box->setFocus();
    // Selected from the end back to the start: the box then shows where the
    // text begins, and Qt need not measure a pasted megabyte to its end.
    const auto length = static_cast<int>(box->text().size());
    box->setSelection(length, -length);
}
