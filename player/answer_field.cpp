// Answer fields: the subclass procedure that judges a field when it is left or when Enter is released.
#include <windows.h>

#include "player/answer_field.h"

#include "checking/evaluation.h"

WNDPROC baseEditProc = nullptr;

namespace {

// Characters selected when a field takes the focus.
const int SELECTED_ON_FOCUS = 25;

LRESULT passOn(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(baseEditProc, field, message, wParam, lParam);
}

void evaluateOwnField(HWND field) { evaluateField(GetParent(field), GetDlgCtrlID(field)); }

// WM_SETFOCUS: the first characters are selected, so typing replaces a short answer whole.
LRESULT onFieldFocus(HWND field, WPARAM wParam, LPARAM lParam) {
    SendMessageA(field, EM_SETSEL, 0, SELECTED_ON_FOCUS);
    return passOn(field, WM_SETFOCUS, wParam, lParam);
}

// WM_KILLFOCUS: leaving a field judges it.
LRESULT onFieldLeft(HWND field, WPARAM wParam, LPARAM lParam) {
    evaluateOwnField(field);
    return passOn(field, WM_KILLFOCUS, wParam, lParam);
}

// WM_CHAR: Enter and Tab act on release; their characters would only beep or be inserted.
LRESULT onFieldChar(HWND field, WPARAM wParam, LPARAM lParam) {
    if (wParam == '\r' || wParam == '\t') return 0;
    return passOn(field, WM_CHAR, wParam, lParam);
}

// WM_KEYUP: Enter judges the field and keeps the focus there.
LRESULT onFieldKeyUp(HWND field, WPARAM wParam, LPARAM lParam) {
    if (wParam == VK_RETURN) {
        evaluateOwnField(field);
        return 1;
    }
    return passOn(field, WM_KEYUP, wParam, lParam);
}

}  // namespace

void subclassAnswerField(HWND field) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(field, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<LONG_PTR>(answerFieldProc))));
    // Every field is of class "Edit": the procedure replaced the first time serves them all.
    if (baseEditProc == nullptr) baseEditProc = previous;
}

LRESULT CALLBACK answerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        return onFieldFocus(field, wParam, lParam);
    case WM_KILLFOCUS:
        return onFieldLeft(field, wParam, lParam);
    case WM_CHAR:
        return onFieldChar(field, wParam, lParam);
    case WM_KEYUP:
        return onFieldKeyUp(field, wParam, lParam);
    default:
        return passOn(field, message, wParam, lParam);
    }
}
