#include <gtest/gtest.h>
#include "app/HelpWindow.h"
#include <QComboBox>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTabBar>
#include <algorithm>
#include <map>
#include <set>

#include "app/CommandMenu.h"
#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "common/AboutDlg.h"
#include "common/Translations.h"
#include "common/StaticLink.h"
#include "app/TipDlg.h"
#include "health/CheckLinksDlg.h"
#include "health/DuplicateFinder.h"
#include "health/DuplicatesDlg.h"
#include "health/GetTitleDlg.h"
#include "import/ImportDlg.h"
#include "sort/SortDlg.h"
#include "stats/StatisticsDlg.h"
#include "tests/support/WindowHarness.h"
#include "undo/UndoPreviewDlg.h"

namespace {

bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Button:
    case QAccessible::Slider:
    case QAccessible::Link:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

bool IsList(QAccessible::Role role) { return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree; }

// The rows a view shows as selected.
int RowsShownSelected(QAbstractItemView* view)
{
    if (auto* list = qobject_cast<CLinkListCtrl*>(view)) return list->States().SelectedCount();
    return view->selectionModel() ? int(view->selectionModel()->selectedRows().size()) : 0;
}

// What a screen reader finds wrong in a window: a control without a name, one named by
// its own contents, a list whose selection it cannot read.
void Walk(QAccessibleInterface* iface, const std::string& where, std::vector<std::string>& problems)
{
    if (!iface || iface->state().invisible) return;
    const QAccessible::Role role = iface->role();
    const QString name = iface->text(QAccessible::Name).trimmed();
    const QString value = iface->text(QAccessible::Value).trimmed();
    QObject* object = iface->object();
    const std::string what = where + " > " + (object ? object->metaObject()->className() : "?") + " \"" +
                             name.toStdString() + "\"";
    if (IsControl(role)) {
        if (name.isEmpty()) problems.push_back(what + ": no name");
        else if (name != iface->text(QAccessible::Name)) problems.push_back(what + ": blanks around its name");
        if ((role == QAccessible::EditableText || role == QAccessible::ComboBox || role == QAccessible::SpinBox) &&
            !value.isEmpty() && name == value)
            problems.push_back(what + ": named by its contents");
        // A field is named by its caption without the colon, as the Search box is.
        if (name.endsWith(':') && role != QAccessible::CheckBox && role != QAccessible::RadioButton)
            problems.push_back(what + ": a colon in its name");
        // A box that cannot be typed into says its value through its text, as a field does.
        if (role == QAccessible::ComboBox && !static_cast<QComboBox*>(object)->isEditable() &&
            (!iface->textInterface() || iface->textInterface()->text(0, -1) != static_cast<QComboBox*>(object)->currentText()))
            problems.push_back(what + ": its value is not exposed");
    }
    // A tab says it has the focus only while its tab bar has it, not beside the control that does.
    if (role == QAccessible::PageTab && iface->state().focused && iface->parent() &&
        !static_cast<QWidget*>(iface->parent()->object())->hasFocus())
        problems.push_back(what + ": says it has the focus that another control has");
    if (IsList(role)) {
        QAccessibleTableInterface* table = iface->tableInterface();
        auto* view = qobject_cast<QAbstractItemView*>(object);
        if (!table) problems.push_back(what + ": selection not exposed");
        else if (view && table->selectedRowCount() != RowsShownSelected(view))
            problems.push_back(what + ": " + std::to_string(table->selectedRowCount()) + " rows selected for a reader, " +
                               std::to_string(RowsShownSelected(view)) + " shown");
        return;  // its cells are items, not controls
    }
    for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), where, problems);
}

// The letters after '&' of the controls a person sees together.
void CollectMnemonics(QWidget* root, std::map<QChar, std::vector<std::string>>& letters)
{
    auto add = [&](const QString& text) {
        for (int i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            letters[text[i + 1].toLower()].push_back(text.toStdString());
            break;
        }
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->window() != root->window()) continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text());
        else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) add(label->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w)) add(group->title());
    }
}

void ExpectUniqueMnemonics(const std::map<QChar, std::vector<std::string>>& letters, const std::string& where)
{
    for (const auto& [letter, owners] : letters)
        if (owners.size() > 1) {
            std::string list;
            for (const std::string& owner : owners) list += " \"" + owner + "\"";
            ADD_FAILURE() << where << ": '" << QString(letter).toStdString() << "' belongs to" << list;
        }
}

// The texts of every window walked, in the order walked, when a test collects them.
std::vector<std::string>* g_shownTexts = nullptr;

// Every text a person reads in the window: captions, titles, tooltips, headings, tabs.
void CollectTexts(QWidget& window)
{
    auto add = [](const QString& text) {
        if (!text.isEmpty()) g_shownTexts->push_back(text.toStdString());
    };
    add(window.windowTitle());
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != window.window()) continue;
        add(w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w)) add(label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w)) add(group->title());
        else if (auto* edit = qobject_cast<QLineEdit*>(w)) add(edit->placeholderText());
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i));
        else if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i) add(header->model()->headerData(i, header->orientation()).toString());
    }
}

// Checks one window or dialog both ways.
void ExpectReadable(QWidget& window, const std::string& where)
{
    if (g_shownTexts) CollectTexts(window);
    std::vector<std::string> problems;
    Walk(QAccessible::queryAccessibleInterface(&window), where, problems);
    for (const std::string& problem : problems) ADD_FAILURE() << problem;
    std::map<QChar, std::vector<std::string>> letters;
    CollectMnemonics(&window, letters);
    ExpectUniqueMnemonics(letters, where);
}

// A fetcher that never answers: the Get Title window stays as it opens.
class SilentFetcher : public HttpFetcher {
public:
    void Fetch(int, const FetchRequest&) override {}
    void Cancel(int) override {}
};

CAnnotatedLink Link(const std::string& title, const std::string& link)
{
    return CAnnotatedLink{title, link, "Note", "Cat", {CLinkDate::Valid, 40000}, {CLinkDate::Valid, 40000}};
}

// Opens every window and dialog and checks each for a screen reader and for its letters.
void WalkEveryWindow()
{
    WindowHarness h;
    h.WriteRecords({Link("One", "mailto:a@b.c"), Link("Two", "https://two.example/"), Link("Copy", "http://two.example"),
                    Link("Four", "mailto:d@e.f")});
    CLinksDlg& dlg = h.Open();
    h.ClickRow(1);
    h.ClickRow(3, Qt::ControlModifier);
    ExpectReadable(dlg, "main window");

    // The command menu: every entry its own letter.
    std::map<QChar, std::vector<std::string>> menuLetters;
    for (QAction* action : dlg.CommandMenu().actions()) {
        const QString text = action->text();
        const int amp = text.indexOf('&');
        if (amp >= 0 && amp + 1 < text.size()) menuLetters[text[amp + 1].toLower()].push_back(text.toStdString());
        if (g_shownTexts && !text.isEmpty()) g_shownTexts->push_back(text.toStdString());
    }
    ExpectUniqueMnemonics(menuLetters, "command menu");

    const CCountFormatter counts(dlg.Settings());
    CTipDlg tip({"A tip."}, 0, true, &dlg);
    CAboutDlg about(h.shell, h.clipboard, h.prompter, &dlg);
    CSortDlg sort(const_cast<SortKeyTable&>(dlg.Sorter().SortKeys()), {"Title", "Category", "Description", "Added", "Last Modified"}, &dlg);
    CStatisticsDlg statistics({{"TOTAL", 4}, {"Cat", 4}}, counts, &dlg);
    CUndoPreviewDlg preview(false, "Delete", StepEffect::Deletes, {&dlg.Store().At(0)}, counts, &dlg);
    IntakeOptions options;
    CImportDlg import(BookmarkTarget{}, h.prompter, counts, options, {}, &dlg);
    import.SetProfiles({});
    CDuplicatesDlg duplicates(FindDuplicates(dlg.Store()), dlg.Store(), counts, &dlg);
    CGetTitleDlg title({"https://two.example/"}, std::make_unique<SilentFetcher>(), counts, &dlg);
    auto* help = new CHelpWindow(&dlg);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&tip, &about, &sort, &statistics, &preview, &import, &duplicates,
                                                           &title, help}) {
        dialog->show();
        QApplication::processEvents();
        ExpectReadable(*dialog, dialog->windowTitle().toStdString());
        dialog->hide();
    }
    // The preview's Action and Effect are heard with their captions.
    EXPECT_EQ(preview.findChildren<QLabel*>().size() > 0, true);
    bool captioned = false;
    for (QLabel* label : preview.findChildren<QLabel*>())
        captioned |= label->accessibleName() == QCoreApplication::translate("Undo", "Action: ") + label->text();
    EXPECT_TRUE(captioned);
    // The About box's web address is a link: a reader says so, Tab reaches it, Enter opens it.
    about.show();
    auto* link = about.findChild<CStaticLink*>();
    ASSERT_NE(link, nullptr);
    QAccessibleInterface* linkIface = QAccessible::queryAccessibleInterface(link);
    EXPECT_EQ(linkIface->role(), QAccessible::Link);
    EXPECT_EQ(linkIface->text(QAccessible::Name), link->text());
    EXPECT_TRUE(link->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(h.shell.Opened(), std::vector<std::string>{link->text().toStdString()});
    about.hide();

    dlg.Health().CheckLinksCommand();
    ASSERT_NE(dlg.Health().CheckLinksWindow(), nullptr);
    ExpectReadable(*dlg.Health().CheckLinksWindow(), "Check Links");
    dlg.Health().CheckLinksWindow()->close();

    EXPECT_TRUE(h.VisitOptionsPages([](QDialog& sheet, QWidget& page, const std::string& tab) {
        // With the focus in the page, as when the person works there, and not on the tabs.
        if (QWidget* first = page.nextInFocusChain(); first && page.isAncestorOf(first)) {
            first->setFocus();
            QApplication::processEvents();
        }
        ExpectReadable(sheet, "Options > " + tab);
    }));
}

}  // namespace

TEST(Accessibility, EveryWindowNamesItsControlsExposesItsSelectionsAndGivesEachLetterOnce) { WalkEveryWindow(); }

// In German every window gives each letter once too, and shows no English text: a text
// that reads the same in both languages is one of the few that German keeps as it is.
TEST(Translation, GermanWindowsShowNoEnglishAndGiveEachLetterOnce)
{
    std::vector<std::string> english, german;
    g_shownTexts = &english;
    WalkEveryWindow();
    ASSERT_TRUE(UseLanguage(QLocale(QLocale::German, QLocale::Germany)));
    g_shownTexts = &german;
    WalkEveryWindow();
    EXPECT_EQ(QCoreApplication::translate("Main", "&Add"), QString::fromUtf8("&Hinzufügen"));
    UseLanguage(QLocale(QLocale::English));
    g_shownTexts = nullptr;
    ASSERT_EQ(english.size(), german.size());
    // The test's own links and the words that German shares with English.
    static const std::set<std::string> kSame = {"Link", "Lin&k:", "OK", "Import",
                                                "One", "Two", "Copy", "Four", "Cat", "A tip."};
    for (size_t i = 0; i < english.size(); ++i) {
        const std::string& text = english[i];
        const bool words = std::count_if(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }) >= 3;
        // Names, versions and paths are the same in every language.
        const bool name = text.find("Norvelle") != std::string::npos || text.find("Quenby") != std::string::npos ||
                          text.find('/') != std::string::npos || text.find('@') != std::string::npos;
        if (words && text == german[i] && !kSame.count(text) && !name)
            ADD_FAILURE() << "not translated: \"" << text << "\"";
    }
}

TEST(Accessibility, TheListIsReadAsATableWithItsSelectionCurrentRowAndSearchResult)
{
    WindowHarness h;
    std::vector<std::string> titles;
    for (int i = 0; i < 30; ++i) titles.push_back(i % 2 == 0 && i < 24 ? "apple " + std::to_string(i) : "pear " + std::to_string(i));
    h.WriteDataFile(titles);
    CLinksDlg& dlg = h.Open();
    // (Events reach a reader only through the desktop's accessibility bus, which the
    // offscreen platform lacks; what a reader asks of each object is tested here.)
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&dlg.List());
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface* table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(list->role(), QAccessible::Table);
    EXPECT_EQ(list->text(QAccessible::Name), "Annotated links");
    EXPECT_TRUE(list->state().multiSelectable);
    EXPECT_EQ(table->rowCount(), 30);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(list->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(list->child(4)->text(QAccessible::Name), "Last Modified");
    EXPECT_EQ(table->cellAt(3, 0)->text(QAccessible::Name), "pear 3");
    EXPECT_EQ(table->cellAt(3, 0)->tableCellInterface()->columnHeaderCells().value(0), list->child(0));
    EXPECT_EQ(list->indexOfChild(table->cellAt(3, 1)), 21);

    // A search that selects 12 rows: the rows read as selected, and the Search box's
    // description, which a reader speaks when it changes, is the count.
    h.Type(dlg.SearchBox()->lineEdit(), "apple");
    EXPECT_EQ(table->selectedRowCount(), 12);
    EXPECT_EQ(table->selectedRows(), (QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}));
    EXPECT_TRUE(table->isRowSelected(22));
    EXPECT_TRUE(table->cellAt(22, 2)->state().selected);
    EXPECT_FALSE(table->cellAt(23, 0)->state().selected);
    EXPECT_EQ(table->selectedCells().size(), 60);
    EXPECT_EQ(dlg.SearchBox()->lineEdit()->accessibleDescription(), "12 Selected Links");
    EXPECT_EQ(dlg.SearchBox()->accessibleDescription(), "12 Selected Links");

    // The current row is the focused one; Ctrl+Down moves it without touching the
    // selection, and the reader is told which cell has the focus.
    h.ClickRow(2);
    EXPECT_EQ(table->selectedRowCount(), 1);
    h.KeyInList(Qt::Key_Down, Qt::ControlModifier);
    h.KeyInList(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(dlg.List().States().Focus(), 4);
    EXPECT_EQ(table->selectedRows(), QList<int>{2});
    EXPECT_TRUE(table->cellAt(4, 0)->state().focused);
    EXPECT_FALSE(table->cellAt(2, 0)->state().focused);
    EXPECT_EQ(list->focusChild(), table->cellAt(4, 0));
    // Qt's view tells a reader of the focus through its current index, which follows.
    EXPECT_EQ(dlg.List().currentIndex(), dlg.List().Model().index(4, 0));
    // Ctrl+Space picks the current row too.
    h.KeyInList(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(table->selectedRows(), (QList<int>{2, 4}));

    // Scrolled sideways, a heading out of sight says so instead of giving a place off the list.
    for (int column = 0; column < 5; ++column) dlg.List().setColumnWidth(column, 400);
    QApplication::processEvents();
    dlg.List().horizontalScrollBar()->setValue(dlg.List().horizontalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_TRUE(list->child(0)->state().offscreen);
    const QRect headerRect(dlg.List().horizontalHeader()->mapToGlobal(QPoint(0, 0)), dlg.List().horizontalHeader()->size());
    EXPECT_TRUE(headerRect.contains(list->child(4)->rect())) << "heading outside its header";

    // Rows that go make the cells handed out before name the rows that remain.
    h.ClickRow(0);
    h.KeyInList(Qt::Key_Delete);
    EXPECT_EQ(table->rowCount(), 29);
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), "pear 1");
}
