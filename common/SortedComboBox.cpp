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

int SortedIndexOf(TextCompare compare, int count, const std::function<QString(int)>& itemAt, const QString& text)
{
    if (!compare) return 0;
    return SortedInsertIndex(count, [&](int i) { return CompareItems(compare, text, itemAt(i)); });
}

CSortedComboBox::CSortedComboBox(QWidget* parent) : QComboBox(parent), m_compare(CompareNoCase)
{
    setInsertPolicy(QComboBox::NoInsert);
}

int CSortedComboBox::Add(const QString& text)
{
    const int index = m_sorted ? SortedIndexOf(m_compare, count(), [this](int i) { return itemText(i); }, text) : count();
    insertItem(index, text);
    return index;
}

void CSortedComboBox::showPopup()
{
    emit aboutToShowPopup();
    QComboBox::showPopup();
}
