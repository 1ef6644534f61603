#pragma once

// The questions' frames, in the classic look.

#include <QGroupBox>

// A group box drawn the classic way: the caption sits on the top border line
// and children are placed from the box's own top-left corner, whatever the
// platform style does with captions.
class ClassicFrame : public QGroupBox {
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};
