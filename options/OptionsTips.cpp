#include "options/OptionsTips.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <map>

namespace {

// By the caption the control shows (or, for a field, the caption of its label).
const std::map<QString, const char*>& Tips()
{
    static const std::map<QString, const char*> tips = {
        // Saving
        {"&After this many Add/Modify button presses:", "Saves the data file after this many presses of Add and Modify."},
        {"&Every this many minutes:", "Saves the data file on a timer, whenever something changed since the last save."},
        {"&When this program closes", "Saves the data file when Norvelle closes."},
        {"One more press", "Saves after one more press."},
        {"One press fewer", "Saves after one press fewer."},
        {"Data &File:", "The data file that holds your links: type a path, or choose one you used before."},
        {"&Load", "Opens the named data file in place of the links you have (it asks first if some are unsaved)."},
        {"Appen&d", "Adds the links of the named data file to the ones you have."},
        {"&Save", "Writes a copy of your links into the named file now."},
        {"&New File", "Starts an empty collection, saved into the named file once you press OK."},
        {"&Remove", "Takes the name off this list; the file itself stays on disk."},
        // Categories and Title Case
        {"&Add", "Puts the name typed above into the list."},
        {"&Edit", "Takes the selected name into the field above to change it; Add puts it back."},
        {"&Delete", "Takes the selected names off the list."},
        {"&Rename this category in existing items.",
         "With a name changed through Edit and Add, every link that has the old name gets the new one."},
        {"&Select when Clear button is pressed:",
         "What the Category field shows after Clear: the last category (LAST), none (NONE) or this one."},
        {"De&fault", "Brings back the built-in list of words that Title Case leaves as they are."},
        {"E&xceptions:", "Words that Title Case leaves in the letter case you typed them (a, of, the ...)."},
        // Searching
        {"&Title fields", "The Search box looks in the titles."},
        {"&Description fields", "The Search box looks in the descriptions."},
        {"&Category fields", "The Search box looks in the categories."},
        {"&Link fields", "The Search box looks in the links."},
        {"&Position reference point for Previous and Next buttons on the last link found.",
         "A search shows its last match first, and Previous and Next step from there."},
        {"&Allow typos (typographical errors).",
         "Finds a word also with a letter swapped, missing, extra or wrong."},
        {"Typo &Separation:", "How far apart two typos in one word must be for the word to match."},
        {"&Use interruptible incremental searching.",
         "Searches very large collections in the background, so that typing never waits for the search."},
        // Numbers
        {"&Insert thousands separators.", "Writes every count with a separator between thousands (1,234)."},
        {"&Comma", "1,234"},
        {"&Dot", "1.234"},
        {"&Space", "1 234"},
        {"&Other:", "A separator of your choice, typed into the field beside it."},
        {"Other separator", "The separator of your choice: one character."},
        // Misc.
        {"Move the first line in the Description field to an empty &Title field.",
         "Add and Modify move the first line of the Description into an empty Title."},
        {"Move the last line in the Description field to an empty &Link field.",
         "Add and Modify move the last line of the Description into an empty Link."},
        {"When retrieving an item, &copy its link to the clipboard.",
         "Picking a row copies its link, ready to paste."},
        {"When &deleting items, ask for confirmation.", "Delete asks before it takes links out of the list."},
        {"&Save changes to the current annotated link when the program moves away from it or closes.",
         "An edit typed into the form is stored when you pick another row, open Options or close Norvelle."},
        {"&Restore previous window position.", "Norvelle opens where you left it."},
        {"Show tips &on start-up.", "Shows the Tip of the Day when Norvelle starts."},
    };
    return tips;
}

}  // namespace

void GiveOptionsTips(QWidget& page)
{
    const auto& tips = Tips();
    auto tip = [&tips](const QString& caption) {
        auto it = tips.find(caption);
        return it == tips.end() ? QString() : QString(it->second);
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
            field->setToolTip("Type a name, then press Add or Enter.");
    for (auto* list : page.findChildren<QListWidget*>())
        if (list->toolTip().isEmpty()) list->setToolTip("Select names to Edit or Delete them.");
}
