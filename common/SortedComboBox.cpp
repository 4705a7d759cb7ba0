#include "common/SortedComboBox.h"

#include "store/NaturalCompare.h"

namespace {
// Compares the UTF-8 bytes of two item texts.
int CompareItems(TextCompare compare, const QString& a, const QString& b)
{
    QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compare(std::string_view(ua.constData(), size_t(ua.size())), std::string_view(ub.constData(), size_t(ub.size())));
}
}  // namespace

// Shared with the sorted list box: the bisection of the sorted insert.
int SortedIndexOf(TextCompare compare, int count, const std::function<QString(int)>& itemAt, const QString& text)
{
    int lo = 0, hi = count - 1;
    while (hi >= lo) {
        int mid = (lo + hi) / 2;
        int c = CompareItems(compare, text, itemAt(mid));
        if (c > 0)
            lo = mid + 1;
        else if (c < 0)
            hi = mid - 1;
        else
            return mid;
    }
    return lo;
}

CSortedComboBox::CSortedComboBox(QWidget* parent) : QComboBox(parent), m_compare(CompareNoCase)
{
    setInsertPolicy(QComboBox::NoInsert);
}

int CSortedComboBox::Add(const QString& text)
{
    int index = count();
    if (m_sorted && count() > 0 && m_compare)
        index = SortedIndexOf(m_compare, count(), [this](int i) { return itemText(i); }, text);
    else if (m_sorted)
        index = 0;
    insertItem(index, text);
    return index;
}

void CSortedComboBox::showPopup()
{
    emit aboutToShowPopup();
    QComboBox::showPopup();
}
