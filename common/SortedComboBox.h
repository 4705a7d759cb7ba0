#pragma once
#include <QComboBox>
#include <functional>
#include <string_view>

// The ordering that a sorted list control inserts by.
using TextCompare = int (*)(std::string_view, std::string_view);

// Where text goes among count items of a sorted control: the sorted insert by
// bisection; 0 without a comparison.
int SortedIndexOf(TextCompare compare, int count, const std::function<QString(int)>& itemAt, const QString& text);

// A combo box that inserts each new item where its comparison puts it.
class CSortedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CSortedComboBox(QWidget* parent = nullptr);
    void SetCompare(TextCompare compare) { m_compare = compare; }
    // Without the sorting style new items are appended.
    void SetSorted(bool sorted) { m_sorted = sorted; }
    int Add(const QString& text);
    void showPopup() override;

signals:
    // The drop-down list is about to open.
    void aboutToShowPopup();

private:
    TextCompare m_compare;
    bool m_sorted = true;
};
