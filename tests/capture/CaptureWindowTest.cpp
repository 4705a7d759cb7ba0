#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <nlohmann/json.hpp>

#include "app/LinkListCtrl.h"
#include "tests/support/WindowHarness.h"

using nlohmann::json;

namespace {

json Ask(CLinksDlg& dlg, const json& message) { return json::parse(dlg.AnswerBrowser(message.dump())); }

}  // namespace

// A person at the window while links arrive from the browser: each arrives as one step of
// its own, shown and selected, and the person's unstored typing is never touched.
TEST(CaptureInWindow, LinksFromTheBrowserAreTheWindowsOwnStepsAndLeaveTheFormAlone)
{
    WindowHarness h;
    h.WriteDataFile({"Alpha", "Beta"});
    CLinksDlg& dlg = h.Open();
    dlg.UndoCommands().SetPreview(false);

    // Reading answers come from the links in the window, by the duplicate rule.
    EXPECT_EQ(Ask(dlg, {{"type", "hello"}})["windowOpen"], true);
    const json found = Ask(dlg, {{"type", "lookup"}, {"url", "https://www.example.com/1/"}});
    EXPECT_EQ(found["link"]["title"], "Beta");
    EXPECT_EQ(found["link"]["description"], "Description 1");

    // An unedited form shows the new link, selected; one Undo takes it out.
    const json added = Ask(dlg, {{"type", "add"}, {"url", "https://new.example/"}, {"title", " Gamma "},
                                 {"category", "Reading"}, {"description", "picked text"}});
    ASSERT_TRUE(added["added"].get<bool>()) << added;
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(dlg.TitleField()->text(), "Gamma");
    EXPECT_EQ(dlg.Store().At(2).Category(), "Reading");
    EXPECT_EQ(h.Label(1096), "3 Total Links");
    EXPECT_TRUE(dlg.Store().IsChanged());
    EXPECT_FALSE(Ask(dlg, {{"type", "add"}, {"url", "http://new.example"}})["added"].get<bool>());
    EXPECT_EQ(dlg.Store().Count(), 3);
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"Alpha", "Beta"}));
    dlg.UndoCommands().Step(true);
    EXPECT_EQ(Titles(dlg), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));

    // The person types into Alpha's form: a link from the browser joins the list, and the
    // typing, the selection and the form stay as they were.
    h.ClickRow(0);
    h.Type(dlg.TitleField(), ", being renamed");
    ASSERT_TRUE(dlg.IsEdited());
    ASSERT_TRUE(Ask(dlg, {{"type", "add"}, {"url", "https://delta.example/"}, {"title", "Delta"}})["added"].get<bool>());
    EXPECT_EQ(dlg.TitleField()->text(), "Alpha, being renamed");
    EXPECT_TRUE(dlg.IsEdited());
    EXPECT_EQ(h.SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(dlg.Store().At(3).Title(), "Delta");
    // Alpha itself is not changed under the typing; another link is, keeping its
    // description when none is sent.
    EXPECT_EQ(Ask(dlg, {{"type", "update"}, {"url", "http://example.com/0"}, {"title", "X"}})["error"],
              "This link is being edited in Norvelle. Finish the edit there first.");
    const json updated = Ask(dlg, {{"type", "update"}, {"url", "http://example.com/1"}, {"title", "Beta 2"}});
    EXPECT_FALSE(updated["added"].get<bool>()) << updated;
    EXPECT_EQ(dlg.Store().At(1).Title(), "Beta 2");
    EXPECT_EQ(dlg.Store().At(1).Description(), "Description 1");
    EXPECT_EQ(dlg.Store().At(1).Link(), "http://example.com/1");
    EXPECT_EQ(dlg.TitleField()->text(), "Alpha, being renamed");
    dlg.UndoCommands().Step(false);
    EXPECT_EQ(dlg.Store().At(1).Title(), "Beta");

    // While the window asks a question, nothing changes and the browser is told why.
    QTimer::singleShot(0, [&] {
        const json busy = Ask(dlg, {{"type", "add"}, {"url", "https://later.example/"}});
        EXPECT_NE(busy["error"].get<std::string>().find("waiting for an answer"), std::string::npos) << busy;
        QApplication::activeModalWidget()->close();
    });
    QMessageBox::information(&dlg, "Norvelle", "A question");
    EXPECT_EQ(dlg.Store().Count(), 4);
    EXPECT_EQ(Ask(dlg, {{"type", "add"}})["error"], "The message has no address (\"url\").");
}
