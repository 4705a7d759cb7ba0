#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <set>

#include "app/LinkListCtrl.h"
#include "bench/LoopbackHttpServer.h"
#include "health/CheckLinksDlg.h"
#include "health/DuplicatesDlg.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/SpinUntil.h"
#include "tests/support/WindowHarness.h"

namespace {

CAnnotatedLink Link(const std::string& title, const std::string& link, double added = 40000)
{
    CAnnotatedLink r;
    r.SetTitle(title);
    r.SetLink(link);
    r.SetAdded({CLinkDate::Valid, added});
    r.SetModified(r.Added());
    return r;
}

// Chooses the results of the check window whose titles are given.
void ChooseResults(CCheckLinksDlg& check, const std::vector<std::string>& titles)
{
    QTableView* view = check.View();
    view->clearSelection();
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const std::string title = view->model()->index(row, 0).data().toString().toStdString();
        if (std::find(titles.begin(), titles.end(), title) != titles.end())
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

}  // namespace

TEST(LinkHealthWindow, CheckLinksSelectInListUseNewAddressUndoAndStop)
{
    LoopbackHttpServer server;
    WindowHarness h;
    h.WriteRecords({Link("Moved", server.Url("/moved")), Link("Fine", server.Url("/ok")),
                    Link("Gone", server.Url("/gone")), Link("Moved too", server.Url("/moved308")),
                    Link("Mail", "mailto:a@b.c"), Link("Silent 1", server.Url("/silent")),
                    Link("Silent 2", server.Url("/silent?2"))});
    CLinksDlg& dlg = h.Open();
    // With fewer than two rows selected, the whole list is checked after asking; No contacts no one.
    h.prompter.Script({Prompter::Answer::No});
    PressKey(dlg, Qt::Key_K);
    EXPECT_EQ(dlg.Health().CheckLinksWindow(), nullptr);
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Check all 7 links?"});
    PressKey(dlg, Qt::Key_K);
    CCheckLinksDlg* check = dlg.Health().CheckLinksWindow();
    ASSERT_NE(check, nullptr);
    EXPECT_FALSE(check->isModal());
    // The quick answers arrive while the silent server keeps the check running.
    ASSERT_TRUE(SpinUntil([&] { return check->Results().rowCount() == 5; }));
    EXPECT_TRUE(check->Running());
    EXPECT_TRUE(check->StopButton()->isEnabled());
    QTest::mouseClick(check->StopButton(), Qt::LeftButton);
    EXPECT_FALSE(check->Running());
    EXPECT_EQ(check->StatusLabel()->text().toStdString(), "Stopped after 5 of 7 links.  3 links need a look.");
    EXPECT_TRUE(SpinUntil([&] { return server.Concurrent() == 0; }, 3000));

    // Sorted by state: OK first, then the moved ones, then the others.
    check->View()->sortByColumn(CheckResultsModel::ColState, Qt::AscendingOrder);
    std::vector<std::string> order;
    for (int row = 0; row < 5; ++row) order.push_back(check->View()->model()->index(row, 0).data().toString().toStdString());
    EXPECT_EQ(order, (std::vector<std::string>{"Fine", "Moved", "Moved too", "Gone", "Mail"}));

    EXPECT_FALSE(check->SelectButton()->isEnabled());
    ChooseResults(*check, {"Gone"});
    EXPECT_FALSE(check->ReplaceButton()->isEnabled());
    QTest::mouseClick(check->SelectButton(), Qt::LeftButton);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(dlg.TitleField()->text().toStdString(), "Gone");

    // Every result chosen: every row is selected.
    ChooseResults(*check, {"Fine", "Moved", "Moved too", "Gone", "Mail"});
    QTest::mouseClick(check->SelectButton(), Qt::LeftButton);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));

    ASSERT_TRUE(check->ReplaceButton()->isEnabled());
    QTest::mouseClick(check->ReplaceButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.Store().At(0).Link(), server.Url("/ok"));
    EXPECT_EQ(dlg.Store().At(3).Link(), server.Url("/ok"));
    EXPECT_EQ(dlg.Store().At(1).Link(), server.Url("/ok"));
    EXPECT_EQ(dlg.Store().At(2).Link(), server.Url("/gone"));
    EXPECT_TRUE(dlg.Store().IsChanged());
    EXPECT_FALSE(check->ReplaceButton()->isEnabled());
    EXPECT_NE(check->View()->model()->index(1, CheckResultsModel::ColState).data().toString().toStdString().find(
                  "address replaced"),
              std::string::npos);
    // The replaced record is still found by its new link.
    ChooseResults(*check, {"Moved"});
    QTest::mouseClick(check->SelectButton(), Qt::LeftButton);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0}));
    EXPECT_EQ(dlg.LinkField()->text().toStdString(), server.Url("/ok"));

    // Each replacement is one Modify for Undo.
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().At(3).Link(), server.Url("/moved308"));
    EXPECT_EQ(dlg.Store().At(0).Link(), server.Url("/ok"));
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().At(0).Link(), server.Url("/moved"));
    // The check window follows: the moved links are no longer "address replaced", can be
    // given their new address again, and are found by their old one.
    auto stateOf = [&](int viewRow) {
        return check->View()->model()->index(viewRow, CheckResultsModel::ColState).data().toString().toStdString();
    };
    for (int row = 0; row < check->View()->model()->rowCount(); ++row)
        EXPECT_EQ(stateOf(row).find("address replaced"), std::string::npos) << row;
    ChooseResults(*check, {"Moved"});
    EXPECT_TRUE(check->ReplaceButton()->isEnabled());
    QTest::mouseClick(check->SelectButton(), Qt::LeftButton);
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0}));
    PressKey(dlg, Qt::Key_Y);
    ChooseResults(*check, {"Moved"});
    EXPECT_FALSE(check->ReplaceButton()->isEnabled());

    // Closing the window stops a check that runs.
    PressKey(dlg, Qt::Key_K);
    QPointer<CCheckLinksDlg> second = dlg.Health().CheckLinksWindow();
    EXPECT_TRUE(check == nullptr || second != check);
    ASSERT_TRUE(SpinUntil([&] { return server.Concurrent() == 2; }));
    second->close();
    EXPECT_TRUE(SpinUntil([&] { return server.Concurrent() == 0 && !second; }, 3000));

    // With two rows or more selected, only those are checked.
    h.ClickRow(1);
    h.ClickRow(2, Qt::ControlModifier);
    PressKey(dlg, Qt::Key_K);
    CCheckLinksDlg* third = dlg.Health().CheckLinksWindow();
    ASSERT_TRUE(SpinUntil([&] { return !third->Running(); }));
    ASSERT_EQ(third->Results().rowCount(), 2);
    std::set<std::string> checked{third->Results().Item(0).title, third->Results().Item(1).title};
    EXPECT_EQ(checked, (std::set<std::string>{"Fine", "Gone"}));
    h.Close();
}

TEST(LinkHealthWindow, FindDuplicatesSelectsEveryCopyButTheOldest)
{
    {
        WindowHarness empty;
        CLinksDlg& none = empty.Open();
        PressKey(none, Qt::Key_K);
        PressKey(none, Qt::Key_U);
        EXPECT_EQ(empty.prompter.Texts(), (std::vector<std::string>{"There are no links to check.",
                                                                     "No two links point to the same place."}));
        empty.Close();
    }
    WindowHarness h;
    h.WriteRecords({Link("New copy", "https://www.example.com/page/?utm_source=x", 40300),
                    Link("Other", "https://example.org/", 40000), Link("Oldest", "http://example.com/page", 40100),
                    Link("Middle", "HTTP://EXAMPLE.COM/page#", 40200), Link("File", "/home/u/a.txt", 40000),
                    Link("File again", "file:///home/u/./a.txt", 39000)});
    CLinksDlg& dlg = h.Open();
    std::vector<std::vector<std::string>> shown;
    std::string said;
    DialogAnswer<CDuplicatesDlg> answer([&](CDuplicatesDlg& report) {
        said = report.findChild<QLabel*>()->text().toStdString();
        const QAbstractItemModel* model = report.Tree()->model();
        for (int g = 0; g < model->rowCount(); ++g) {
            const QModelIndex top = model->index(g, 0);
            EXPECT_TRUE(report.Tree()->isExpanded(top));
            // A group's row: its copies and the link of the one kept.
            std::vector<std::string> group = {top.data().toString().toStdString() + " " +
                                              model->index(g, 1).data().toString().toStdString()};
            for (int c = 0; c < model->rowCount(top); ++c)
                group.push_back(model->index(c, 0, top).data().toString().toStdString() + " " +
                                model->index(c, 4, top).data().toString().toStdString());
            shown.push_back(group);
        }
        report.reject();
    });
    PressKey(dlg, Qt::Key_U);
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{
                         {"3 copies http://example.com/page", "New copy selected", "Oldest kept", "Middle selected"},
                         {"2 copies file:///home/u/./a.txt", "File selected", "File again kept"}}));
    EXPECT_EQ(said, "2 groups of links point to the same place.  The 3 newer copies are selected in the list and "
                    "the oldest of each group is not: press Delete to remove them (Undo brings them back).");
    EXPECT_EQ(h.SelectedRows(), (std::vector<int>{0, 3, 4}));
    EXPECT_EQ(dlg.Store().Count(), 6);  // nothing is deleted by the command

    // Delete, then Undo brings them back.
    dlg.Settings().confirmDelete = false;
    h.ClickButton(1014);
    ASSERT_EQ(dlg.Store().Count(), 3);
    EXPECT_EQ(dlg.Store().At(0).Title(), "Other");
    EXPECT_EQ(dlg.Store().At(1).Title(), "Oldest");
    EXPECT_EQ(dlg.Store().At(2).Title(), "File again");
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().Count(), 6);

    // With no duplicates left, the command says so and selects nothing new.
    h.ClickRow(1);
    dlg.Settings().confirmDelete = false;
    PressKey(dlg, Qt::Key_Y);
    ASSERT_EQ(dlg.Store().Count(), 3);
    PressKey(dlg, Qt::Key_U);
    EXPECT_EQ(h.prompter.Texts().back(), "No two links point to the same place.");
    h.Close();
}

TEST(LinkHealthWindow, GetTitleFromPageFillsTheFormOrTheSelectedRowsAsOneStep)
{
    LoopbackHttpServer server;
    WindowHarness h;
    CAnnotatedLink kept = Link("", server.Url("/page-cyrillic"));
    kept.SetDescription("Mine");
    CAnnotatedLink complete = Link("Named", server.Url("/ok"));
    complete.SetDescription("Described");
    h.WriteRecords({Link("", server.Url("/page")), kept, Link("", server.Url("/notitle")), Link("", server.Url("/endless")),
                    complete, Link("", "mailto:a@b.c")});
    CLinksDlg& dlg = h.Open();
    QApplication::setActiveWindow(&dlg);

    // The form: the page's title and description, through a redirect, stored only by Add.
    h.ClickButton(1007);
    h.Type(dlg.LinkField(), QString::fromStdString(server.Url("/movedpage")));
    dlg.TitleField()->setFocus();
    PressKey(dlg, Qt::Key_G);
    EXPECT_EQ(dlg.TitleField()->text(), QString::fromUtf8("Caf\xC3\xA9 & Cr\xC3\xA8me \xE2\x80\x93 menu"));
    EXPECT_EQ(dlg.DescriptionField()->toPlainText(), "Today's dishes");
    EXPECT_EQ(dlg.Store().Count(), 6);
    h.ClickButton(1026);
    ASSERT_EQ(dlg.Store().Count(), 7);
    EXPECT_EQ(dlg.Store().At(6).Title(), "Caf\xC3\xA9 & Cr\xC3\xA8me \xE2\x80\x93 menu");

    // A title already there, an address that is not the web's, a page that is not found.
    h.prompter.Clear();
    dlg.Health().GetTitleCommand();
    h.ClickButton(1007);
    h.Type(dlg.LinkField(), "mailto:me@example.com");
    dlg.Health().GetTitleCommand();
    h.ClickButton(1007);
    h.Type(dlg.LinkField(), QString::fromStdString(server.Url("/missing")));
    dlg.Health().GetTitleCommand();
    EXPECT_EQ(h.prompter.Texts(),
              (std::vector<std::string>{"The Title is filled in already.  Empty it to get the title of the page.",
                                        "Get Title from Page needs a web address (http or https) in the Link field.",
                                        "Could not get the title of " + server.Url("/missing") + ": not found."}));
    EXPECT_TRUE(dlg.TitleField()->text().isEmpty());

    // Several rows: the empty titles and descriptions of the web links, as one step. The
    // endless page is read to the limit of 64 KiB and gives no title, as does /notitle.
    h.ClickButton(1007);
    h.ClickRow(0);
    for (int row = 1; row < 6; ++row) h.ClickRow(row, Qt::ControlModifier);
    h.prompter.Clear();
    dlg.Health().GetTitleCommand();
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{
        "Got the titles of 2 links and the descriptions of 1 link.  2 pages gave none."});
    EXPECT_EQ(dlg.Store().At(0).Title(), "Caf\xC3\xA9 & Cr\xC3\xA8me \xE2\x80\x93 menu");
    EXPECT_EQ(dlg.Store().At(0).Description(), "Today's dishes");
    EXPECT_EQ(dlg.Store().At(1).Title(), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    EXPECT_EQ(dlg.Store().At(1).Description(), "Mine");
    EXPECT_EQ(dlg.Store().At(2).Title(), "");
    EXPECT_EQ(server.Requests("/ok"), 0);  // titled and described: not asked
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(dlg.Store().At(0).Title(), "");
    EXPECT_EQ(dlg.Store().At(0).Description(), "");
    EXPECT_EQ(dlg.Store().At(1).Title(), "");

    // A record whose link changes while its page is read is left as it is now.
    h.ClickRow(0);
    h.ClickRow(1, Qt::ControlModifier);
    h.prompter.Clear();
    QTimer::singleShot(0, [&] { dlg.Store().Edit(1).SetLink(server.Url("/gone")); });
    dlg.Health().GetTitleCommand();
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Got the titles of 1 link and the descriptions of 1 link."});
    EXPECT_EQ(dlg.Store().At(0).Title(), "Caf\xC3\xA9 & Cr\xC3\xA8me \xE2\x80\x93 menu");
    EXPECT_EQ(dlg.Store().At(1).Title(), "");

    // A titled row gains only its description, and is said so.
    dlg.UndoCommands().Step(false);
    dlg.Store().Edit(0).SetTitle("Kept");
    h.ClickRow(0);
    h.ClickRow(2, Qt::ControlModifier);
    h.prompter.Clear();
    dlg.Health().GetTitleCommand();
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Got the descriptions of 1 link.  1 page gave none."});
    EXPECT_EQ(dlg.Store().At(0).Title(), "Kept");
    EXPECT_TRUE(SpinUntil([&] { return server.Concurrent() == 0; }, 3000));
}

// Dead links' archived copies: asked for only after a Yes (No is the default, and a ticked
// box remembers the answer), shown with their day, used as one undoable step, opened.
TEST(LinkHealthWindow, ArchivedCopiesOfDeadLinksAfterAskingUsedAsOneStep)
{
    LoopbackHttpServer server;
    WindowHarness h;
    h.settings.WriteString("Archived Copies", "Service", server.Url(""));
    CAnnotatedLink gone = Link("Gone", server.Url("/gone"), 41532);  // added 15 September 2013
    gone.SetDescription("A note\r\nTags: old");
    h.WriteRecords({gone, Link("Missing nocopy", server.Url("/missing?nocopy")), Link("Fine", server.Url("/ok")),
                    Link("Broken badanswer", server.Url("/missing?badanswer"))});
    CLinksDlg& dlg = h.Open();
    h.prompter.Script({Prompter::Answer::Yes});
    PressKey(dlg, Qt::Key_K);
    CCheckLinksDlg* check = dlg.Health().CheckLinksWindow();
    ASSERT_TRUE(SpinUntil([&] { return !check->Running(); }));
    auto stateOf = [&](const std::string& title) {
        for (int row = 0; row < check->View()->model()->rowCount(); ++row)
            if (check->View()->model()->index(row, 0).data().toString().toStdString() == title)
                return check->View()->model()->index(row, CheckResultsModel::ColState).data().toString().toStdString();
        return std::string();
    };
    ChooseResults(*check, {"Fine"});
    EXPECT_FALSE(check->FindArchivedButton()->isEnabled()) << "a live link has no archived copy to find";
    ChooseResults(*check, {"Gone", "Missing nocopy", "Fine", "Broken badanswer"});
    ASSERT_TRUE(check->FindArchivedButton()->isEnabled());

    // No (Enter's and Esc's answer) sends nothing.
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::No});
    const int before = server.Requests("/wayback/available");
    QTest::mouseClick(check->FindArchivedButton(), Qt::LeftButton);
    const std::string question = "Norvelle will send the addresses of the selected links to the Internet Archive "
                                 "(archive.org) to look for archived copies.  Continue? [Do not ask again]";
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{question});
    EXPECT_FALSE(h.prompter.Messages().front().defaultYes);
    QApplication::processEvents();
    EXPECT_EQ(server.Requests("/wayback/available"), before);

    // Yes with the box ticked: asked once, and never again.
    h.prompter.Clear();
    h.prompter.Script({Prompter::Answer::Yes});
    h.prompter.tickCheckBox = true;
    QTest::mouseClick(check->FindArchivedButton(), Qt::LeftButton);
    ASSERT_TRUE(SpinUntil([&] { return !check->LookingUp(); }));
    EXPECT_EQ(server.Requests("/wayback/available"), before + 3);
    EXPECT_EQ(h.settings.ReadInt("Archived Copies", "Ask First", -1), 0);
    EXPECT_NE(stateOf("Gone").find("archived copy of 2013-09-15"), std::string::npos) << stateOf("Gone");
    EXPECT_NE(stateOf("Missing nocopy").find("no archived copy"), std::string::npos);
    EXPECT_NE(stateOf("Broken badanswer").find("the archive could not say: the answer is not the service's"), std::string::npos);
    EXPECT_EQ(stateOf("Fine"), "OK");
    h.prompter.Clear();
    ChooseResults(*check, {"Missing nocopy"});
    QTest::mouseClick(check->FindArchivedButton(), Qt::LeftButton);
    ASSERT_TRUE(SpinUntil([&] { return !check->LookingUp(); }));
    EXPECT_TRUE(h.prompter.Texts().empty()) << "asked again after Do not ask again";

    // Use Archived Copy: the copy's address, the old one kept above the tags line, one step.
    const std::string copy = server.Url("/web/20130915120000/") + "http%3A%2F%2F127.0.0.1%3A" + std::to_string(server.Port()) +
                             "%2Fgone";
    ChooseResults(*check, {"Gone", "Missing nocopy", "Fine"});
    ASSERT_TRUE(check->UseArchivedButton()->isEnabled());
    QTest::mouseClick(check->OpenArchivedButton(), Qt::LeftButton);
    QTest::mouseClick(check->UseArchivedButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.Store().At(0).Link(), copy);
    EXPECT_EQ(dlg.Store().At(0).Description(), "A note\r\nOriginal link: " + server.Url("/gone") + "\r\nTags: old");
    EXPECT_NE(stateOf("Gone").find("archived copy used"), std::string::npos);
    EXPECT_FALSE(check->UseArchivedButton()->isEnabled());
    PressKey(dlg, Qt::Key_Z);
    EXPECT_EQ(dlg.Store().At(0).Link(), server.Url("/gone"));
    EXPECT_EQ(dlg.Store().At(0).Description(), "A note\r\nTags: old");
    EXPECT_EQ(stateOf("Gone").find("archived copy used"), std::string::npos);
    PressKey(dlg, Qt::Key_Y);
    EXPECT_EQ(dlg.Store().At(0).Link(), copy);
    ASSERT_TRUE(SpinUntil([&] { return dlg.LaunchesFinished(); }));
    EXPECT_EQ(h.shell.Opened(), std::vector<std::string>{copy});
    h.Close();
}
