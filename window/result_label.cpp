// The result label and what a screen reader is told of it.
#include "result_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// Orca speaks a notification when it appears; it ignores a plain label's
// name changes. The unit is the label's accessible description.
class ResultLabelAccessible : public QAccessibleWidget {
public:
    explicit ResultLabelAccessible(ResultLabel *label)
        : QAccessibleWidget(label, QAccessible::Notification)
    {
    }

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const ResultLabel *>(widget())->spokenText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *accessibleResultLabel(const QString &, QObject *object)
{
    auto *label = qobject_cast<ResultLabel *>(object);
    // Qt's accessibility cache owns what a factory makes.
    return label != nullptr ? new ResultLabelAccessible(label) : nullptr;
}

} // namespace

ResultLabel::ResultLabel(QWidget *parent) : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleResultLabel);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
}

QString ResultLabel::spokenText() const
{
    if (text().isEmpty())
        return {};
    return text() + u' ' + accessibleDescription();
}

void ResultLabel::announce()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, spokenText());
#else
    // The label is not really hidden first, so nothing flickers.
    QAccessibleEvent event(this, QAccessible::ObjectShow);
#endif
    QAccessible::updateAccessibility(&event);
}
