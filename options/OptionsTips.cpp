#include "options/OptionsTips.h"
#include "common/QtText.h"
#include "platform/Translate.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <map>

namespace {

// By the caption the control shows (or, for a field, the caption of its label).
std::map<QString, QString> Tips()
{
    static const std::pair<const char*, const char*> kTips[] = {
        // Saving
        {TrNoop("Options", "&After this many Add/Modify button presses:"), TrNoop("Options", "Saves the data file after this many presses of Add and Modify.")},
        {TrNoop("Options", "&Every this many minutes:"), TrNoop("Options", "Saves the data file on a timer, whenever something changed since the last save.")},
        {TrNoop("Options", "&When this program closes"), TrNoop("Options", "Saves the data file when Norvelle closes.")},
        {TrNoop("Options", "One more press"), TrNoop("Options", "Saves after one more press.")},
        {TrNoop("Options", "One press fewer"), TrNoop("Options", "Saves after one press fewer.")},
        {TrNoop("Options", "Data &File:"), TrNoop("Options", "The data file that holds your links: type a path, or choose one you used before.")},
        {TrNoop("Options", "&Load"), TrNoop("Options", "Opens the named data file in place of the links you have (it asks first if some are unsaved).")},
        {TrNoop("Options", "Appen&d"), TrNoop("Options", "Adds the links of the named data file to the ones you have.")},
        {TrNoop("Options", "&Save"), TrNoop("Options", "Writes a copy of your links into the named file now.")},
        {TrNoop("Options", "&New File"), TrNoop("Options", "Starts an empty collection, saved into the named file once you press OK.")},
        {TrNoop("Options", "&Remove"), TrNoop("Options", "Takes the name off this list; the file itself stays on disk.")},
        // Categories and Title Case
        {TrNoop("Options", "&Add"), TrNoop("Options", "Puts the name typed above into the list.")},
        {TrNoop("Options", "&Edit"), TrNoop("Options", "Takes the selected name into the field above to change it; Add puts it back.")},
        {TrNoop("Options", "&Delete"), TrNoop("Options", "Takes the selected names off the list.")},
        {TrNoop("Options", "&Rename this category in existing items."),
         TrNoop("Options", "With a name changed through Edit and Add, every link that has the old name gets the new one.")},
        {TrNoop("Options", "&Select when Clear button is pressed:"),
         TrNoop("Options", "What the Category field shows after Clear: the last category (LAST), none (NONE) or this one.")},
        {TrNoop("Options", "De&fault"), TrNoop("Options", "Brings back the built-in list of words that Title Case leaves as they are.")},
        {TrNoop("Options", "E&xceptions:"), TrNoop("Options", "Words that Title Case leaves in the letter case you typed them (a, of, the ...).")},
        // Searching
        {TrNoop("Options", "&Title fields"), TrNoop("Options", "The Search box looks in the titles.")},
        {TrNoop("Options", "&Description fields"), TrNoop("Options", "The Search box looks in the descriptions.")},
        {TrNoop("Options", "&Category fields"), TrNoop("Options", "The Search box looks in the categories.")},
        {TrNoop("Options", "&Link fields"), TrNoop("Options", "The Search box looks in the links.")},
        {TrNoop("Options", "&Position reference point for Previous and Next buttons on the last link found."),
         TrNoop("Options", "A search shows its last match first, and Previous and Next step from there.")},
        {TrNoop("Options", "&Allow typos (typographical errors)."),
         TrNoop("Options", "Finds a word also with a letter swapped, missing, extra or wrong.")},
        {TrNoop("Options", "Typo &Separation:"), TrNoop("Options", "How far apart two typos in one word must be for the word to match.")},
        {TrNoop("Options", "&Use interruptible incremental searching."),
         TrNoop("Options", "Searches very large collections in the background, so that typing never waits for the search.")},
        // Numbers
        {TrNoop("Options", "&Insert thousands separators."), TrNoop("Options", "Writes every count with a separator between thousands (1,234).")},
        {TrNoop("Options", "&Comma"), TrNoop("Options", "1,234")},
        {TrNoop("Options", "&Dot"), TrNoop("Options", "1.234")},
        {TrNoop("Options", "&Space"), TrNoop("Options", "1 234")},
        {TrNoop("Options", "&Other:"), TrNoop("Options", "A separator of your choice, typed into the field beside it.")},
        {TrNoop("Options", "Other separator"), TrNoop("Options", "The separator of your choice: one character.")},
        // Misc.
        {TrNoop("Options", "Move the first line in the Description field to an empty &Title field."),
         TrNoop("Options", "Add and Modify move the first line of the Description into an empty Title.")},
        {TrNoop("Options", "Move the last line in the Description field to an empty &Link field."),
         TrNoop("Options", "Add and Modify move the last line of the Description into an empty Link.")},
        {TrNoop("Options", "When retrieving an item, &copy its link to the clipboard."),
         TrNoop("Options", "Picking a row copies its link, ready to paste.")},
        {TrNoop("Options", "When &deleting items, ask for confirmation."), TrNoop("Options", "Delete asks before it takes links out of the list.")},
        {TrNoop("Options", "&Save changes to the current annotated link when the program moves away from it or closes."),
         TrNoop("Options", "An edit typed into the form is stored when you pick another row, open Options or close Norvelle.")},
        {TrNoop("Options", "&Restore previous window position."), TrNoop("Options", "Norvelle opens where you left it.")},
        {TrNoop("Options", "Show tips &on start-up."), TrNoop("Options", "Shows the Tip of the Day when Norvelle starts.")},
        {TrNoop("Options", "Look for &archived copies of dead links at the Internet Archive."),
         TrNoop("Options", "Check Links may send the addresses of dead links to archive.org to find saved copies of their pages.")},
    };
    // Made at each use, in the language in use.
    std::map<QString, QString> tips;
    for (const auto& [caption, tip] : kTips) tips[QTr("Options", caption)] = QTr("Options", tip);
    return tips;
}

}  // namespace

void GiveOptionsTips(QWidget& page)
{
    const auto tips = Tips();
    auto tip = [&tips](const QString& caption) {
        auto it = tips.find(caption);
        return it == tips.end() ? QString() : it->second;
    };
    for (auto* button : page.findChildren<QAbstractButton*>())
        if (QString text = tip(button->text()); !text.isEmpty()) button->setToolTip(text);
    for (auto* label : page.findChildren<QLabel*>()) {
        const QString text = tip(label->text());
        if (text.isEmpty()) continue;
        label->setToolTip(text);
        if (label->buddy()) label->buddy()->setToolTip(text);
    }
    // A control named like a caption it stands beside ("Every this many minutes") shares its tip.
    for (auto* widget : page.findChildren<QWidget*>()) {
        if (!widget->toolTip().isEmpty() || widget->accessibleName().isEmpty()) continue;
        for (const auto& [caption, text] : tips) {
            QString plain = caption;
            plain.remove('&');
            while (plain.endsWith(':') || plain.endsWith('.')) plain.chop(1);
            if (plain == widget->accessibleName()) widget->setToolTip(text);
        }
    }
    // A name list's field and list have no caption of their own.
    for (auto* field : page.findChildren<QLineEdit*>())
        if (field->toolTip().isEmpty() && !qobject_cast<QComboBox*>(field->parentWidget()))
            field->setToolTip(QTr("Options", "Type a name, then press Add or Enter."));
    for (auto* list : page.findChildren<QListWidget*>())
        if (list->toolTip().isEmpty()) list->setToolTip(QTr("Options", "Select names to Edit or Delete them."));
}
