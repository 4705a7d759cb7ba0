#include "app/MainControls.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcutEvent>
#include <QToolButton>
#include <algorithm>
#include <limits>

#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "common/AccessibleName.h"
#include "common/ColumnScaler.h"
#include "common/DialogUnits.h"
#include "common/SortedComboBox.h"
#include "common/StatusNote.h"
#include "options/CountFormatter.h"
#include "store/NaturalCompare.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {

// Fields hold texts of any length (a line edit cuts at 32,767 characters unless told).
constexpr int kAnyLength = std::numeric_limits<int>::max();

// The main window's design widths of the list columns, for a list 455 units wide.
const int kDesignWidths[ColCount] = {150, 100, 600, 160, 160};

// Alt and a button's letter clicks it at once and leaves the focus where it was: Qt's
// animated click would act a tenth of a second later, and Clear would then wipe the
// first letters the person had typed on into the Title field.
class ImmediateMnemonic : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent*>(event)->isAmbiguous())
            return QObject::eventFilter(watched, event);
        auto* button = static_cast<QPushButton*>(watched);
        if (button->isEnabled()) button->click();
        return true;
    }
};

}  // namespace

MainControls BuildMainControls(QDialog& window, LinkStore& store, const CSettings& settings, Prompter& prompter)
{
    MainControls c;
    const DialogUnits du(window.font());
    c.designSize = QSize(du.X(320), du.Y(270));
    window.setMinimumSize(c.designSize);
    window.resize(c.designSize);

    // Captions keep their place; a font wider than the design's must not clip them.
    auto label = [&window](const QString& text, QRect r, Qt::Alignment align = Qt::AlignLeft) {
        return PlaceLabel(&window, text, r, align);
    };
    auto button = [&window](const QString& text, QRect r) { return PlaceButton(&window, text, r); };
    // The Search and Category boxes keep their lists in natural order. A combo box's
    // rectangle gives its drop-down height; the box itself is one line.
    auto sortedCombo = [&](QRect r) {
        auto* combo = new CSortedComboBox(&window);
        combo->setEditable(true);
        // What the user types is what is searched for or stored: no completion.
        combo->setCompleter(nullptr);
        combo->SetCompare(NaturalCompare);
        combo->setGeometry(r.x(), r.y(), r.width(), du.Y(12));
        combo->lineEdit()->setMaxLength(kAnyLength);
        return combo;
    };

    auto* groupBox = new QGroupBox(QTr("Main", "Annotated Link"), &window);
    groupBox->setGeometry(du.Rect(7, 125, 246, 137));

    QLabel* listLabel = label(QTr("Main", "List o&f Links:"), du.Rect(7, 7, 40, 8));
    // The count labels keep their centre and right edge but have room for seven digits.
    auto countLabel = [&](const std::string& one, const std::string& many, QRect r, Qt::Alignment align) {
        const QString widest = QString::fromStdString(CCountFormatter(settings).Plural(1234567, one, many));
        const int extra = window.fontMetrics().horizontalAdvance(widest) + 2 - r.width();
        if (extra > 0) r.adjust(align == Qt::AlignRight ? -extra : -extra / 2 - 1, 0, align == Qt::AlignRight ? 0 : extra / 2 + 1, 0);
        QLabel* l = label("", r, align);
        l->setText(QString::fromStdString(CCountFormatter(settings).Plural(0, one, many)));
        return l;
    };
    c.totalLabel = countLabel(Tr("Main", "%1 Total Link"), Tr("Main", "%1 Total Links"), du.Rect(126, 7, 68, 8), Qt::AlignHCenter);
    c.selectedLabel = countLabel(Tr("Main", "%1 Selected Link"), Tr("Main", "%1 Selected Links"), du.Rect(232, 7, 68, 8), Qt::AlignRight);

    // The command menu, where the window system's menu would be: this button, Alt+Space,
    // or a right-click on the window's free area.
    c.menu = new CCommandMenu(&window);
    c.menuButton = new QToolButton(&window);
    c.menuButton->setGeometry(du.Rect(302, 5, 11, 11));
    c.menuButton->setArrowType(Qt::DownArrow);
    c.menuButton->setToolTip(QTr("Main", "Commands (Alt+Space or F10)"));
    c.menuButton->setAccessibleName(QTr("Main", "Commands"));
    c.menuButton->setFocusPolicy(Qt::NoFocus);
    c.menuButton->setAutoRaise(true);
    c.list = new CLinkListCtrl(store, &window);
    c.list->setGeometry(du.Rect(7, 17, 306, 85));
    listLabel->setBuddy(c.list);
    c.list->setAccessibleName(QTr("Main", "Annotated links"));

    QLabel* searchLabel = label(QTr("Main", "&Search:"), du.Rect(7, 111, 26, 8));
    c.search = sortedCombo(du.Rect(38, 108, 155, 64));
    searchLabel->setBuddy(c.search);
    NameLike(c.search, searchLabel->text());
    c.previous = button(QTr("Main", "&Previous"), du.Rect(203, 108, 50, 14));
    c.next = button(QTr("Main", "&Next"), du.Rect(263, 108, 50, 14));
    c.previous->setEnabled(false);
    c.next->setEnabled(false);

    QLabel* titleLabel = label(QTr("Main", "&Title:"), du.Rect(13, 140, 16, 8));
    c.title = new QLineEdit(&window);
    c.title->setMaxLength(kAnyLength);
    c.title->setGeometry(du.Rect(34, 137, 214, 14));
    titleLabel->setBuddy(c.title);
    NameLike(c.title, titleLabel->text());
    QLabel* linkLabel = label(QTr("Main", "Lin&k:"), du.Rect(13, 160, 16, 8));
    c.link = new QLineEdit(&window);
    c.link->setMaxLength(kAnyLength);
    c.link->setGeometry(du.Rect(34, 157, 214, 14));
    linkLabel->setBuddy(c.link);
    NameLike(c.link, linkLabel->text());
    QLabel* descriptionLabel = label(QTr("Main", "Descr&iption:"), du.Rect(13, 174, 38, 8));
    c.dateLabel = label("", du.Rect(144, 174, 103, 8), Qt::AlignRight);
    c.description = new QPlainTextEdit(&window);
    c.description->setGeometry(du.Rect(13, 184, 235, 56));
    c.description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.description->setTabChangesFocus(true);
    descriptionLabel->setBuddy(c.description);
    NameLike(c.description, descriptionLabel->text());
    QLabel* categoryLabel = label(QTr("Main", "Categor&y:"), du.Rect(13, 246, 31, 8));
    c.category = sortedCombo(du.Rect(48, 244, 200, 72));
    categoryLabel->setBuddy(c.category);
    NameLike(c.category, categoryLabel->text());
    // A caption widened for a large font pushes its field to the right, keeping the
    // field's right edge, so that the two never overlap.
    for (auto [caption, field] : {std::pair<QLabel*, QWidget*>{searchLabel, c.search}, {titleLabel, c.title},
                                  {linkLabel, c.link}, {categoryLabel, c.category}}) {
        const int left = caption->geometry().right() + du.X(2);
        if (left > field->x()) field->setGeometry(left, field->y(), field->geometry().right() - left + 1, field->height());
    }

    c.launch = button(QTr("Main", "&Launch"), du.Rect(263, 129, 50, 14));
    c.launch->setDefault(true);
    c.add = button(QTr("Main", "&Add"), du.Rect(263, 149, 50, 14));
    c.modify = button(QTr("Main", "&Modify"), du.Rect(263, 169, 50, 14));
    c.clear = button(QTr("Main", "&Clear"), du.Rect(263, 189, 50, 14));
    c.remove = button(QTr("Main", "&Delete"), du.Rect(263, 209, 50, 14));
    c.options = button(QTr("Main", "&Options..."), du.Rect(263, 229, 50, 14));
    c.close = button(QTr("Main", "Clos&e"), du.Rect(263, 249, 50, 14));

    c.statusText = new CStatusNote(&window);

    using M = MainControls;
    const std::pair<QWidget*, int> follows[] = {
        {c.selectedLabel, M::Right}, {c.totalLabel, M::HalfRight}, {c.menuButton, M::Right},
        {c.list, M::Wider | M::Taller}, {searchLabel, M::Down}, {c.search, M::Down | M::Wider},
        {c.previous, M::Down | M::Right}, {c.next, M::Down | M::Right}, {groupBox, M::Down | M::Wider},
        {titleLabel, M::Down}, {c.title, M::Down | M::Wider}, {linkLabel, M::Down}, {c.link, M::Down | M::Wider},
        {descriptionLabel, M::Down}, {c.dateLabel, M::Down | M::Right}, {c.description, M::Down | M::Wider},
        {categoryLabel, M::Down}, {c.category, M::Down | M::Wider}};
    for (auto [widget, follow] : follows) c.placed.push_back({widget, widget->geometry(), follow});
    for (QPushButton* b : {c.launch, c.add, c.modify, c.clear, c.remove, c.options, c.close})
        c.placed.push_back({b, b->geometry(), M::Down | M::Right});
    auto* mnemonics = new ImmediateMnemonic(&window);
    for (QPushButton* b : {c.previous, c.next, c.launch, c.add, c.modify, c.clear, c.remove, c.options, c.close})
        b->installEventFilter(mnemonics);

    const int client = c.list->width() - 2 * c.list->frameWidth();
    CColumnScaler scaler(client, 455, 5, false, 0, &prompter);
    for (int col = 0; col < ColCount; ++col) c.list->setColumnWidth(col, scaler.ScaleWidth(kDesignWidths[col]));
    return c;
}

void PlaceForSize(const MainControls& c, QSize size)
{
    const int dw = std::max(0, size.width() - c.designSize.width());
    const int dh = std::max(0, size.height() - c.designSize.height());
    for (const MainControls::Placed& p : c.placed) {
        QRect r = p.design;
        if (p.follow & MainControls::Right) r.translate(dw, 0);
        if (p.follow & MainControls::HalfRight) r.translate(dw / 2, 0);
        if (p.follow & MainControls::Down) r.translate(0, dh);
        if (p.follow & MainControls::Wider) r.setWidth(r.width() + dw);
        if (p.follow & MainControls::Taller) r.setHeight(r.height() + dh);
        p.widget->setGeometry(r);
    }
}
