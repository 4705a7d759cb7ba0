#include "common/SortedComboBox.h"

#include "store/NaturalCompare.h"
#include "store/SortedInsert.h"

namespace {
// Compares the UTF-8 bytes of two item texts.
int CompareItems(TextCompare compare, const QString& a, const QString& b)
{
    QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compare(std::string_view(ua.constData(), size_t(ua.size())), std::string_view(ub.constData(), size_t(ub.size())));
}
}  // namespace

// Shared with the sorted list box: where text goes among count items.
int SortedIndexOf(TextCompare compare, int count, const std::function<QString(int)>& itemAt, const QString& text)
{
    return SortedInsertIndex(count, [&](int i) { return CompareItems(compare, text, itemAt(i)); });
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
