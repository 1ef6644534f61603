#pragma once

#include <QDialog>

// "Detalle del cálculo": the whole result as text a keyboard and a screen
// reader can reach, select and copy.
class CalculationDetail : public QDialog {
    Q_OBJECT

public:
    CalculationDetail(const QString &text, QWidget *parent);
};
