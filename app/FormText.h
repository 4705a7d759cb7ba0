#pragma once
#include "common/QtText.h"

// The form's fields, and the texts each was filled with (see common/QtText.h for the
// conversions).

// Slots of the form's fields for the shown-bytes memory of the main window.
enum FormSlot { SlotTitle, SlotLink, SlotDescription, SlotCategory };

