#include "calculation_detail.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(QStringLiteral("&Copiar"), QDialogButtonBox::ActionRole);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("C&errar"));
    QPushButton *link = buttons->addButton(QStringLiteral("Copiar en&lace"), QDialogButtonBox::ActionRole);
    link->setEnabled(copyLink->isEnabled());
    connect(link, &QPushButton::clicked, copyLink, &QAction::trigger);
    connect(copy, &QPushButton::clicked, this,
            [detail] { QGuiApplication::clipboard()->setText(detail->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(detail);
    layout->addWidget(buttons);
    detail->setFocus();
}
