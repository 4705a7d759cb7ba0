#include <QLineEdit>

#include "app/FormFields.h"
#include "common/QtText.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/SortedComboBox.h"
#include "store/NaturalCompare.h"

// The main window's side of the Options sheet: running it, taking over its values, and
// what its pages do to the window at once.

void CLinksDlg::OpenOptions(OptionsPage page)
{
    // One sheet at a time: a failed timed save while the sheet is open finds the person there.
    if (IsSearchBusy() || m_optionsOpen) return;
    // A typed edit is stored first, as Close stores it: the sheet's Load and New File then
    // ask about it like any unsaved link.
    StoreFormEdit();
    m_optionsOpen = true;
    struct Closed {
        bool& open;
        ~Closed() { open = false; }
    } closed{m_optionsOpen};
    OptionsValues values{m_settings, m_store.ClearSelection()};
    // The box shows the file in use, also when it is the default one.
    if (values.settings.dataFile.empty()) values.settings.dataFile = m_persistence.DataPath();
    COptionsSheet sheet(*this, values, this);
    sheet.ShowPage(COptionsSheet::Page(page));
    if (sheet.exec() != QDialog::Accepted) {
        // Load, New File or Save As on the Saving page switched files at once: Cancel
        // keeps the other choices as they were, but the window goes on with that file,
        // and so does the next start.
        if (m_persistence.DataPath() != ConfiguredDataPath(m_settings, m_persistence.DefaultDataFolder())) {
            m_settings.dataFile = m_persistence.DataPath();
            SaveSettings(m_services.settings, m_settings, m_titleCaser);
            m_sync->FollowDataFile();
        }
        return;
    }
    const CSettings& chosen = sheet.Values().settings;

    // A running timer is left alone unless its setting changed.
    if (m_settings.saveOnTimer && !chosen.saveOnTimer)
        m_saveTimer.stop();
    else if (chosen.saveOnTimer && (!m_settings.saveOnTimer || m_settings.timerIndex != chosen.timerIndex))
        m_saveTimer.start(chosen.TimerPeriodMs());
    m_settings = chosen;
    m_settings.dataFile = std::string(TrimView(chosen.dataFile));
    m_persistence.SetDataPath(ConfiguredDataPath(m_settings, m_persistence.DefaultDataFolder()));
    m_sync->FollowDataFile();
    m_store.SetClearSelection(sheet.Values().clearSelection);
    if (!m_ui.search->currentText().isEmpty()) m_searcher.RunSearch();
    SetDeleteCaption();
    UpdateTotalCount();
    UpdateSelectedCount();
    SaveSettings(m_services.settings, m_settings, m_titleCaser);
}

bool CLinksDlg::SaveDataFileAs(const std::string& path) { return m_persistence.SaveDataFile(&path); }

bool CLinksDlg::LoadDataFileFrom(const std::string& path, bool append)
{
    return m_persistence.LoadDataFile(&path, append);
}

void CLinksDlg::StartNewCollection()
{
    ResetStore();
    // The file the window had is not this collection's: its links are asked about first.
    m_persistence.ForgetKnownFile();
}

void CLinksDlg::ReplaceDataFile(const std::string& path)
{
    m_persistence.ConfirmReplacing(path);
    // The window's links are to go there: they are unsaved until they do.
    m_store.SetChanged();
}

std::vector<std::string> CLinksDlg::Categories()
{
    auto lock = m_store.Lock();
    return m_store.Categories();
}

void CLinksDlg::SetCategories(const std::vector<std::string>& names)
{
    auto lock = m_store.Lock();
    const std::string text = m_fields->Category();
    m_store.SetCategories(names);
    // The Category field keeps its text only while that name is still listed, or while it
    // is the shown link's own category, which the link keeps.
    m_filling = true;
    if (m_retrieved && m_fields->CategoryUntouched()) {
        // As it is: the list's change is no edit of the link.
    } else if (!m_store.HasCategory(text)) {
        m_ui.category->setEditText(QString());
    } else {
        for (const std::string& name : m_store.Categories())
            if (EqualsNoCase(name, text)) m_ui.category->setEditText(DisplayText(name));
    }
    m_filling = false;
}

void CLinksDlg::RenameCategories(std::vector<std::pair<std::string, std::string>>& renames)
{
    auto lock = m_store.Lock();
    const auto applied = renames;
    BeginListUpdate();
    m_store.RenameCategories(renames);
    EndListUpdate();
    // The form follows, as the links do: its text and the shown link's category alike, so
    // that the rename is no edit of the form.
    m_filling = true;
    for (const auto& [from, to] : applied) m_fields->RenameCategory(from, to);
    m_filling = false;
}

void CLinksDlg::SetNumberFormat(bool useSeparators, const std::string& separator)
{
    m_settings.useThousandsSep = useSeparators;
    m_settings.thousandsSeparator = separator;
    UpdateTotalCount();
    UpdateSelectedCount();
}

std::vector<std::string> CLinksDlg::Exceptions()
{
    std::vector<std::string> words;
    m_titleCaser.GetExceptions(words);
    return words;
}
