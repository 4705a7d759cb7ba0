#include "common/AccessibleName.h"

#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

// Qt names a combo box on Linux by its current text, which is what a reader then says
// for it; ours is named by its label, and its text is its value.
class NamedComboBox : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        auto* combo = static_cast<QComboBox*>(widget());
        if (t == QAccessible::Value) return combo->currentText();
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        // Its name, else its label's, else (as Qt has it) its text.
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? combo->currentText() : name;
    }
    // As Qt's own: its list (whose selected item is the value a reader says for a box
    // that cannot be typed into), then its field when it has one.
    int childCount() const override { return Combo()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
        if (index == 1 && Combo()->lineEdit()) return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->object() == Combo()->view()) return 0;
        if (child && Combo()->lineEdit() && child->object() == Combo()->lineEdit()) return 1;
        return -1;
    }
    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }

    // A box that cannot be typed into gives its current text as its text, which is what
    // a reader says after its name; an editable one has its field for that.
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface && !Combo()->lineEdit()) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(int start, int end) const override { return Combo()->currentText().mid(start, end - start); }
    int characterCount() const override { return int(Combo()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }
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
