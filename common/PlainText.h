#pragma once
#include <QLabel>
#include <QString>

// Texts from records, files, file names and web pages are shown as they are, never as
// markup: Qt takes a text that looks like HTML for rich text in labels and tooltips, and
// a title such as <img src="/dev/zero"> would then be loaded, not shown.

// A tooltip that shows text exactly (escaped inside a paragraph that keeps line breaks).
inline QString PlainToolTip(const QString& text)
{
    return text.isEmpty() ? QString() : "<p style=\"white-space:pre-wrap\">" + text.toHtmlEscaped() + "</p>";
}

// A label for such texts.
inline QLabel* MakePlain(QLabel* label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}
