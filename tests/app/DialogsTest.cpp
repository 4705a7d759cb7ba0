#include <gtest/gtest.h>
#include <QComboBox>
#include <QAbstractItemView>
#include <QSlider>
#include <QAbstractButton>
#include "common/SortedListBox.h"
#include "options/CategoriesPage.h"
#include "common/PlainText.h"
#include <QScreen>
#include <QGuiApplication>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "app/LinkListCtrl.h"
#include "common/AboutDlg.h"
#include "common/StaticLink.h"
#include "app/TipDlg.h"
#include "sort/SortDlg.h"
#include "stats/StatisticsDlg.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/WindowHarness.h"

namespace {

void ClickHeading(CLinksDlg& dlg, int column)
{
    QHeaderView* header = dlg.List().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

std::vector<std::string> KeyRows(CSortDlg& sort)
{
    std::vector<std::string> rows;
    for (int i = 0; i < sort.KeyList()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = sort.KeyList()->topLevelItem(i);
        rows.push_back((item->text(0) + " " + item->text(1) + " " + item->text(2)).toStdString());
    }
    return rows;
}

void Command(CLinksDlg& dlg, int id)
{
    QApplication::setActiveWindow(&dlg);
    dlg.SystemCommand(id);
}

}  // namespace

TEST(Dialogs, SortingByHeadingsAndByTheSortDialog)
{
    WindowHarness h;
    h.WriteDataFile({"delta", "Alpha", "charlie", "bravo", "alpha"}, 2);  // categories Cat0, Cat1 alternate
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    h.ClickRow(3, Qt::ControlModifier);  // bravo, now shown in the form
    h.Type(dlg.TitleField(), "!");      // an edit pending for it

    ClickHeading(dlg, ColTitle);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"Alpha", "alpha", "bravo", "charlie", "delta"}));
    EXPECT_TRUE(dlg.List().horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(dlg.List().horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    // The selection and the retrieved row followed their records.
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{2, 4}));
    EXPECT_EQ(dlg.List().States().Retrieved(), 2);
    EXPECT_TRUE(dlg.Store().IsChanged());
    ClickHeading(dlg, ColTitle);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"delta", "charlie", "bravo", "Alpha", "alpha"}));
    EXPECT_EQ(dlg.List().horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // Within each category the titles stay in the order of the last sort.
    ClickHeading(dlg, ColCategory);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"delta", "charlie", "alpha", "bravo", "Alpha"}));
    // A save-on-leave after the sorts stores into the record that was shown.
    h.ClickRow(0);
    EXPECT_EQ(dlg.Store().At(3).Title(), "bravo!");

    // The dialog opens with the default keys after a column click; Cancel after moves
    // changes nothing, not even the keys of the next opening.
    DialogAnswer<CSortDlg> cancel([](CSortDlg& sort) {
        EXPECT_EQ(KeyRows(sort), (std::vector<std::string>{"1st Title Increasing", "2nd Category Increasing",
                                                           "3rd Description Increasing", "4th Added Increasing",
                                                           "5th Last Modified Increasing"}));
        EXPECT_FALSE(sort.MoveUpButton()->isEnabled());
        QTreeWidget* keys = sort.KeyList();
        EXPECT_GT(keys->columnWidth(1), keys->columnWidth(0));
        EXPECT_GT(keys->columnWidth(0) + keys->columnWidth(1) + keys->columnWidth(2), keys->viewport()->width() * 3 / 4);
        sort.KeyList()->setCurrentItem(sort.KeyList()->topLevelItem(3));
        sort.MoveUp();
        sort.Reverse();
        sort.reject();
    });
    Command(dlg, CLinksDlg::CmdSorting);
    EXPECT_TRUE(cancel.seen);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"delta", "charlie", "alpha", "bravo!", "Alpha"}));

    // "Added" moved to 1st and reversed: the newest first; the heading shows no order.
    DialogAnswer<CSortDlg> newest([](CSortDlg& sort) {
        EXPECT_EQ(KeyRows(sort)[0], "1st Title Increasing");
        sort.KeyList()->setCurrentItem(sort.KeyList()->topLevelItem(3));
        for (int i = 0; i < 3; ++i) QTest::mouseClick(sort.MoveUpButton(), Qt::LeftButton);
        QTest::mouseClick(sort.ReverseButton(), Qt::LeftButton);
        EXPECT_EQ(KeyRows(sort)[0], "1st Added Decreasing");
        EXPECT_EQ(KeyRows(sort)[1], "2nd Title Increasing");
        EXPECT_FALSE(sort.MoveUpButton()->isEnabled());
        sort.accept();
    });
    Command(dlg, CLinksDlg::CmdSorting);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"alpha", "bravo!", "charlie", "Alpha", "delta"}));
    EXPECT_FALSE(dlg.List().horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(dlg.Sorter().SortKeys().order[0], 3);
    EXPECT_FALSE(dlg.Sorter().SortKeys().increasing[0]);
    dlg.Store().SetChanged(false);
}

TEST(Dialogs, StatisticsCountAndSumTheSelectedRows)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b", "c", "d", "e"}, 2);
    CLinksDlg& dlg = h.Open();
    dlg.Store().Edit(0).SetCategory("cat0");  // not 'Cat0': counts under NO CATEGORY
    h.ClickRow(1);
    DialogAnswer<CStatisticsDlg> stats([](CStatisticsDlg& statistics) {
        QTreeWidget* list = statistics.CountList();
        std::vector<std::string> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back((list->topLevelItem(i)->text(0) + "=" + list->topLevelItem(i)->text(1)).toStdString());
        EXPECT_EQ(rows, (std::vector<std::string>{"TOTAL=5", "SELECTED=1", "NO CATEGORY=1", "Cat0=2", "Cat1=2"}));
        EXPECT_EQ(statistics.SumLabel()->text(), "");
        // The columns take the list's width in their proportions, 225 to 75.
        EXPECT_GT(list->columnWidth(0), 2 * list->columnWidth(1));
        EXPECT_GT(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width() * 3 / 4);
        for (int i : {2, 3, 4}) list->topLevelItem(i)->setSelected(true);
        statistics.ShowSum();
        EXPECT_EQ(statistics.SumLabel()->text(), "5 items");
        list->clearSelection();
        list->topLevelItem(1)->setSelected(true);
        QTest::keyClick(list, Qt::Key_Shift);
        QTest::qWait(80);
        EXPECT_EQ(statistics.SumLabel()->text(), "1 item");
        statistics.accept();
    });
    Command(dlg, CLinksDlg::CmdStatistics);
    EXPECT_TRUE(stats.seen);
}

TEST(Dialogs, ALongCategoryWidensNoWindowAndIsWholeInItsTooltip)
{
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    const std::string longName = "Bookmarks Toolbar|Reading " + std::string(400, 'x') + "|end";
    dlg.Store().InsertCategorySorted(longName);
    dlg.Store().Edit(0).SetCategory(longName);
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    EXPECT_TRUE(h.VisitOptionsPages([&](QDialog& sheet, QWidget&, const std::string& caption) {
        EXPECT_LE(sheet.sizeHint().width(), std::min(screen, 900)) << caption;
    }));
    DialogAnswer<CStatisticsDlg> stats([&](CStatisticsDlg& statistics) {
        QTreeWidget* list = statistics.CountList();
        const QList<QTreeWidgetItem*> found = list->findItems(QString::fromStdString(longName), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTreeWidgetItem* row = found.front();
        EXPECT_EQ(row->toolTip(0), PlainToolTip(QString::fromStdString(longName)));
        EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
        const int before = list->columnWidth(0);
        statistics.resize(statistics.width() + 200, statistics.height());
        QApplication::processEvents();
        EXPECT_EQ(list->columnWidth(0), before + 200);
        statistics.accept();
    });
    Command(dlg, CLinksDlg::CmdStatistics);
    EXPECT_TRUE(stats.seen);
    dlg.Store().SetChanged(false);
}

TEST(Dialogs, ACategoryAddedOrFoundIsScrolledIntoView)
{
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    for (int i = 0; i < 80; ++i) dlg.Store().InsertCategorySorted("Category " + std::to_string(100 + i));
    EXPECT_TRUE(h.VisitOptionsPages([&](QDialog&, QWidget& page, const std::string& caption) {
        if (caption != "Categories") return;
        auto& categories = static_cast<CCategoriesPage&>(page);
        CSortedListBox* list = categories.CategoryList();
        auto visible = [list](int row) {
            return row >= 0 && list->visualItemRect(list->item(row)).intersects(list->viewport()->rect());
        };
        list->scrollToTop();
        categories.NameField()->setText("Zebra");
        categories.Add();
        EXPECT_TRUE(visible(list->FindNoCase("Zebra")));
        list->scrollToTop();
        categories.NameField()->setText("zebra");  // already there: shown, and said so
        categories.Add();
        EXPECT_TRUE(visible(list->FindNoCase("Zebra")));
    }));
    dlg.Store().SetChanged(false);
}

TEST(Dialogs, EveryOptionsControlSaysWhatItDoesInItsTooltip)
{
    WindowHarness h;
    h.Open();
    EXPECT_TRUE(h.VisitOptionsPages([](QDialog&, QWidget& page, const std::string& tab) {
        for (QWidget* control : page.findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                               qobject_cast<QComboBox*>(control) || qobject_cast<QSlider*>(control) ||
                               qobject_cast<QAbstractItemView*>(control);
            if (!input || !control->isVisibleTo(&page) || qobject_cast<QComboBox*>(control->parentWidget())) continue;
            if (qobject_cast<QAbstractItemView*>(control->parentWidget())) continue;  // a view's own parts
            EXPECT_FALSE(control->toolTip().isEmpty()) << tab << ": " << control->metaObject()->className() << " \""
                                                       << control->accessibleName().toStdString() << "\"";
        }
    }));
}

TEST(Dialogs, TipOfTheDayStepsWrapsAndKeepsTheCheckBoxOnlyOnClose)
{
    WindowHarness h;
    std::ofstream(h.paths.ProgramFolder() + "/NVLTips.txt") << "#First tip.#Second tip.#Third\ntip.#";
    h.settings.WriteInt("Misc", "Day Tip Index", 2);
    CLinksDlg& dlg = h.Open();
    DialogAnswer<CTipDlg> third([](CTipDlg& tip) {
        EXPECT_EQ(tip.TipField()->toPlainText(), "Third\ntip.");
        QTest::keyClicks(tip.TipField(), "typed");
        EXPECT_EQ(tip.TipField()->toPlainText(), "Third\ntip.");  // read, not edited
        EXPECT_EQ(tip.CountLabel()->text(), "Tip 3 of 3");
        EXPECT_FALSE(tip.NextButton()->isEnabled());
        QTest::mouseClick(tip.FirstButton(), Qt::LeftButton);
        EXPECT_EQ(tip.CountLabel()->text(), "Tip 1 of 3");
        EXPECT_FALSE(tip.PreviousButton()->isEnabled());
        QTest::mouseClick(tip.NextButton(), Qt::LeftButton);
        QTest::mouseClick(tip.NextButton(), Qt::LeftButton);
        tip.ShowBox()->setChecked(false);
        QTest::keyClick(&tip, Qt::Key_Escape);
    });
    Command(dlg, CLinksDlg::CmdTip);
    EXPECT_TRUE(third.seen);
    EXPECT_EQ(h.settings.ReadInt("Misc", "Day Tip Index", -1), 3);
    EXPECT_EQ(h.settings.ReadInt("Misc", "Show Day Tip", -1), 0);  // as it was: Escape keeps it

    DialogAnswer<CTipDlg> wrapped([](CTipDlg& tip) {
        EXPECT_EQ(tip.CountLabel()->text(), "Tip 1 of 3");
        EXPECT_FALSE(tip.ShowBox()->isChecked());
        tip.ShowBox()->setChecked(true);
        QTest::keyClick(&tip, Qt::Key_Return);  // Close is the default button
    });
    Command(dlg, CLinksDlg::CmdTip);
    EXPECT_EQ(h.settings.ReadInt("Misc", "Show Day Tip", -1), 1);
    EXPECT_EQ(h.settings.ReadInt("Misc", "Day Tip Index", -1), 1);

    // A missing file says so; the index still moves on.
    std::filesystem::remove(h.paths.ProgramFolder() + "/NVLTips.txt");
    h.prompter.Clear();
    Command(dlg, CLinksDlg::CmdTip);
    EXPECT_EQ(h.prompter.Texts().size(), 1u);
    EXPECT_EQ(h.settings.ReadInt("Misc", "Day Tip Index", -1), 2);
}

TEST(Dialogs, TheAboutBoxCopiesTheAddressAndOpensItsLink)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    DialogAnswer<CAboutDlg> about([&h](CAboutDlg& box) {
        EXPECT_EQ(box.windowTitle(), "About Norvelle");
        EXPECT_EQ(box.VersionLabel()->text(), "Norvelle Version 2.0");
        QTest::mouseClick(box.CopyButton(), Qt::LeftButton);
        EXPECT_EQ(h.clipboard.text, box.AddressField()->text().toStdString());
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"This e-mail address has been copied to the clipboard."});
        CStaticLink* link = box.WebLink();
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        h.shell.answer = Shell::Other;
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_FALSE(link->Visited());
        h.shell.answer = Shell::Ok;
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_TRUE(link->Visited());
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(128, 0, 128));
        EXPECT_EQ(h.shell.Opened().back(), link->text().toStdString());
        box.accept();
    });
    Command(dlg, CLinksDlg::CmdAbout);
    EXPECT_TRUE(about.seen);
}

TEST(Dialogs, NoTipOfTheDayComesBetweenADamagedFilesMessageAndTheSavingPage)
{
    WindowHarness h;
    std::ofstream(h.paths.ProgramFolder() + "/NVLTips.txt") << "#First tip.#";
    h.settings.WriteInt("Misc", "Show Day Tip", 1);
    h.WriteDataFile({"one", "two"});
    std::string bytes;
    {
        std::ifstream in(h.DataPath(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(h.DataPath(), std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 3);
    DialogAnswer<CTipDlg> tip([](CTipDlg& dialog) { dialog.reject(); });
    h.Open();
    QTest::qWait(50);
    EXPECT_FALSE(tip.seen);
    EXPECT_EQ(h.optionsOpened, 1);
}
