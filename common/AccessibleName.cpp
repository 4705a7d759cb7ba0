#include "common/AccessibleName.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

// Qt names a combo box on Linux by its current text, which is what a reader then says
// for it; ours is named by its label, and its text is its value.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override
    {
        auto* combo = static_cast<QComboBox*>(widget());
        if (t == QAccessible::Value) return combo->currentText();
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        // Its name, else its label's, else (as Qt has it) its text.
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? combo->currentText() : name;
    }
    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction()) static_cast<QComboBox*>(widget())->showPopup();
        else QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* NamedComboBoxFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QComboBox") || !object || !object->isWidgetType()) return nullptr;
    return new NamedComboBox(static_cast<QComboBox*>(object));
}

}  // namespace

void InstallAccessibleNames()
{
    static const bool installed = [] {
        QAccessible::installFactory(NamedComboBoxFactory);
        return true;
    }();
    (void)installed;
}

void NameLike(QWidget* control, const QString& label)
{
    InstallAccessibleNames();
    QString name = label;
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    name.replace(QStringLiteral("&&"), QStringLiteral("&"));
    name = name.trimmed();
    while (name.endsWith(':') || name.endsWith('.')) name.chop(1);
    name = name.trimmed();
    control->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) combo->lineEdit()->setAccessibleName(name);
}
