// "Detalle del cálculo": the text and its three buttons.
#include "calculation_detail.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CalculationDetail::CalculationDetail(const QString &text, QAction *copyLink, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Detalle del cálculo"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *detail = new QPlainTextEdit(text, this);
    detail->setReadOnly(true);
    // A caret that arrow keys move, so that Orca reads line by line.
    detail->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    detail->setFocusPolicy(Qt::StrongFocus);
    detail->setAccessibleName(windowTitle());
    detail->setMinimumSize(detail->fontMetrics().averageCharWidth() * 70,
                           detail->fontMetrics().lineSpacing() * 20);

    // In the order they read, which Tab follows: a QDialogButtonBox would put
    // itself in that round and send Tab from its last button back to its first.
    auto *copy = new QPushButton(QStringLiteral("&Copiar"), this);
    auto *link = new QPushButton(QStringLiteral("Copiar en&lace"), this);
    auto *close = new QPushButton(QStringLiteral("C&errar"), this);
    link->setEnabled(copyLink->isEnabled());
    connect(link, &QPushButton::clicked, copyLink, &QAction::trigger);
    connect(copy, &QPushButton::clicked, this,
            [detail] { QGuiApplication::clipboard()->setText(detail->toPlainText()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {copy, link, close})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(detail);
    layout->addLayout(buttons);
    detail->setFocus();
}
