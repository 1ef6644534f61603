#pragma once

// The total on the result line.

#include <QLabel>

// The total on the result line. Sighted users see a plain label; a screen
// reader is told each new total, with its unit, as a notification.
class ResultLabel : public QLabel {
    Q_OBJECT

public:
    explicit ResultLabel(QWidget *parent = nullptr);

    // The total and its unit, as a screen reader speaks them.
    [[nodiscard]] QString spokenText() const;

    // Tells assistive technology that a new total is shown. The focus stays
    // where it is.
    void announce();
};
