#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace klimora {
class CalcError;
}

// Shows the user what went wrong; tests put a recorder in its place.
using ErrorReport = std::function<void(QWidget *parent, const QString &message)>;

// "Error 13: No coinciden los tipos", and the question to look at, if any.
QString errorMessage(const klimora::CalcError &error);

// A modal critical message box titled "Klimora" with one "Aceptar" button.
void showErrorBox(QWidget *parent, const QString &message);
