#include "common/StaticLink.h"

#include <QApplication>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "common/QtText.h"
#include "platform/Shell.h"

namespace {

// A reader meets the link as a link, named by its text, that it can open.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(CStaticLink* link) : QAccessibleWidget(link, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override
    {
        auto* link = static_cast<CStaticLink*>(widget());
        if (t == QAccessible::Name) return link->text();
        if (t == QAccessible::Value) return QString::fromStdString(link->Target().empty() ? ToBytes(link->text()) : link->Target());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.linked = true;
        st.traversed = static_cast<CStaticLink*>(widget())->Visited();
        return st;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} << QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction()) static_cast<CStaticLink*>(widget())->Open();
        else QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* LinkFactory(const QString& className, QObject* object)
{
    return className == QLatin1String("CStaticLink") && object && object->isWidgetType()
               ? new LinkAccessible(static_cast<CStaticLink*>(object))
               : nullptr;
}

}  // namespace

CStaticLink::CStaticLink(const QString& text, Shell& shell, QWidget* parent, std::string target)
    : QLabel(text, parent), m_shell(shell), m_target(std::move(target))
{
    static const bool installed = [] {
        QAccessible::installFactory(LinkFactory);
        return true;
    }();
    (void)installed;
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab like any link in a page, and opened with Enter or Space.
    setFocusPolicy(Qt::TabFocus);
    SetColour();
}

void CStaticLink::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CStaticLink::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void CStaticLink::SetColour()
{
    // The classic blue and purple on a light desktop; a dark one's own link colours, which
    // read on its background.
    const QPalette desktop = QApplication::palette(this);
    const bool dark = desktop.color(QPalette::Window).lightness() < 128;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, dark ? desktop.color(m_visited ? QPalette::LinkVisited : QPalette::Link)
                                                : m_visited ? QColor(128, 0, 128) : QColor(0, 0, 255));
    setPalette(palette);
}

void CStaticLink::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange) SetColour();
}

bool CStaticLink::Open()
{
    // The target first; then the link's own text, which becomes the target.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1) m_target = ToBytes(text());
        if (!m_target.empty() && m_shell.Open(m_target) == Shell::Ok) {
            m_visited = true;
            SetColour();
            update();
            return true;
        }
    }
    QApplication::beep();
    return false;
}

void CStaticLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Open();
}
