#pragma once

// The detail of a calculation, as a dialog.

#include <QDialog>

class QAction;

// "Detalle del cálculo": the whole result as text a keyboard and a screen
// reader can reach, select and copy.
class CalculationDetail : public QDialog {
    Q_OBJECT

public:
    // copyLink, when enabled, is offered as a button too.
    CalculationDetail(const QString &text, QAction *copyLink, QWidget *parent);
};
