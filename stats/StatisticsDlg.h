#pragma once
#include <QDialog>
#include <QTimer>
#include <vector>

#include "options/CountFormatter.h"
#include "stats/CategoryStats.h"

class LinkStore;
class QLabel;
class QTreeWidget;

// "Statistics": the links per category, with the sum of the selected rows' counts.
class CStatisticsDlg : public QDialog {
    Q_OBJECT
public:
    CStatisticsDlg(std::vector<CategoryCount> rows, const CCountFormatter& counts, QWidget* parent = nullptr);
    ~CStatisticsDlg() override;

    QTreeWidget* CountList() const { return m_list; }
    QLabel* SumLabel() const { return m_sum; }
    // Adds the counts of the selected rows into the label.
    void ShowSum();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::vector<CategoryCount> m_rows;
    CCountFormatter m_counts;
    QTreeWidget* m_list;
    QLabel* m_sum;
    QTimer m_keyTimer;  // the sum follows a key 50 ms later
    bool m_scaled = false;
};

// Counts the store's links per category and shows them, with the selected rows' count.
void ShowStatistics(const LinkStore& store, int selected, const CCountFormatter& counts, QWidget* parent);
