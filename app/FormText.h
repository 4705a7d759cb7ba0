#pragma once
#include <QString>
#include <string>

// How the form's fields and the Search box turn text into record bytes and back.

// Slots of the form's fields for the shown-bytes memory of the main window.
enum FormSlot { SlotTitle, SlotLink, SlotDescription, SlotCategory };

std::string ToBytes(const QString& text);
// The Description field shows line breaks as LF; records keep CR LF.
QString DescriptionToField(std::string_view bytes);
std::string FieldToDescription(const QString& text);
