#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtPrompter.h"
#include "sort/SortDlg.h"
#include "store/FileIO.h"
#include "health/CheckLinksDlg.h"
#include "import/ImportDlg.h"
#include "undo/UndoPreviewDlg.h"
#include "options/CountFormatter.h"
#include "tests/support/SpinUntil.h"
#include <QAbstractItemView>
#include "tests/support/DialogAnswer.h"
#include "tests/support/FileFaults.h"
#include "tests/support/Watchdog.h"
#include "tests/support/WindowHarness.h"

namespace fs = std::filesystem;

namespace {
std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Fails every write: a medium that refuses the new contents.
struct RefusingDisk : FileFaults {
    RefusingDisk() { failWritesBeyond = 0; }
};
}  // namespace

TEST(MainWindow, FirstRunIsSilentAndEmpty)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(dlg.windowTitle(), "Norvelle Desk");
    EXPECT_TRUE(h.prompter.Messages().empty());
    EXPECT_EQ(dlg.Store().Count(), 0);
    EXPECT_EQ(h.Label(1096), "0 Total Links");
    EXPECT_EQ(h.Label(1083), "0 Selected Links");
    EXPECT_FALSE(dlg.Button(1010)->isEnabled());
    EXPECT_FALSE(dlg.Button(1011)->isEnabled());
    EXPECT_EQ(dlg.Button(1014)->text(), "&Delete...");
    EXPECT_TRUE(dlg.Button(1005)->isDefault());
    EXPECT_EQ(dlg.minimumSize(), dlg.size());  // the design's size is the first and least
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());
    h.Close();
    EXPECT_FALSE(fs::exists(h.DataPath()));  // nothing to save
}

TEST(MainWindow, LoadsTheDataFileAndCountsItsRows)
{
    WindowHarness h;
    h.WriteDataFile({"only"}, 2);
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(h.Label(1096), "1 Total Link");
    EXPECT_EQ(dlg.List().model()->rowCount(), 1);
    EXPECT_EQ(dlg.List().model()->data(dlg.List().model()->index(0, ColTitle)).toString(), "only");
    EXPECT_EQ(dlg.List().model()->data(dlg.List().model()->index(0, ColAdded)).toString(), "01-Jan-2009  12:00:00 AM");
    EXPECT_EQ(dlg.List().model()->data(dlg.List().model()->index(0, ColModified)).toString(), "05-June-2009  12:00:00 PM");
    EXPECT_EQ(dlg.CategoryBox()->count(), 2);
    h.Close();

    std::vector<std::string> titles;
    for (int i = 0; i < 1234; ++i) titles.push_back("t" + std::to_string(i));
    h.WriteDataFile(titles);
    h.settings.WriteString("Numbers", "Thousands Separator", ".");
    CLinksDlg& again = h.Open();
    EXPECT_EQ(h.Label(1096), "1.234 Total Links");
    EXPECT_EQ(again.Store().At(1233).Title(), "t1233");
}

TEST(MainWindow, ColumnsAreScaledFromTheDesign)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    CLinkListCtrl& list = dlg.List();
    const int client = list.width() - 2 * list.frameWidth();
    const int design[] = {150, 100, 600, 160, 160};
    for (int c = 0; c < ColCount; ++c) EXPECT_EQ(list.columnWidth(c), (90 + design[c] * client) / 455) << c;
    EXPECT_EQ(list.model()->headerData(ColModified, Qt::Horizontal).toString(), "Last Modified");
    EXPECT_EQ(list.model()->headerData(ColAdded, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
}

TEST(MainWindow, EscAsksBeforeExitingButCloseDoesNot)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    h.prompter.Script({Prompter::Answer::No});
    QTest::keyClick(dlg.TitleField(), Qt::Key_Escape);
    ASSERT_EQ(h.prompter.Texts(), std::vector<std::string>{"Do you want to exit Norvelle?"});
    EXPECT_EQ(h.prompter.Messages()[0].icon, Prompter::Icon::Question);
    EXPECT_TRUE(dlg.isVisible());

    h.prompter.Script({Prompter::Answer::Yes});
    QTest::keyClick(&dlg.List(), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());

    WindowHarness h2;
    CLinksDlg& other = h2.Open();
    h2.ClickButton(1);
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(h2.prompter.Messages().empty());
}

TEST(MainWindow, SaveOnCloseWritesChangesAndBacksUpDaily)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b"});
    const std::string before = ReadAll(h.DataPath());
    CLinksDlg& dlg = h.Open();
    dlg.Store().Edit(0).SetTitle("changed");
    dlg.Store().SetChanged();
    h.Close();
    EXPECT_NE(ReadAll(h.DataPath()), before);
    EXPECT_EQ(ReadAll(h.DataPath() + ".bak"), before);  // the file was written on another day than the clock's

    // "Save on Close" off: changes stay unsaved.
    h.settings.WriteInt("Saving", "Save on Close", 0);
    const std::string saved = ReadAll(h.DataPath());
    CLinksDlg& again = h.Open();
    EXPECT_EQ(again.Store().At(0).Title(), "changed");
    again.Store().Edit(0).SetTitle("lost");
    again.Store().SetChanged();
    h.Close();
    EXPECT_EQ(ReadAll(h.DataPath()), saved);
}

TEST(MainWindow, APendingEditIsStoredAtExitWithMoveSave)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b"});
    CLinksDlg& dlg = h.Open();
    h.ClickRow(1);
    h.Type(dlg.TitleField(), " edited");
    h.Close();
    CLinksDlg& again = h.Open();
    EXPECT_EQ(again.Store().At(1).Title(), "b edited");
    // Typed into an empty form and never added: stored as a new record.
    h.Type(again.TitleField(), "typed only");
    h.Close();
    CLinksDlg& third = h.Open();
    ASSERT_EQ(third.Store().Count(), 3);
    EXPECT_EQ(third.Store().At(2).Title(), "typed only");
}

TEST(MainWindow, AFailedSaveKeepsTheOldFileAndSaysSo)
{
    WindowHarness h;
    h.WriteDataFile({"a"});
    const std::string before = ReadAll(h.DataPath());
    CLinksDlg& dlg = h.Open();
    dlg.Store().SetChanged();
    {
        RefusingDisk disk;
        EXPECT_FALSE(dlg.Persistence().SaveDataFile());
    }
    EXPECT_EQ(ReadAll(h.DataPath()), before);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Could not save annotated links into \"" + h.DataPath() +
                                                           "\".  The disk is full."});
    EXPECT_TRUE(dlg.Store().IsChanged());

    // A location that cannot be written at all.
    h.prompter.Clear();
    std::string readOnly = "/proc/norvelle-test/Norvelle.dat";
    EXPECT_FALSE(dlg.Persistence().SaveDataFile(&readOnly));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Could not save annotated links into \"" + readOnly +
                                                           "\".  The folder does not exist."});
    dlg.Store().SetChanged(false);
}

TEST(MainWindow, ABadDataFileLoadsWhatItCan)
{
    WindowHarness h;
    h.WriteDataFile({"one", "two", "three"});
    std::string bytes = ReadAll(h.DataPath());
    std::ofstream(h.DataPath(), std::ios::binary) << bytes.substr(0, bytes.size() - 4);
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(dlg.Store().Count(), 2);
    EXPECT_EQ(h.Label(1096), "2 Total Links");
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Could not read annotated links from \"" + h.DataPath() +
                                                           "\".  The file ends early, in link 3 of 3.  2 links were read; the file itself is kept as it is."});
    h.Close();

    bytes[0] = 9;
    std::ofstream(h.DataPath(), std::ios::binary) << bytes;
    h.prompter.Clear();
    CLinksDlg& newer = h.Open();
    EXPECT_EQ(newer.Store().Count(), 0);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Cannot load a data file that has a higher version number."});
}

TEST(MainWindow, PlacementRoundTripsAndComesBackOnScreen)
{
    WindowHarness h;
    CLinksDlg& dlg = h.Open();
    dlg.move(100, 120);
    QApplication::processEvents();
    const QPoint placed = dlg.frameGeometry().topLeft();
    h.Close();
    EXPECT_EQ(h.settings.ReadInt("Placement", "x1", -1), placed.x());
    EXPECT_EQ(h.settings.ReadInt("Placement", "y1", -1), placed.y());
    EXPECT_EQ(h.settings.ReadInt("Placement", "ShowCmd", -1), 1);

    CLinksDlg& again = h.Open();
    EXPECT_EQ(again.frameGeometry().topLeft(), placed);
    h.Close();

    // Saved on a larger screen: pulled back so that an icon's width stays visible.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int icon = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    h.settings.WriteInt("Placement", "x1", 5000);
    h.settings.WriteInt("Placement", "x2", 5600);
    h.settings.WriteInt("Placement", "y1", 4000);
    h.settings.WriteInt("Placement", "y2", 4500);
    CLinksDlg& clamped = h.Open();
    EXPECT_EQ(clamped.pos(), QPoint(screen.right() + 1 - icon, screen.bottom() + 1 - icon));
    h.Close();

    // Closed while minimised: it comes back minimised.
    CLinksDlg& minimised = h.Open();
    minimised.setWindowState(Qt::WindowMinimized);
    h.Close();
    EXPECT_EQ(h.settings.ReadInt("Placement", "ShowCmd", -1), 2);
    EXPECT_TRUE(h.Open().windowState() & Qt::WindowMinimized);
    h.Close();

    // A window placed for it (no stored place) is moved wholly onto the screen when it fits.
    const QRect small(0, 0, 1280, 1024);
    for (auto [frame, fitted] : std::vector<std::pair<QRect, QRect>>{
             {QRect(100, 700, 600, 500), QRect(100, 524, 600, 500)},      // partly below
             {QRect(-30, 10, 600, 500), QRect(0, 10, 600, 500)},          // partly left
             {QRect(900, 900, 600, 500), QRect(680, 524, 600, 500)},      // beyond the corner
             {QRect(100, -50, 1400, 500), QRect(100, 0, 1400, 500)}})     // wider: left as it is
        EXPECT_EQ(WindowPlacementStore::Fit(frame, small), fitted) << frame.x() << "," << frame.y();

    // A value of -1 counts as missing: nothing is restored.
    EXPECT_EQ(WindowPlacementStore::Clamp(QRect(-50, 10, 600, 400), screen, QSize(icon, icon)).topLeft(), QPoint(-50, 10));
    h.settings.WriteInt("Placement", "x1", -1);
    h.settings.WriteInt("Misc", "Restore Wnd Placement", 1);
    CLinksDlg& unrestored = h.Open();
    EXPECT_NE(unrestored.pos(), QPoint(screen.right() + 1 - icon, screen.bottom() + 1 - icon));
}

TEST(MainWindow, GrowsAndRemembersItsSizeColumnsAndSort)
{
    WindowHarness h;
    h.WriteDataFile({"b", "a", "c"});
    CLinksDlg& dlg = h.Open();
    const QSize design = dlg.size();
    const QRect list = dlg.List().geometry(), launch = dlg.Button(1005)->geometry(), title = dlg.TitleField()->geometry();
    dlg.resize(design + QSize(200, 150));
    QApplication::processEvents();
    // The list takes the growth; the form widens below it, the buttons keep to its right edge.
    EXPECT_EQ(dlg.List().geometry(), list.adjusted(0, 0, 200, 150));
    EXPECT_EQ(dlg.Button(1005)->geometry(), launch.translated(200, 150));
    EXPECT_EQ(dlg.TitleField()->geometry(), title.translated(0, 150).adjusted(0, 0, 200, 0));
    QHeaderView& header = *dlg.List().horizontalHeader();
    header.resizeSection(ColCategory, 321);
    header.sectionClicked(ColTitle);
    header.sectionClicked(ColTitle);  // the second click reverses
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"c", "b", "a"}));
    h.Close();

    CLinksDlg& again = h.Open();
    EXPECT_EQ(again.size(), design + QSize(200, 150));
    EXPECT_EQ(again.List().horizontalHeader()->sectionSize(ColCategory), 321);
    EXPECT_TRUE(again.List().horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(again.List().horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // A link added out of the order takes the arrow away, and it stays away.
    h.Type(again.TitleField(), "b2");
    h.Type(again.LinkField(), "https://zz.example/");
    h.ClickButton(1026);
    EXPECT_FALSE(again.List().horizontalHeader()->isSortIndicatorShown());
    h.Close();
    EXPECT_EQ(h.settings.ReadInt("Sort", "Column", 0), -1);
    EXPECT_FALSE(h.Open().List().horizontalHeader()->isSortIndicatorShown());
    h.Close();

    // A stored size larger than the screen, or columns that do not fit the list, are not taken.
    h.settings.WriteInt("Placement", "Width", 90000);
    h.settings.WriteString("Columns", "Widths", "1,2");
    CLinksDlg& bounded = h.Open();
    EXPECT_LE(bounded.width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    EXPECT_NE(bounded.List().horizontalHeader()->sectionSize(ColTitle), 1);
}

TEST(MainWindow, CopiesAndDragsTheSelectedLinksOut)
{
    WindowHarness h;
    h.WriteDataFile({"one", "two", "three"});
    CLinksDlg& dlg = h.Open();
    h.ClickRow(0);
    h.ClickRow(2, Qt::ControlModifier);
    h.KeyInList(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    const QString link0 = QString::fromStdString(std::string(std::as_const(dlg.Store()).At(0).Link()));
    const QString link2 = QString::fromStdString(std::string(std::as_const(dlg.Store()).At(2).Link()));
    EXPECT_EQ(copied->text(), "one <" + link0 + ">\nthree <" + link2 + ">\n");
    EXPECT_EQ(copied->urls(), (QList<QUrl>{QUrl(link0), QUrl(link2)}));
    // Ctrl+C in a field copies the field's text.
    dlg.TitleField()->setText("field text");
    dlg.TitleField()->selectAll();
    dlg.TitleField()->setFocus();
    QTest::keyClick(dlg.TitleField(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "field text");
    // A press on one of several selected rows keeps them for a drag; a release alone picks it.
    const QPoint at = dlg.List().visualRect(dlg.List().model()->index(2, 0)).center();
    QTest::mousePress(dlg.List().viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 2}));
    QTest::mouseRelease(dlg.List().viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{2});
}

TEST(MainWindow, TimedSaveRunsOnTheWorkerOnlyWhenChanged)
{
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    const std::string before = ReadAll(h.DataPath());
    dlg.TimedSaveTick();  // nothing changed: no save
    dlg.SaveJob().Wait();
    EXPECT_EQ(ReadAll(h.DataPath()), before);

    dlg.Store().Edit(0).SetTitle("timed");
    dlg.Store().SetChanged();
    {
        auto lock = dlg.Store().Lock();  // the job waits for the lock and stays busy
        dlg.TimedSaveTick();
        EXPECT_FALSE(dlg.SaveJob().IsFinished());
        dlg.TimedSaveTick();  // a tick while the job runs does nothing
    }
    dlg.SaveJob().Wait();
    EXPECT_FALSE(dlg.Store().IsChanged());
    EXPECT_NE(ReadAll(h.DataPath()), before);

    // A failing timed save shows its message on the window thread, without a deadlock.
    dlg.Store().SetChanged();
    RefusingDisk disk;
    h.prompter.Clear();
    dlg.TimedSaveTick();
    dlg.SaveJob().Wait();
    EXPECT_EQ(h.prompter.Texts().size(), 1u);
    dlg.Store().SetChanged(false);
}

TEST(MainWindow, AFailingTimedSaveAsksTheWindowThreadWithoutHoldingTheLock)
{
    // A worker that asked while holding the lock would leave the window thread waiting.
    Watchdog watchdog(std::chrono::seconds(30), "a failing timed save's question");
    WindowHarness h;
    h.WriteDataFile({"a"});
    // The real message box this time, answered by a timer on the window thread.
    QtPrompter prompter;
    DesktopServices services{prompter, h.settings, h.clock, h.paths, h.shell, h.clipboard};
    CLinksDlg dlg(services);
    prompter.SetOwner(&dlg);
    RefusingDisk disk;
    dlg.Store().SetChanged();

    bool lockFree = false;
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        // While the worker waits for this answer the window thread can take the lock.
        std::unique_lock lock(dlg.Store().Mutex(), std::try_to_lock);
        lockFree = lock.owns_lock();
        shown = box->text().remove(QChar(0x200B));
        box->accept();
    });
    closer.start(5);
    dlg.TimedSaveTick();
    for (int i = 0; i < 1000 && !dlg.SaveJob().IsFinished(); ++i) QTest::qWait(2);
    ASSERT_TRUE(dlg.SaveJob().IsFinished());
    EXPECT_TRUE(lockFree);
    EXPECT_EQ(shown.toStdString(), "Could not save annotated links into \"" + h.DataPath() + "\".  The disk is full.");
    dlg.Store().SetChanged(false);
}

TEST(MainWindow, ListSelectsLikeAMultiSelectionList)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1", "r2", "r3", "r4", "r5"});
    CLinksDlg& dlg = h.Open();
    h.ClickRow(1);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(h.Label(1083), "1 Selected Link");
    h.ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{1, 3}));
    h.ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{1}));
    h.ClickRow(2);
    h.ClickRow(4, Qt::ShiftModifier);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(dlg.List().States().Mark(), 2);

    h.KeyInList(Qt::Key_Down);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{5});
    h.KeyInList(Qt::Key_Home);
    h.KeyInList(Qt::Key_Down, Qt::ShiftModifier);
    h.KeyInList(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 1, 2}));
    h.KeyInList(Qt::Key_End, Qt::ControlModifier);  // moves the focus only
    h.KeyInList(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 1, 2, 5}));
    h.KeyInList(Qt::Key_PageUp);
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{0});

    // Right-click only refreshes the count.
    dlg.List().States().SelectAll();
    QTest::mouseClick(dlg.List().viewport(), Qt::RightButton, Qt::NoModifier,
                      dlg.List().visualRect(dlg.List().Model().index(0, 0)).center());
    EXPECT_EQ(h.Label(1083), "6 Selected Links");
}

TEST(MainWindow, RowStatesFollowTheStore)
{
    WindowHarness h;
    h.WriteDataFile({"r0", "r1", "r2", "r3", "r4"});
    CLinksDlg& dlg = h.Open();
    RowStates& states = dlg.List().States();
    states.SetSelected(1, true);
    states.SetSelected(3, true);
    states.SetMark(3);
    EXPECT_TRUE(dlg.Store().InsertLink(0, "new", "", "", "", {}, {}));
    EXPECT_EQ(states.SelectedRows(), (std::vector<int>{2, 4}));
    EXPECT_EQ(states.Mark(), 4);
    auto taken = dlg.Store().TakeRows({0, 2});
    EXPECT_EQ(states.SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(states.SelectedCount(), 1);
    EXPECT_EQ(states.Mark(), 2);
    dlg.Store().Reorder({3, 2, 1, 0});
    EXPECT_EQ(states.SelectedRows(), (std::vector<int>{1}));
    EXPECT_EQ(states.Mark(), 1);
    EXPECT_EQ(dlg.List().model()->rowCount(), 4);
    dlg.ResetStore();
    EXPECT_EQ(states.Rows(), 0);
    EXPECT_EQ(states.SelectedCount(), 0);
    EXPECT_EQ(h.Label(1096), "0 Total Links");
}

TEST(MainWindow, TooltipsOnlyForCutOffCells)
{
    WindowHarness h;
    h.WriteDataFile({"short", std::string(100, 'W')});
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(dlg.List().CellTipText(0, ColTitle), "");
    EXPECT_EQ(dlg.List().CellTipText(1, ColTitle), QString(79, 'W'));
    // The text plus 5 pixels (first column) or 11 (others) must stay below the width.
    CLinkListCtrl& list = dlg.List();
    const int title = list.fontMetrics().horizontalAdvance("short");
    list.setColumnWidth(ColTitle, title + 5);
    EXPECT_EQ(list.CellTipText(0, ColTitle), "short");
    list.setColumnWidth(ColTitle, title + 6);
    EXPECT_EQ(list.CellTipText(0, ColTitle), "");
    const int description = list.fontMetrics().horizontalAdvance("Description 0");
    list.setColumnWidth(ColDescription, description + 11);
    EXPECT_EQ(list.CellTipText(0, ColDescription), "Description 0");
    list.setColumnWidth(ColDescription, description + 12);
    EXPECT_EQ(list.CellTipText(0, ColDescription), "");
}

TEST(MainWindow, ClosingAsksBeforeLosingChangesThatCouldNotBeSaved)
{
    WindowHarness h;
    h.WriteDataFile({"a"});
    std::string newer = ReadAll(h.DataPath());
    newer[0] = 3;  // a newer program's file: its records must survive
    std::ofstream(h.DataPath(), std::ios::binary) << newer;
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.TitleField(), "typed");
    h.ClickButton(1026);
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::No});
    h.ClickButton(1);
    const std::string saveError = "Could not save annotated links into \"" + h.DataPath() +
                                  "\".  Not all of its links could be read, and those would be lost.";
    EXPECT_EQ(h.prompter.Texts(), (std::vector<std::string>{saveError, "Your changes will be lost.  Proceed?"}));
    // No is the default, and after No the Saving page is offered to save the links elsewhere.
    ASSERT_EQ(h.prompter.Messages().size(), 2u);
    EXPECT_FALSE(h.prompter.Messages()[1].defaultYes);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Store().Count(), 1);
    h.optionsOpened = 0;
    for (int i = 0; i < 100 && h.optionsOpened == 0; ++i) QTest::qWait(5);
    EXPECT_EQ(h.optionsOpened, 1);

    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::Yes});
    h.ClickButton(1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(h.prompter.Texts(), (std::vector<std::string>{saveError, "Your changes will be lost.  Proceed?"}));
    EXPECT_EQ(ReadAll(h.DataPath()), newer);
}

// The end of a session: the session manager's request to save (the window goes on, its
// timed save too); a shutdown, a logout or a closed terminal, each with its signal, while
// the person is in a question over the Sort dialog (both go as if cancelled, the window
// closes, the link not saved yet is in the data file); a signal while the person is asked
// whether to lose links that could not be saved (no Saving page opens for nobody).
TEST(MainWindow, TheSystemEndingTheProgramClosesItsDialogsAndSavesTheLinks)
{
    // A window over the data file "a" with the link "typed" added and not saved yet.
    auto withUnsavedLink = [](WindowHarness& h) -> CLinksDlg& {
        CLinksDlg& dlg = h.Open();
        h.Type(dlg.TitleField(), "typed");
        h.ClickButton(1026);
        EXPECT_TRUE(dlg.Store().IsChanged());
        return dlg;
    };
    const std::vector<std::string> saved = {"a", "typed"};
    {
        WindowHarness h;
        h.settings.WriteInt("Saving", "Save on Timer", 1);
        h.WriteDataFile({"a"});
        CLinksDlg& dlg = withUnsavedLink(h);
        dlg.SaveForSessionEnd();
        EXPECT_FALSE(dlg.Store().IsChanged());
        EXPECT_EQ(TitlesIn(h.DataPath()), saved);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.SaveTimer().isActive());
    }
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        WindowHarness h;
        h.WriteDataFile({"a"});
        CLinksDlg& dlg = withUnsavedLink(h);
        QtEndRequests ends;
        QObject::connect(&ends, &QtEndRequests::endRequested, &dlg, &CLinksDlg::RequestEnd);
        QtPrompter boxes;
        boxes.SetOwner(&dlg);
        Prompter::Answer answer = Prompter::Answer::Yes;
        bool sortReturned = false;
        DialogAnswer<CSortDlg> inSort([&](CSortDlg&) {
            QTimer::singleShot(20, [signal] { std::raise(signal); });
            answer = boxes.Show("Sort anyway?", Prompter::Icon::Question, Prompter::Buttons::YesNo, true);
        });
        QTimer::singleShot(0, &dlg, [&] {
            dlg.Sorter().SortCommand();
            sortReturned = true;
        });
        dlg.exec();
        EXPECT_TRUE(inSort.seen && sortReturned);
        EXPECT_EQ(answer, Prompter::Answer::No);
        EXPECT_FALSE(dlg.isVisible());
        h.Close();
        EXPECT_EQ(TitlesIn(h.DataPath()), saved);
    }
    {
        WindowHarness h;
        h.WriteDataFile({"a"});
        std::string newer = ReadAll(h.DataPath());
        newer[0] = 3;  // a newer program's file, which is never written over
        std::ofstream(h.DataPath(), std::ios::binary) << newer;
        CLinksDlg& dlg = withUnsavedLink(h);
        h.prompter.answerQuestion = [&](const std::string&) {
            dlg.RequestEnd();
            return Prompter::Answer::No;
        };
        h.optionsOpened = 0;
        h.ClickButton(1);
        QTest::qWait(50);
        EXPECT_EQ(h.optionsOpened, 0);
        EXPECT_FALSE(dlg.isVisible());
        h.prompter.answerQuestion = nullptr;
    }
    // Once the window has gone, the signals do what they did before.
    struct sigaction now = {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(MainWindow, MessageBoxesShowTheirTextAsItIsWithinTheScreen)
{
    QtPrompter prompter;
    const std::string longLink = "https://example.com/" + std::string(300, 'a') + "/?q=" + std::string(300, 'b');
    for (const std::string& text : {std::string("Could not launch \"/tmp/<b>x</b>.txt\".  Windows denied access to this file."),
                                    "Could not launch \"" + longLink + "\".  The host was not found."}) {
        Qt::TextFormat format = Qt::AutoText;
        QString shown, copied;
        int width = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                format = box->textFormat();
                shown = box->text();
                // Ctrl+C copies the text as it is, without the break opportunities.
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                copied = QApplication::clipboard()->text();
                // The widest line the text wraps into, against the room its label has.
                auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                width = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1 << 20), Qt::TextWordWrap,
                                                          label->text()).width() - label->width();
                box->accept();
            }
        });
        closer.start(5);
        prompter.Error(text);
        EXPECT_EQ(format, Qt::PlainText);
        // Only invisible break opportunities are added, so that a long link wraps in its box.
        EXPECT_EQ(shown.remove(QChar(0x200B)).toStdString(), text);
        EXPECT_LE(width, 0);
        EXPECT_TRUE(copied.contains(QString::fromStdString(text))) << copied.toStdString();
    }
}

TEST(MainWindow, QuestionsKeepLinksOnEnterAndEscAndNoneIsShownWhileTheSystemEnds)
{
    // Enter and Esc at a real box give the answer that keeps the links: Keep Mine at the
    // other version's question, No at "Your changes will be lost".
    QtPrompter boxes;
    const std::vector<std::string> versions = {"&Load It", "&Keep Mine", "&Save Mine under Another Name"};
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        QTimer::singleShot(20, [key] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) QTest::keyClick(box, key);
        });
        EXPECT_EQ(boxes.Choose("The data file was changed by another program.", versions, 1), 1) << key;
        QTimer::singleShot(20, [key] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) QTest::keyClick(box, key);
        });
        EXPECT_EQ(boxes.Show("Your changes will be lost.  Proceed?", Prompter::Icon::Question, Prompter::Buttons::YesNo,
                             false),
                  Prompter::Answer::No)
            << key;
    }
    // While the system ends the program nothing is shown, and the default is the answer.
    boxes.SetUnattended(true);
    EXPECT_EQ(boxes.Choose("The data file was changed by another program.", versions, 1), 1);
    EXPECT_EQ(boxes.Show("Replace it?", Prompter::Icon::Question, Prompter::Buttons::YesNo, false), Prompter::Answer::No);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The system ends the window while another program's version is on disk: no question,
    // neither version is written over, and the window's links go into a file of their own
    // that the next start names.
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    h.Type(dlg.TitleField(), "typed");
    h.ClickButton(1026);
    ASSERT_TRUE(dlg.Store().IsChanged());
    h.WriteDataFile({"theirs"});
    h.prompter.Clear();
    h.prompter.answerChoice = [](const std::string& text, const std::vector<std::string>&) -> int {
        ADD_FAILURE() << "asked while ending: " << text;
        return 2;
    };
    dlg.RequestEnd();
    h.Close();
    h.prompter.answerChoice = nullptr;
    EXPECT_TRUE(h.prompter.Messages().empty());
    EXPECT_EQ(TitlesIn(h.DataPath()), std::vector<std::string>{"theirs"});
    const std::string kept = (h.temp.path / "Documents" / "Norvelle (unsaved).dat").string();
    EXPECT_EQ(TitlesIn(kept), (std::vector<std::string>{"a", "typed"}));
    h.Open();
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"When the system last ended Norvelle, links that could not "
                                                           "be saved into the data file were saved in \"" +
                                                           kept + "\".  Append on the Saving page of Options brings "
                                                                  "them in."});
}

namespace {

// Fails when a label under root would render a text holding marker as rich text, or when
// a tooltip (of a widget, or of an item view's cells as they are hovered) holds it as
// markup. Returns how many such texts it found shown plainly, so that a walk that finds
// none is seen.
int ExpectNoMarkup(QWidget& root, const QString& marker, const std::string& where)
{
    const QString escaped = marker.toHtmlEscaped();
    int found = 0;
    std::vector<QWidget*> widgets = {&root};
    for (QWidget* child : root.findChildren<QWidget*>()) widgets.push_back(child);
    for (QWidget* widget : widgets) {
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->text().contains(marker)) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << where << ": " << label->text().toStdString();
            ++found;
        }
        EXPECT_FALSE(widget->toolTip().contains(marker)) << where << ": " << widget->metaObject()->className();
        found += widget->toolTip().contains(escaped);
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (!view || !view->model()) continue;
        for (int row = 0; row < std::min(view->model()->rowCount(), 3); ++row)
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                const QRect cell = view->visualRect(view->model()->index(row, column));
                if (cell.isEmpty()) continue;
                QHelpEvent help(QEvent::ToolTip, cell.center(), view->viewport()->mapToGlobal(cell.center()));
                QApplication::sendEvent(view->viewport(), &help);
                EXPECT_FALSE(QToolTip::text().contains(marker)) << where << ": " << QToolTip::text().toStdString();
                found += QToolTip::text().contains(escaped);
                QToolTip::hideText();
            }
    }
    return found;
}

}  // namespace

TEST(MainWindow, TextsFromLinksAreShownAsTheyAreNeverAsMarkupInAnyWindow)
{
    // A title that Qt would take for HTML loads an image from /dev/zero (and fills memory)
    // when shown as rich text; every window shows it, and every other text from a link or
    // a file, as the text it is.
    const QString marker = "<img";
    const std::string hostile = "<img src=\"/dev/zero\"><h1>big</h1>";
    const std::string link = "http://127.0.0.1:9/" + hostile;
    const CLinkDate then = LinkDateFromLocal({2001, 1, 1, 0, 0, 0});
    WindowHarness h;
    h.WriteRecords({{hostile + std::string(200, 'x'), link, hostile, hostile, then, then},
                    {hostile + " again", link, hostile + "\r\n" + hostile, "plain", then, then}});
    CLinksDlg& dlg = h.Open();
    dlg.resize(400, 400);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    h.ClickRow(0);
    dlg.ShowStatus(QString::fromStdString("Loaded " + hostile));
    // The list's own tooltip over the long title shows it escaped.
    const QRect cell = dlg.List().visualRect(dlg.List().model()->index(0, 0));
    QHelpEvent help(QEvent::ToolTip, cell.center(), dlg.List().viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(dlg.List().viewport(), &help);
    EXPECT_TRUE(QToolTip::text().contains("&lt;img")) << QToolTip::text().toStdString();
    EXPECT_GE(ExpectNoMarkup(dlg, marker, "main window"), 1);

    // Check Links, with its results' tooltips.
    h.ClickRow(0);
    h.ClickRow(1, Qt::ShiftModifier);
    dlg.SystemCommand(CLinksDlg::CmdCheckLinks);
    CCheckLinksDlg* check = dlg.Health().CheckLinksWindow();
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(SpinUntil([&] { return check->Results().rowCount() == 2 && !check->Running(); }));
    check->resize(300, 300);
    check->View()->setColumnWidth(0, 20);
    EXPECT_GE(ExpectNoMarkup(*check, marker, "Check Links"), 1);
    check->close();

    // The modal ones: Find Duplicates and Statistics.
    std::vector<int> found;
    for (int command : {int(CLinksDlg::CmdDuplicates), int(CLinksDlg::CmdStatistics)}) {
        bool seen = false;
        QTimer walker;
        QObject::connect(&walker, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal || modal == &dlg) return;
            walker.stop();
            seen = true;
            found.push_back(ExpectNoMarkup(*modal, marker, modal->windowTitle().toStdString()));
            modal->reject();
        });
        walker.start(5);
        dlg.SystemCommand(command);
        EXPECT_TRUE(seen) << command;
    }
    EXPECT_EQ(found.size(), 2u);

    // Undo's preview, and the Import dialog with a drive and a folder of that name.
    CUndoPreviewDlg preview(false, "Delete", StepEffect::Deletes, {&dlg.Store().At(0)}, CCountFormatter(dlg.Settings()), &dlg);
    preview.show();
    ExpectNoMarkup(preview, marker, "Undo preview");
    FakePrompter prompter;
    IntakeOptions options;
    CImportDlg import(BookmarkTarget{}, prompter, CCountFormatter(true, ","), options, hostile, &dlg);
    import.SetProfiles({{"Firefox", hostile, "/nowhere/" + hostile}}, {hostile + " was not read"});
    import.DriveList()->Add(QString::fromStdString(hostile));
    import.DriveList()->setCurrentIndex(import.DriveList()->findText(QString::fromStdString(hostile)));
    import.StatusLabel()->setText(QString::fromStdString(hostile));
    import.show();
    EXPECT_GE(ExpectNoMarkup(import, marker, "Import"), 2);
}
