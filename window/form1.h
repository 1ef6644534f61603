#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Form1;
}

// The questionnaire window: six questions, "Calcular" and the result line.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

private:
    std::unique_ptr<Ui::Form1> ui;
};
