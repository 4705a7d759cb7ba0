#include "app/FormFields.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/QtText.h"
#include "common/SortedComboBox.h"
#include "store/NaturalCompare.h"

// The main window's side of what the Options controller asks of it.

void CLinksDlg::CategoriesReplaced() { m_fields->KeepListedCategory(m_store.Categories(), m_retrieved); }

void CLinksDlg::CategoriesRenamed(const std::vector<std::pair<std::string, std::string>>& renames)
{
    m_fields->RenameCategories(renames);
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
