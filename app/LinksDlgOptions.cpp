#include "app/FormFields.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/QtText.h"
#include "common/SortedComboBox.h"
#include "store/NaturalCompare.h"

// The main window's side of what the Options controller asks of it.

void CLinksDlg::CategoriesReplaced()
{
    const std::string text = m_fields->Category();
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

void CLinksDlg::CategoriesRenamed(const std::vector<std::pair<std::string, std::string>>& renames)
{
    // The form follows, as the links do: its text and the shown link's category alike, so
    // that the rename is no edit of the form.
    m_filling = true;
    for (const auto& [from, to] : renames) m_fields->RenameCategory(from, to);
    m_filling = false;
}

void CLinksDlg::SettingsChanged(const CSettings& before)
{
    // A running timer is left alone unless its setting changed.
    if (before.saveOnTimer && !m_settings.saveOnTimer)
        m_saveTimer.stop();
    else if (m_settings.saveOnTimer && (!before.saveOnTimer || before.timerIndex != m_settings.timerIndex))
        m_saveTimer.start(m_settings.TimerPeriodMs());
    if (!m_ui.search->currentText().isEmpty()) m_searcher.RunSearch();
    SetDeleteCaption();
    ShowCounts();
}
