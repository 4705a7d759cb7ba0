#pragma once
#include <QString>
#include <string>
#include <string_view>

// How the windows turn the texts of records (UTF-8 bytes) into Qt's and back: one place
// below every feature's window.

// A text as UTF-8 bytes.
std::string ToBytes(const QString& text);
// Bytes for showing: valid UTF-8 as it is, anything else read as Windows-1252.
QString DisplayText(std::string_view bytes);
// The Description field shows line breaks as LF; records keep CR LF.
QString DescriptionToField(std::string_view bytes);
std::string FieldToDescription(const QString& text);

// Qt's side of Tr (platform/Translate.h): the translated text as Qt's.
QString QTr(const char* context, const char* text);
