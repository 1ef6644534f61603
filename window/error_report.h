#pragma once

// How the window tells the user what went wrong.

#include <QString>

#include <functional>

class QWidget;

// Shows the user what went wrong; tests put a recorder in its place.
using ErrorReport = std::function<void(QWidget *parent, const QString &message)>;

// A modal critical message box titled "Klimora" with one "Aceptar" button.
void showErrorBox(QWidget *parent, const QString &message);
