#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/FormFields.h"
#include "store/AnnotatedLink.h"
#include "store/LinkDate.h"

namespace {

// The form's four fields and its date, as the window has them.
struct Form {
    QLineEdit title;
    QLineEdit link;
    QPlainTextEdit description;
    QComboBox category;
    QLabel date;
    CFormFields fields{title, link, description, category, date, nullptr};

    Form() { category.setEditable(true); }
};

const std::vector<std::string> kNames = {"Music", "News", "Work"};

}  // namespace

TEST(FormFields, WhatTheProgramFillsIsNoEditAndWhatThePersonTypesIs)
{
    Form form;
    CAnnotatedLink record("Title", "https://example.com/", "one\r\ntwo", "Work", CLinkDate{}, CLinkDate{});
    form.fields.Show(record);
    form.fields.SetDescription("other");
    form.fields.ListCategories(kNames);
    form.fields.RenameCategories({{"Work", "Job"}});
    EXPECT_FALSE(form.fields.Edited());
    EXPECT_EQ(form.fields.Category(), "Job");
    EXPECT_EQ(form.fields.Shows(), 1u);

    QTest::keyClicks(&form.title, "!");
    EXPECT_TRUE(form.fields.Edited());
    form.fields.Clear();
    EXPECT_FALSE(form.fields.Edited());
    EXPECT_TRUE(form.date.text().isEmpty());
    form.description.setPlainText("typed");  // the person's text, as a paste gives it
    EXPECT_TRUE(form.fields.Edited());
}

TEST(FormFields, TheCategoryFieldFollowsTheList)
{
    // field: what the Category field holds; shows: it shows a record whose category is
    // "Old"; then the list becomes kNames.
    struct Case {
        const char* field;
        bool showsRecord;
        const char* afterReplace;  // KeepListedCategory
        const char* afterChoose;   // ChooseCategory("news"), which keeps an unlisted field
    } cases[] = {
        {"news", false, "News", "News"},     // listed: the list's spelling
        {"Gone", false, "", "News"},         // no longer listed: emptied
        {"", false, "", "News"},
        {"Old", true, "Old", "News"},        // the shown record's own category stays
        {"Typed", true, "", "News"},         // a typed one that is not listed goes
    };
    for (const Case& c : cases) {
        Form form;
        if (c.showsRecord)
            form.fields.Show(CAnnotatedLink("t", "l", "", "Old", CLinkDate{}, CLinkDate{}));
        form.category.setEditText(c.field);
        form.fields.KeepListedCategory(kNames, c.showsRecord);
        EXPECT_EQ(form.category.currentText().toStdString(), c.afterReplace) << c.field;
        EXPECT_TRUE(form.fields.ChooseCategory("news", kNames));
        EXPECT_EQ(form.category.currentText().toStdString(), c.afterChoose) << c.field;
        EXPECT_FALSE(form.fields.ChooseCategory("Nowhere", kNames));
        EXPECT_EQ(form.category.currentText().toStdString(), c.afterChoose) << c.field;
        EXPECT_FALSE(form.fields.Edited()) << c.field;
    }
}
