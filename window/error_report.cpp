// The error message box.
#include "error_report.h"

#include <QMessageBox>

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
