#include "common/QtText.h"

#include <QByteArray>
#include <QCoreApplication>

#include "store/Utf.h"

std::string ToBytes(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), size_t(utf8.size()));
}

QString DisplayText(std::string_view bytes)
{
    // Most texts are UTF-8; older files may hold Windows-1252 bytes.
    if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    std::string shown = Windows1252ToUtf8(bytes);
    return QString::fromUtf8(shown.data(), qsizetype(shown.size()));
}

QString DescriptionToField(std::string_view bytes)
{
    QString text = DisplayText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string FieldToDescription(const QString& text)
{
    std::string out;
    for (char c : ToBytes(text)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

QString QTr(const char* context, const char* text) { return QCoreApplication::translate(context, text); }
