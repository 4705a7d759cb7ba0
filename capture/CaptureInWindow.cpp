#include "capture/CaptureInWindow.h"

#include "capture/CaptureRequests.h"
#include "store/DataFile.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"

std::string AnswerInWindow(std::string_view message, CaptureWindow& window, const std::string& version,
                           const std::string& dataPath)
{
    CaptureRequest request;
    std::string error;
    if (!ParseCaptureRequest(message, request, error)) return ErrorAnswer(error);
    const LinkStore& store = window.CaptureStore();
    switch (request.kind) {
    case CaptureRequest::Kind::Hello: return HelloAnswer(version, dataPath, true);
    case CaptureRequest::Kind::Lookup: return LookupAnswer(store, request.url);
    case CaptureRequest::Kind::Search: return SearchAnswer(store, request);
    case CaptureRequest::Kind::Categories: return CategoriesAnswer(store);
    case CaptureRequest::Kind::Add:
    case CaptureRequest::Kind::Update: break;
    }
    if (const std::string busy = window.CaptureBusy(); !busy.empty()) return ErrorAnswer(busy);
    int row = FindByAddress(store, request.url);
    if (request.kind == CaptureRequest::Kind::Add && row >= 0) return StoredAnswer(store, row, false);
    if (request.kind == CaptureRequest::Kind::Update) {
        if (row < 0) return ErrorAnswer("That address is not in the collection.");
        // The person's typing in the form is theirs: the browser does not write under it.
        if (window.FormEditsRow(row))
            return ErrorAnswer("This link is being edited in Norvelle. Finish the edit there first.");
    }
    const bool adding = row < 0;
    FormTexts texts{std::string(TrimView(request.title)), request.url, request.description};
    if (!adding) {
        // The stored address stays as it was written; an update without a description keeps it.
        const CAnnotatedLink& stored = store.At(row);
        texts.link = std::string(stored.Link());
        if (!request.hasDescription) texts.description = std::string(stored.Description());
    }
    row = window.StoreCaptured(row, texts, request.category);
    if (row < 0) return ErrorAnswer(kOutOfMemoryMessage);
    std::string answer = StoredAnswer(store, row, adding);
    window.CountCaptured();
    return answer;
}
