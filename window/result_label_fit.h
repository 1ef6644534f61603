#pragma once

// Fits the result label to the total it shows.

#include <QRect>

class QLabel;
class QString;

// The result label keeps its right edge; a total wider than its home grows it
// leftwards, up to a limit, and past that the font steps down until the whole
// number fits. A cut-off number would read as a different one.
class ResultLabelFit {
public:
    ResultLabelFit(QLabel &label, int leftmost);

    void show(const QString &text);

private:
    QLabel &m_label;
    QRect m_home;
    int m_leftmost;
    qreal m_fullPointSize;
};
