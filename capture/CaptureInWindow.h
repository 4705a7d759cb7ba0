#pragma once
#include <string>
#include <string_view>

#include "session/EditRules.h"

class LinkStore;

// What the window lends to a message handed over from the browser's host.
class CaptureWindow {
public:
    virtual ~CaptureWindow() = default;
    virtual const LinkStore& CaptureStore() = 0;
    // Why the window cannot take a change now (a question is open, a search runs), or empty.
    virtual std::string CaptureBusy() = 0;
    // Whether the form shows the record at row with edits not stored yet.
    virtual bool FormEditsRow(int row) = 0;
    // Stores the texts into the record at row, or adds them at the end when row is -1, as
    // one undoable step, and shows the record in the list. The record's row, or -1 when
    // there was no memory (nothing changed then).
    virtual int StoreCaptured(int row, const FormTexts& texts, const std::string& category) = 0;
    // Counts the stored link toward the next save, once the answer has gone.
    virtual void CountCaptured() = 0;
};

// The window's answer to a message from the host: the same answers as the host gives from
// the file, here over the links the window holds, with changes made as the window's own.
std::string AnswerInWindow(std::string_view message, CaptureWindow& window, const std::string& version,
                           const std::string& dataPath);
