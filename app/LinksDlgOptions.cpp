#include "app/LinksDlg.h"
#include "common/SortedComboBox.h"

// The main window's side of what the Options controller asks of it.

void CLinksDlg::CategoriesReplaced() { m_fields->KeepListedCategory(m_store.Categories(), m_retrieved); }

void CLinksDlg::CategoriesRenamed(const std::vector<std::pair<std::string, std::string>>& renames)
{
    m_fields->RenameCategories(renames);
}

void CLinksDlg::SettingsChanged(const CSettings& before)
{
    m_timedSave.Follow(before);
    if (!m_ui.search->currentText().isEmpty()) m_searcher.RunSearch();
    SetDeleteCaption();
    ShowCounts();
}
