#include "error_report.h"

#include "calc/calc_error.h"

#include <QMessageBox>

namespace {

// The number of the question each answer belongs to; 0 for none.
int questionOf(klimora::Answer answer)
{
    switch (answer) {
    case klimora::Answer::Length:
    case klimora::Answer::Width:
        return 1;
    case klimora::Answer::Openings:
        return 2;
    case klimora::Answer::Walls:
        return 3;
    case klimora::Answer::Occupants:
        return 5;
    case klimora::Answer::None:
        break;
    }
    return 0;
}

} // namespace

QString errorMessage(const klimora::CalcError &error)
{
    QString message = QStringLiteral("Error %1: %2")
                          .arg(static_cast<int>(error.number()))
                          .arg(QString::fromUtf8(error.what()));
    if (const int question = questionOf(error.answer()))
        message += QStringLiteral("\nRevise la respuesta a la pregunta [%1].").arg(question);
    return message;
}

void showErrorBox(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Klimora"), message,
                    QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    // A window of its own takes the platform's font, not the window's: under
    // Wine that is a serif that no dialog uses.
    if (parent != nullptr)
        box.setFont(parent->font());
    box.exec();
}
