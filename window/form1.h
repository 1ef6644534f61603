#pragma once

// The questionnaire window.

#include "calc/answer_fields.h"
#include "calc/calc_error.h"
#include "calc/calculation_report.h"
#include "calc/cooling_load.h"
#include "error_report.h"
#include "result_label_fit.h"

#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QLineEdit;
class QRadioButton;

namespace Ui {
class Form1;
}

// The questionnaire window: six questions, "Calcular" and the result line.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(ErrorReport reportError = showErrorBox, QWidget *parent = nullptr);
    ~Form1() override;

    // The intermediate results of the last calculation, as far as it got.
    [[nodiscard]] const klimora::CoolingLoadFields &fields() const { return m_fields; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void switchAreaOn();
    void switchAreaOff();
    void setAreaEnabled(bool enabled);
    void calculate();
    void showResult(const klimora::CalculationResult &result);
    void endWith(const QString &message);
    [[nodiscard]] klimora::QuestionnaireAnswers answers() const;
    void fillIn(const klimora::QuestionnaireAnswers &shown);
    void showTotal(const klimora::CalculationReport &report);
    void forgetDetail();
    void showDetailState();
    void showDetail();
    void answersChanged();
    void copyLink();
    void openLink();
    [[nodiscard]] QLineEdit *boxFor(klimora::Answer answer) const;
    [[nodiscard]] std::array<QLineEdit *, 5> answerBoxes() const;
    [[nodiscard]] std::array<QRadioButton *, 6> options() const;
    void pointAt(klimora::Answer answer);

    std::unique_ptr<Ui::Form1> ui;
    ErrorReport m_reportError;
    std::unique_ptr<ResultLabelFit> m_resultFit;
    klimora::CoolingLoadFields m_fields;
    QAction *m_detailAction = nullptr;
    QAction *m_copyLinkAction = nullptr;
    QAction *m_openLinkAction = nullptr;
    // What the tooltip and "Detalle del cálculo" tell of the total on screen;
    // empty once a calculation has failed.
    QString m_summary;
    QString m_detail;
    // True once an answer has changed since the total on screen.
    bool m_stale = false;
};
