#include <gtest/gtest.h>

#include <QSignalSpy>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/LinkListCtrl.h"
#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "options/CategoriesPage.h"
#include "options/MiscPage.h"
#include "options/NumbersPage.h"
#include "options/SavingPage.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "options/SearchingPage.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/WindowHarness.h"
#include "options/TitleCasePage.h"

namespace fs = std::filesystem;

namespace {

template <class Page>
Page& PageOf(COptionsSheet& sheet, COptionsSheet::Page page)
{
    return *static_cast<Page*>(sheet.PageAt(page));
}

// Opens the Options sheet of the window and lets the test work in it.
bool InOptions(WindowHarness& h, const std::function<void(COptionsSheet&)>& work)
{
    h.cancelOptions = false;
    DialogAnswer<COptionsSheet> answer(work);
    QApplication::setActiveWindow(&h.Dlg());
    h.Dlg().Options().Open(COptionsController::SavingPage);
    h.cancelOptions = true;
    return answer.seen;
}

std::vector<std::string> Rows(CSortedListBox& list)
{
    std::vector<std::string> rows;
    for (int i = 0; i < list.count(); ++i) rows.push_back(list.item(i)->text().toStdString());
    return rows;
}

}  // namespace

TEST(OptionsSheet, SavingPageChecksRestartsTheTimerAndHandlesDataFiles)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b"});
    CLinksDlg& dlg = h.Open();
    const std::string docs = h.paths.docs + "/";

    // Defaults; all three check boxes off, then limits 0, 100 and "abc" are refused.
    EXPECT_TRUE(InOptions(h, [&](COptionsSheet& sheet) {
        EXPECT_EQ(sheet.windowTitle(), "Options");
        EXPECT_EQ(sheet.CurrentPage(), COptionsSheet::Saving);
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        EXPECT_TRUE(page.PressesBox()->isChecked() && page.TimerBox()->isChecked() && page.CloseBox()->isChecked());
        EXPECT_EQ(page.LimitField()->text(), "5");
        EXPECT_EQ(page.MinutesList()->currentText(), "30");
        EXPECT_EQ(page.StatusLabel()->text(), "0 button presses");
        EXPECT_EQ(page.DataFileBox()->currentText().toStdString(), h.DataPath());
        // An Alt key that names no control types nothing here either.
        QTest::keyClick(page.DataFileBox()->lineEdit(), Qt::Key_Z, Qt::AltModifier);
        EXPECT_EQ(page.DataFileBox()->currentText().toStdString(), h.DataPath());
        EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
        for (QCheckBox* box : {page.PressesBox(), page.TimerBox(), page.CloseBox()}) box->setChecked(false);
        EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
        h.prompter.Clear();
        sheet.accept();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Please choose at least one option for saving changes to disk."});
        EXPECT_TRUE(sheet.isVisible());
        page.PressesBox()->setChecked(true);
        for (const char* limit : {"0", "100", "abc", ""}) {
            page.LimitField()->setText(limit);
            h.prompter.Clear();
            sheet.ShowPage(COptionsSheet::Misc);  // leaving is refused too
            EXPECT_EQ(sheet.CurrentPage(), COptionsSheet::Saving);
            EXPECT_EQ(h.prompter.Texts().at(0), std::string(*limit == '0' || *limit == '1' ? "Please enter an integer between 1 and 99."
                                                                                            : "Please enter an integer."))
                << limit;
        }
        page.LimitField()->setText("7");
        page.TimerBox()->setChecked(true);
        page.MinutesList()->setCurrentIndex(0);  // 30 -> 10 minutes
        page.DataFileBox()->setEditText(QString(260, 'x'));
        h.prompter.Clear();
        sheet.accept();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Please enter no more than 259 characters."});
        page.DataFileBox()->setEditText("Norvelle.dat");  // a bare name: in the documents folder
        sheet.accept();
    }));
    EXPECT_EQ(dlg.Settings().dataFile, h.DataPath());
    EXPECT_EQ(dlg.Settings().saveLimit, 7);
    EXPECT_EQ(dlg.Settings().timerIndex, 0);
    EXPECT_EQ(dlg.SaveTimer().interval(), 600000);
    EXPECT_GT(dlg.SaveTimer().remainingTime(), 599000);
    EXPECT_EQ(h.settings.ReadInt("Saving", "Save Limit", -1), 7);

    // Nothing changed: the running timer is left as it was.
    QTest::qWait(30);
    const int remaining = dlg.SaveTimer().remainingTime();
    InOptions(h, [](COptionsSheet& sheet) { sheet.accept(); });
    EXPECT_LE(dlg.SaveTimer().remainingTime(), remaining);

    // New File: the name to type over, a Save first when there are changes; the window
    // is emptied when OK takes the new file, which is not there to be loaded yet.
    dlg.Store().SetChanged();
    QSignalSpy switched(&dlg, &CLinksDlg::dataFileInEffect);
    h.prompter.Script({Prompter::Answer::Yes});
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        h.prompter.Clear();
        page.NewFile();
        EXPECT_EQ(h.prompter.Texts(), (std::vector<std::string>{"Do you want to save your changes? [&Yes] [&No]",
                                                                "Finished writing to the data file."}));
        EXPECT_EQ(dlg.Store().Count(), 2);
        const QString fresh = QString::fromStdString(docs + "NewFile.dat");
        EXPECT_EQ(page.DataFileBox()->currentText(), fresh);
        EXPECT_EQ(page.DataFileBox()->lineEdit()->selectedText(), "NewFile");
        h.prompter.Clear();
        sheet.accept();
        EXPECT_TRUE(h.prompter.Texts().empty());
    });
    EXPECT_EQ(dlg.Store().Count(), 0);
    EXPECT_EQ(dlg.Persistence().DataPath(), docs + "NewFile.dat");
    // The one-window-per-file hold follows the window to the new file.
    ASSERT_EQ(switched.count(), 1);
    EXPECT_EQ(switched[0][0].toString().toStdString(), docs + "NewFile.dat");
    EXPECT_EQ(dlg.Settings().dataFiles, (std::vector<std::string>{h.DataPath(), docs + "NewFile.dat"}));

    // Load brings the old file back; Remove on the only name leaves the default one.
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        page.DataFileBox()->setEditText(QString::fromStdString(h.DataPath()));
        h.prompter.Clear();
        page.Load();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Finished reading from the data file."});
        EXPECT_EQ(dlg.Store().Count(), 2);
        // A folder or a newer file is refused and the links stay.
        for (const std::string& bad : {h.paths.docs, h.paths.docs + "/missing.dat"}) {
            page.DataFileBox()->setEditText(QString::fromStdString(bad));
            h.prompter.Clear();
            page.Load();
            EXPECT_EQ(h.prompter.Texts().size(), 1u);
            EXPECT_EQ(dlg.Store().Count(), 2);
        }
        while (page.DataFileBox()->count() > 1) page.DataFileBox()->removeItem(1);
        page.DataFileBox()->setEditText(page.DataFileBox()->itemText(0));
        page.Remove();
        EXPECT_EQ(page.DataFileBox()->count(), 1);
        EXPECT_EQ(page.DataFileBox()->currentText().toStdString(), docs + "Norvelle.dat");
        sheet.reject();
    });
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());
    dlg.Store().SetChanged(false);
}

TEST(OptionsSheet, NewFileAndAnotherDataFileLoseNoLinks)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b"});
    const std::string other = h.paths.docs + "/B.dat";
    fs::copy_file(h.DataPath(), other);
    h.WriteDataFile({"mine"});
    CLinksDlg& dlg = h.Open();

    // New File, then Cancel: nothing happened.
    InOptions(h, [&](COptionsSheet& sheet) {
        PageOf<CSavingPage>(sheet, COptionsSheet::Saving).NewFile();
        sheet.reject();
    });
    EXPECT_EQ(dlg.Store().Count(), 1);
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());
    // New File named like the file in use: its links would go, so the person is asked.
    h.prompter.ScriptChoices({2});
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        page.NewFile();
        page.DataFileBox()->setEditText(QString::fromStdString(h.DataPath()));
        h.prompter.Clear();
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(h.prompter.Texts().size(), 1u);
        EXPECT_NE(h.prompter.Texts()[0].find("already holds 1 link."), std::string::npos);
        sheet.reject();
    });
    EXPECT_EQ(dlg.Store().Count(), 1);

    // Another data file that holds links: the person is told which and how many, and
    // Cancel keeps the sheet open and the window on its file.
    const auto chooseOther = [&](int choice, bool closes) {
        h.prompter.Clear();
        h.prompter.ScriptChoices({choice});
        InOptions(h, [&](COptionsSheet& sheet) {
            PageOf<CSavingPage>(sheet, COptionsSheet::Saving).DataFileBox()->setEditText(QString::fromStdString(other));
            sheet.accept();
            EXPECT_EQ(sheet.isVisible(), !closes);
            if (sheet.isVisible()) sheet.reject();
        });
    };
    chooseOther(2, false);
    ASSERT_EQ(h.prompter.Texts().size(), 1u);
    EXPECT_EQ(h.prompter.Texts()[0], "\"" + other + "\" already holds 2 links.\n\nLoad them into the window, or replace "
                                     "them with the links of this window? [&Load It] [&Replace It] [&Cancel]");
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());

    // Replace It: the window's links go there at the next save, without another question.
    chooseOther(1, true);
    EXPECT_EQ(dlg.Persistence().DataPath(), other);
    EXPECT_TRUE(dlg.Store().IsChanged());
    h.prompter.Clear();
    h.Close();
    EXPECT_TRUE(h.prompter.Texts().empty());
    EXPECT_EQ(TitlesIn(other), std::vector<std::string>{"mine"});
    EXPECT_EQ(TitlesIn(h.DataPath()), std::vector<std::string>{"mine"});

    // Load It takes the other file's links into the window.
    fs::copy_file(h.DataPath(), h.paths.docs + "/C.dat");
    h.WriteDataFile({"x", "y", "z"});
    h.settings.WriteString("Saving", "Data File", h.paths.docs + "/C.dat");
    CLinksDlg& again = h.Open();
    h.prompter.ScriptChoices({0});
    InOptions(h, [&](COptionsSheet& sheet) {
        PageOf<CSavingPage>(sheet, COptionsSheet::Saving).DataFileBox()->setEditText(QString::fromStdString(h.DataPath()));
        sheet.accept();
    });
    EXPECT_EQ(again.Store().Count(), 3);
    EXPECT_EQ(again.Persistence().DataPath(), h.DataPath());

    // A copy saved elsewhere, then Cancel and Close: the new link is still saved where it
    // belongs, because a copy elsewhere does not make the links saved.
    h.Type(again.TitleField(), "typed");
    h.ClickButton(1026);
    ASSERT_TRUE(again.Store().IsChanged());
    const std::string copy = h.paths.docs + "/copy.dat";
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        page.DataFileBox()->setEditText(QString::fromStdString(copy));
        page.Save();
        sheet.reject();
    });
    EXPECT_EQ(TitlesIn(copy), (std::vector<std::string>{"x", "y", "z", "typed"}));
    EXPECT_TRUE(again.Store().IsChanged());
    h.Close();
    EXPECT_EQ(TitlesIn(h.DataPath()), (std::vector<std::string>{"x", "y", "z", "typed"}));

    // Load another file, then Cancel: the window goes on with it, a new link is saved
    // there, and the next start opens it too.
    CLinksDlg& third = h.Open();
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& page = PageOf<CSavingPage>(sheet, COptionsSheet::Saving);
        page.DataFileBox()->setEditText(QString::fromStdString(other));
        page.Load();
        sheet.reject();
    });
    EXPECT_EQ(third.Persistence().DataPath(), other);
    h.Type(third.TitleField(), "in B");
    h.ClickButton(1026);
    h.Close();
    EXPECT_EQ(TitlesIn(other), (std::vector<std::string>{"mine", "in B"}));
    EXPECT_EQ(h.Open().Persistence().DataPath(), other);
    h.Close();
}

TEST(OptionsSheet, CategoriesRenameAndClearList)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b", "c"}, 0);
    CLinksDlg& dlg = h.Open();
    for (const char* name : {"Music", "News", "Item 10", "Item 9", "item 2"}) dlg.Store().InsertCategorySorted(name);
    dlg.Store().Edit(0).SetCategory("Music");
    dlg.Store().Edit(1).SetCategory("music");
    dlg.Store().SetClearSelection("News");
    InOptions(h, [&](COptionsSheet& sheet) {
        sheet.ShowPage(COptionsSheet::Categories);
        auto& page = PageOf<CCategoriesPage>(sheet, COptionsSheet::Categories);
        EXPECT_EQ(Rows(*page.CategoryList()), (std::vector<std::string>{"item 2", "Item 9", "Item 10", "Music", "News"}));
        EXPECT_EQ(page.ClearList()->currentText(), "News");
        EXPECT_EQ(page.ClearList()->itemText(0), "LAST");
        EXPECT_EQ(page.ClearList()->itemText(1), "NONE");
        EXPECT_FALSE(page.RenameBox()->isEnabled());

        page.NameField()->setText("news");
        h.prompter.Clear();
        page.Add();
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"This category already exists in the list."});
        EXPECT_EQ(page.NameField()->text(), "news");
        EXPECT_TRUE(page.CategoryList()->item(4)->isSelected());
        page.NameField()->setText("   ");
        page.Add();
        EXPECT_EQ(page.CategoryList()->count(), 5);
        // Enter in the field adds the name and leaves the sheet open.
        page.NameField()->setText("Fresh");
        QTest::keyClick(page.NameField(), Qt::Key_Return);
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(page.CategoryList()->count(), 6);
        page.CategoryList()->clearSelection();
        page.CategoryList()->setCurrentRow(page.CategoryList()->FindNoCase("Fresh"));
        page.Delete();

        // Music -> Songs, renamed in the links that have exactly "Music".
        page.CategoryList()->clearSelection();
        page.CategoryList()->setCurrentRow(3);
        page.Edit();
        EXPECT_EQ(page.NameField()->text(), "Music");
        EXPECT_TRUE(page.RenameBox()->isEnabled());
        page.RenameBox()->setChecked(true);
        page.NameField()->setText("Songs");
        page.Add();
        // Deleting the chosen Clear category selects LAST.
        page.CategoryList()->clearSelection();
        page.CategoryList()->item(3)->setSelected(true);  // News
        page.Delete();
        EXPECT_EQ(page.ClearList()->currentText(), "LAST");
        EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
        QTest::mouseClick(sheet.ApplyButton(), Qt::LeftButton);
        sheet.reject();  // Cancel after Apply: what Apply did stays
    });
    EXPECT_EQ(dlg.Store().Categories(), (std::vector<std::string>{"item 2", "Item 9", "Item 10", "Songs"}));
    EXPECT_EQ(dlg.Store().At(0).Category(), "Songs");
    EXPECT_EQ(dlg.Store().At(1).Category(), "music");
    EXPECT_TRUE(dlg.Store().IsChanged());
    EXPECT_FALSE(h.settings.Has("Saving", "Save Limit"));  // not written after Cancel

    // The same name renamed twice (kept as it was, then changed): the links follow the
    // last rename, and their name is in the list.
    dlg.Store().Edit(2).SetCategory("Item 9");
    InOptions(h, [&](COptionsSheet& sheet) {
        sheet.ShowPage(COptionsSheet::Categories);
        auto& page = PageOf<CCategoriesPage>(sheet, COptionsSheet::Categories);
        for (const char* to : {"Item 9", "Item 99"}) {
            page.CategoryList()->clearSelection();
            page.CategoryList()->setCurrentRow(page.CategoryList()->FindNoCase("Item 9"));
            page.Edit();
            page.RenameBox()->setChecked(true);
            page.NameField()->setText(to);
            page.Add();
        }
        sheet.accept();
    });
    EXPECT_EQ(dlg.Store().At(2).Category(), "Item 99");
    EXPECT_TRUE(dlg.Store().HasCategory("Item 99"));
    EXPECT_FALSE(dlg.Store().HasCategory("Item 9"));
    dlg.Store().SetChanged(false);
}

TEST(OptionsSheet, SearchingNumbersMiscAndTitleCasePages)
{
    WindowHarness h;
    std::vector<std::string> titles(1234, "t");
    h.WriteDataFile(titles);
    h.settings.WriteString("Numbers", "Thousands Separator", "#");
    CLinksDlg& dlg = h.Open();
    EXPECT_EQ(h.Label(1096), "1#234 Total Links");
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& searching = PageOf<CSearchingPage>(sheet, COptionsSheet::Searching);
        EXPECT_FALSE(searching.SeparationSlider()->isEnabled() || searching.SeparationLabel()->isEnabled());
        EXPECT_EQ(searching.SeparationSlider()->value(), 2);
        searching.TyposBox()->setChecked(true);
        EXPECT_TRUE(searching.SeparationSlider()->isEnabled() && searching.SeparationLabel()->isEnabled());

        auto& numbers = PageOf<CNumbersPage>(sheet, COptionsSheet::Numbers);
        EXPECT_TRUE(numbers.Choice(3)->isChecked());
        EXPECT_EQ(numbers.OtherField()->text(), "#");
        numbers.OtherField()->clear();
        sheet.ShowPage(COptionsSheet::Numbers);
        QTest::mouseClick(sheet.ApplyButton(), Qt::LeftButton);
        EXPECT_EQ(h.Label(1096), "1,234 Total Links");  // an empty Other gives the comma, at once
        numbers.UseBox()->setChecked(false);
        EXPECT_FALSE(numbers.Choice(0)->isEnabled() || numbers.OtherField()->isEnabled());

        auto& misc = PageOf<CMiscPage>(sheet, COptionsSheet::Misc);
        sheet.ShowPage(COptionsSheet::Misc);
        misc.Box(3)->setChecked(false);  // Confirm Delete

        auto& titleCase = PageOf<CTitleCasePage>(sheet, COptionsSheet::TitleCase);
        for (int i = 0; i < titleCase.WordList()->count(); ++i)
            if (titleCase.WordList()->item(i)->text() == "vs") titleCase.WordList()->setCurrentRow(i);
        titleCase.Edit();
        titleCase.WordField()->setText("VS");
        titleCase.Add();
        sheet.accept();
    });
    EXPECT_EQ(h.Label(1096), "1234 Total Links");
    EXPECT_EQ(dlg.Button(1014)->text(), "&Delete!");
    EXPECT_TRUE(dlg.Settings().allowTypos);
    std::string title = "rock vs roll";
    std::vector<std::string> words;
    dlg.SystemCommand(0);  // nothing
    dlg.TitleField()->setText("rock vs roll");
    dlg.List().States().ClearSelection();
    dlg.TitleCaseCommand();
    EXPECT_EQ(dlg.TitleField()->text(), "Rock VS Roll");
    EXPECT_EQ(h.settings.ReadInt("Misc", "Confirm Delete", -1), 0);

    // Default brings the 28 words back; Confirm Delete on gives the caption back.
    InOptions(h, [&](COptionsSheet& sheet) {
        auto& titleCase = PageOf<CTitleCasePage>(sheet, COptionsSheet::TitleCase);
        titleCase.Default();
        EXPECT_EQ(titleCase.WordList()->count(), 28);
        PageOf<CMiscPage>(sheet, COptionsSheet::Misc).Box(3)->setChecked(true);
        sheet.ShowPage(COptionsSheet::Misc);
        sheet.accept();
    });
    EXPECT_EQ(dlg.Button(1014)->text(), "&Delete...");
    dlg.TitleField()->setText("rock vs roll");
    dlg.TitleCaseCommand();
    EXPECT_EQ(dlg.TitleField()->text(), "Rock vs Roll");
}

TEST(OptionsSheet, TheFormFollowsARenameAndAChangeOfTheListNeverEditsIt)
{
    WindowHarness h;
    h.WriteDataFile({"a", "b"});
    CLinksDlg& dlg = h.Open();
    for (const char* name : {"Music", "News"}) dlg.Store().InsertCategorySorted(name);
    dlg.Store().Edit(0).SetCategory("Music");
    dlg.Store().Edit(1).SetCategory("News");
    auto listEdit = [&](const char* name, const char* renamed) {
        InOptions(h, [&](COptionsSheet& sheet) {
            sheet.ShowPage(COptionsSheet::Categories);
            auto& page = PageOf<CCategoriesPage>(sheet, COptionsSheet::Categories);
            page.CategoryList()->clearSelection();
            page.CategoryList()->setCurrentRow(page.CategoryList()->FindNoCase(name));
            if (renamed) {
                page.Edit();
                page.RenameBox()->setChecked(true);
                page.NameField()->setText(renamed);
                page.Add();
            } else {
                page.CategoryList()->item(page.CategoryList()->currentRow())->setSelected(true);
                page.Delete();
            }
            sheet.accept();
        });
    };
    // Row 0 shown with the focus in its Category field: a rename of its category is
    // followed by the form, which is not edited by it.
    h.ClickRow(0);
    dlg.CategoryBox()->setFocus();
    listEdit("Music", "Songs");
    EXPECT_EQ(dlg.CategoryBox()->currentText().toStdString(), "Songs");
    EXPECT_FALSE(dlg.IsEdited());
    h.ClickRow(1);
    EXPECT_EQ(dlg.Store().At(0).Category(), "Songs");

    // Row 1's category goes from the list: the record keeps it, and so does the form.
    dlg.CategoryBox()->setFocus();
    listEdit("News", nullptr);
    EXPECT_FALSE(dlg.Store().HasCategory("News"));
    EXPECT_FALSE(dlg.IsEdited());
    h.ClickRow(0);
    EXPECT_EQ(dlg.Store().At(1).Category(), "News");
    dlg.Store().SetChanged(false);
}

TEST(OptionsSheet, ADataFileMustBeAFileInAFolderThatExists)
{
    // Typed at OK: neither a chain of folders is made nor a folder taken for a data file;
    // the sheet says why and stays.
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    const std::string missing = (h.temp.path / "no" / "such" / "links.dat").string();
    const std::string folder = h.temp.path.string();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {missing, "The folder of \"" + missing + "\" does not exist.  Please choose a data file in a folder that exists."},
        {folder, "\"" + folder + "\" is a folder.  Please enter the name of a data file."},
    };
    for (const auto& [name, message] : cases) {
        h.prompter.Clear();
        bool stayed = false;
        InOptions(h, [&](COptionsSheet& sheet) {
            PageOf<CSavingPage>(sheet, COptionsSheet::Saving).DataFileBox()->setEditText(QString::fromStdString(name));
            sheet.accept();
            stayed = sheet.isVisible();
            if (stayed) sheet.reject();
        });
        EXPECT_TRUE(stayed) << name;
        EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{message});
    }
    EXPECT_FALSE(fs::exists(h.temp.path / "no"));
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());
    // A save into a folder that is not there makes none either.
    h.prompter.Clear();
    EXPECT_FALSE(dlg.Persistence().SaveDataFile(&missing));
    EXPECT_EQ(h.prompter.Texts(), std::vector<std::string>{"Could not save annotated links into \"" + missing +
                                                           "\".  The folder does not exist."});
    EXPECT_FALSE(fs::exists(h.temp.path / "no"));
}

TEST(OptionsSheet, FileNamesThatDifferOnlyInCaseAreTwoFilesHere)
{
    // On Linux "norvelle.dat" is another file than "Norvelle.dat": choosing it asks about
    // its links instead of taking it for the file in use.
    WindowHarness h;
    h.WriteDataFile({"a"});
    CLinksDlg& dlg = h.Open();
    const std::string other = (fs::path(h.DataPath()).parent_path() / "norvelle.dat").string();
    {
        LinkStore store;
        EXPECT_TRUE(store.InsertLink(0, "theirs", "l", "", "", {0, 1}, {0, 1}));
        StringSink bytes;
        WriteDataFile(store, bytes);
        std::ofstream(other, std::ios::binary) << bytes.bytes;
    }
    h.prompter.Clear();
    h.prompter.ScriptChoices({2});  // Cancel
    InOptions(h, [&](COptionsSheet& sheet) {
        PageOf<CSavingPage>(sheet, COptionsSheet::Saving).DataFileBox()->setEditText(QString::fromStdString(other));
        sheet.accept();
        if (sheet.isVisible()) sheet.reject();
    });
    ASSERT_EQ(h.prompter.Texts().size(), 1u);
    EXPECT_NE(h.prompter.Texts()[0].find("\"" + other + "\" already holds 1 link"), std::string::npos)
        << h.prompter.Texts()[0];
    EXPECT_EQ(dlg.Persistence().DataPath(), h.DataPath());
}
