#include "common/AccessibleName.h"

#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QWindow>
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

// One tab of a tab bar. Qt's own says its current tab has the focus whatever has it, so
// that a reader hears the tab beside the control the person is in; this one has the focus
// only while the tab bar has it.
class TabOfBar : public QAccessibleInterface {
public:
    TabOfBar(QTabBar* bar, int index) : m_bar(bar), m_index(index) {}
    bool isValid() const override { return !m_bar.isNull() && m_index < m_bar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_bar.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) return QString();
        if (t == QAccessible::Name) {
            QString name = m_bar->tabText(m_index);
            name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            return name;
        }
        if (t == QAccessible::Description) return m_bar->tabToolTip(m_index);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = m_index == m_bar->currentIndex();
        s.focused = s.selected && m_bar->hasFocus();
        s.disabled = !m_bar->isTabEnabled(m_index);
        s.invisible = !m_bar->isTabVisible(m_index);
        s.offscreen = !m_bar->rect().intersects(m_bar->tabRect(m_index));
        return s;
    }
    QRect rect() const override
    {
        if (!isValid()) return QRect();
        const QRect r = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }

private:
    QPointer<QTabBar> m_bar;
    int m_index;
};

// A tab bar whose tabs are TabOfBar, made once each and given back to Qt with the bar.
class TabBarOfTabs : public QAccessibleWidget {
public:
    explicit TabBarOfTabs(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarOfTabs() override
    {
        for (QAccessible::Id id : std::as_const(m_tabs)) QAccessible::deleteAccessibleInterface(id);
    }
    QTabBar* Bar() const { return static_cast<QTabBar*>(object()); }
    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= Bar()->count()) return nullptr;
        if (auto found = m_tabs.constFind(index); found != m_tabs.constEnd())
            return QAccessible::accessibleInterface(*found);
        auto* tab = new TabOfBar(Bar(), index);
        m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_tabs.constBegin(); it != m_tabs.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) return it.key();
        return -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        return Bar()->hasFocus() && Bar()->currentIndex() >= 0 ? child(Bar()->currentIndex()) : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> m_tabs;
};

QAccessibleInterface* OwnInterfaceFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("QTabBar")) return new TabBarOfTabs(static_cast<QTabBar*>(object));
    return NamedComboBoxFactory(className, object);
}

}  // namespace

void InstallAccessibleNames()
{
    static const bool installed = [] {
        QAccessible::installFactory(OwnInterfaceFactory);
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
