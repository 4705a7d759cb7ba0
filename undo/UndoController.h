#pragma once

class CAnnotatedLink;
class CUndoManager;
class LinkStore;
class QWidget;
struct CSettings;

// What the window's Undo and Redo need of its form and list.
class UndoCommandHost {
public:
    virtual ~UndoCommandHost() = default;
    // The record the form shows, or nullptr.
    virtual const CAnnotatedLink* ShownRecord() = 0;
    // Whether the form holds a typed edit, and how many times a record was shown in it.
    virtual bool FormEdited() = 0;
    virtual void SetFormEdited(bool edited) = 0;
    virtual unsigned FormShows() = 0;
    // Stores the form's typed edit when the settings say that leaving it does.
    virtual void StoreFormEdit() = 0;
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    // A step was taken: the counts and the windows that list records follow.
    virtual void StepTaken() = 0;
    // Takes back (or does again) a command's change of the form that came after the last
    // step; false when there is none.
    virtual bool StepFormCommand(bool redo) = 0;
};

// The window's side of Undo and Redo: the preview that asks first when it is on, and the
// form's typed edit, which a step neither loses nor writes back over its change.
class CUndoController {
public:
    CUndoController(UndoCommandHost& host, CUndoManager& undo, LinkStore& store, const CSettings& settings,
                    QWidget* window);

    // Takes back the last step, or does again the last one taken back.
    void Step(bool redo);
    bool PreviewOn() const { return m_preview; }
    void SetPreview(bool on) { m_preview = on; }

private:
    UndoCommandHost& m_host;
    CUndoManager& m_undo;
    LinkStore& m_store;
    const CSettings& m_settings;
    QWidget* m_window;
    bool m_preview = false;
};
