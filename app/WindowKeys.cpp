#include "app/WindowKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "common/StatusNote.h"
#include "common/QtText.h"

CWindowKeys::CWindowKeys(QWidget& window, const MainControls& controls, Actions actions)
    : m_window(window), m_ui(controls), m_actions(std::move(actions))
{
    qApp->installEventFilter(this);
}

CWindowKeys::~CWindowKeys() { qApp->removeEventFilter(this); }

bool CWindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (m_moving) return MoveKey(key->key(), mods);
#if !defined(Q_OS_MACOS)
    // In every window of the program, an Alt key that no enabled control took types nothing,
    // as in any dialog: with Next grayed, Alt+N would type "n" into the Search box. Not in
    // a menu or a drop-down list, where letters choose, nor on a Mac, where Option keys type
    // letters; Alt+Space is the command menu's.
    if ((mods & ~Qt::ShiftModifier) == Qt::AltModifier && key->key() != Qt::Key_Space && !key->text().isEmpty() &&
        key->text().at(0).isPrint() && widget->window()->windowType() != Qt::Popup) {
        QApplication::beep();
        return true;
    }
#endif
    if (key->key() == Qt::Key_F1 && mods == Qt::NoModifier && widget->window()->windowType() != Qt::Popup) {
        m_actions.help();
        return true;
    }
    if (widget->window() != &m_window || !m_window.isActiveWindow()) return false;
    // An editable box has the focus itself and hands the keys to its field.
    if (widget == m_ui.search) widget = m_ui.search->lineEdit();
    else if (widget == m_ui.category) widget = m_ui.category->lineEdit();
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        // A search in the box is taken back first, as typing it away would; then Esc leaves.
        if (widget == m_ui.search->lineEdit() && m_actions.takeBackSearch()) return true;
        m_actions.exit();
        return true;
    }
    // Alt+Space, the key of the window system's menu, and F10 where a window manager
    // keeps Alt+Space for its own menu.
    if ((key->key() == Qt::Key_Space && mods == Qt::AltModifier) || (key->key() == Qt::Key_F10 && mods == Qt::NoModifier)) {
        m_actions.showMenu();
        return true;
    }
    if (mods != Qt::ControlModifier) return false;
    if (FieldKey(widget, key->key())) return true;
    if (const int command = m_ui.menu->CommandOfKey(key->key())) {
        // A grayed entry's key is consumed and does nothing.
        if (m_ui.menu->IsEnabled(command)) m_actions.command(command);
        return true;
    }
    return false;
}

void CWindowKeys::StartKeyboardMove()
{
    m_moveFrom = m_window.pos();
    m_moving = true;
    // Every key comes here until the move ends, wherever the focus is.
    m_window.grabKeyboard();
    m_ui.statusText->ShowOver(QTr("Main", "Move the window with the arrow keys.  Enter ends the move; Esc puts the window back."),
                              m_ui.list->geometry());
}

bool CWindowKeys::MoveKey(int key, Qt::KeyboardModifiers mods)
{
    const int step = mods & Qt::ControlModifier ? 1 : 10;
    switch (key) {
    case Qt::Key_Left: m_window.move(m_window.pos() + QPoint(-step, 0)); return true;
    case Qt::Key_Right: m_window.move(m_window.pos() + QPoint(step, 0)); return true;
    case Qt::Key_Up: m_window.move(m_window.pos() + QPoint(0, -step)); return true;
    case Qt::Key_Down: m_window.move(m_window.pos() + QPoint(0, step)); return true;
    case Qt::Key_Escape: m_window.move(m_moveFrom); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: return true;  // other keys do nothing while the window moves
    }
    m_moving = false;
    m_window.releaseKeyboard();
    m_ui.statusText->hide();
    return true;
}

bool CWindowKeys::FieldKey(QWidget* widget, int key)
{
    // The form's fields and the boxes' fields keep their own editing keys: their typing
    // is undone and redone first, then the window's changes; Ctrl+A selects the text.
    auto* line = qobject_cast<QLineEdit*>(widget);
    auto* text = qobject_cast<QPlainTextEdit*>(widget);
    if (widget == m_ui.description->viewport()) text = m_ui.description;
    const bool ours = widget == m_ui.title || widget == m_ui.link || text == m_ui.description ||
                      widget == m_ui.search->lineEdit() || widget == m_ui.category->lineEdit();
    if (!ours || (!line && !text)) return false;
    switch (key) {
    case Qt::Key_A:
        if (line) line->selectAll();
        else text->selectAll();
        return true;
    case Qt::Key_Z:
        if (line && line->isUndoAvailable()) line->undo();
        else if (text && text->document()->isUndoAvailable()) text->undo();
        else return false;
        return true;
    case Qt::Key_Y:
        if (line && line->isRedoAvailable()) line->redo();
        else if (text && text->document()->isRedoAvailable()) text->redo();
        else return false;
        return true;
    default:
        return false;
    }
}
