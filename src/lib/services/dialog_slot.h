// The state of a dialog's showing, kept where its dialog procedure finds it: one slot per kind of
// dialog, one showing at a time, every message handled inside the exception boundary.
#pragma once
#include <windows.h>

#include "lib/services/proc_boundary.h"

// What DialogSlot does whatever the type of its state.
class DialogSlotCore {
protected:
    // True when a showing holds the slot; that one comes to the front.
    bool Refuse() const;
    // From WM_INITDIALOG on: true for the messages of the slot's own dialog.
    bool Serves(HWND dialog, UINT message, LPARAM lParam);
    // The answer after a handler's exception (reported already): FALSE, as for a message left alone;
    // a dialog that could not be set up ends as cancelled rather than show half-filled.
    static INT_PTR AfterFailure(HWND dialog, UINT message);
    void Clear() {
        state_ = nullptr;
        window_ = nullptr;
    }

    void* state_ = nullptr;
    HWND window_ = nullptr;
};

// One kind of dialog, shown once at a time. Asked to show while one is open (a command sent again
// from outside reaches the disabled main window), it brings the open one to the front instead; so the
// state of a showing stays in the slot until that showing ends, and its buttons always work.
template <class State>
class DialogSlot : private DialogSlotCore {
public:
    using Handler = INT_PTR (*)(State& state, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the dialog modally over state: the value given to EndDialog, or -1 when none was shown.
    INT_PTR ShowModal(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, State& state) {
        if (Refuse()) return -1;
        state_ = &state;
        INT_PTR result = DialogBoxParamA(instance, name, owner, proc, reinterpret_cast<LPARAM>(&state));
        Clear();
        return result;
    }
    // Creates the dialog modeless over state; null when none was made.
    HWND Create(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, State& state) {
        if (Refuse()) return nullptr;
        state_ = &state;
        HWND dialog = CreateDialogParamA(instance, name, owner, proc, reinterpret_cast<LPARAM>(&state));
        if (!dialog) Clear();
        return dialog;
    }
    // The dialog procedure's answer: handler's for the showing in the slot, FALSE for anything else.
    INT_PTR Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, Handler handler) noexcept {
        if (!Serves(dialog, message, lParam)) return FALSE;
        State& state = *static_cast<State*>(state_);
        if (message == WM_NCDESTROY) Clear();  // a modeless showing ends here
        const auto handle = [&] { return handler(state, dialog, message, wParam, lParam); };
        return Guarded(dialog, handle, [&] { return AfterFailure(dialog, message); });
    }
    // The state of the showing whose dialog is dialog, or null.
    State* Find(HWND dialog) const { return dialog && dialog == window_ ? static_cast<State*>(state_) : nullptr; }
};
