// Answer fields: the subclass procedure that judges a field when it is left, moves between fields with
// Tab, judges in place with Enter, scrolls the page with the page keys and tries an answer everywhere
// with F1.
#include <windows.h>

#include "player/answer_field.h"

#include "player/field_evaluation.h"
#include "checking/matcher.h"
#include "checking/score.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/page.h"
#include "player/page_controls.h"

namespace {

// The edit class's own procedure, saved when the first field is subclassed.
WNDPROC g_baseEditProc = nullptr;

// Characters selected when a field takes the focus.
const int SELECTED_ON_FOCUS = 25;

LRESULT passOn(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_baseEditProc, field, message, wParam, lParam);
}

int quizFieldCount() { return g_quiz != nullptr ? fieldCount(g_quiz) : 0; }

// Windows can outlive the quiz record (the system destroys them as the process ends, after the record
// is freed), and a field losing the focus then has nothing to be judged against.
void evaluateOwnField(HWND field) {
    if (g_quiz != nullptr) evaluateField(GetParent(field), GetDlgCtrlID(field));
}

// A field taking the focus selects its first characters, so typing replaces a short answer whole.
void selectOnFocus(HWND field) { SendMessageA(field, EM_SETSEL, 0, SELECTED_ON_FOCUS); }

// WM_SETFOCUS.
LRESULT onFieldFocus(HWND field, WPARAM wParam, LPARAM lParam) {
    selectOnFocus(field);
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

// The field after f (or before it, backward), wrapping at both ends. A field the page could not create
// is stepped over, so the focus never lands on nothing.
int tabTarget(HWND page, int f, bool backward) {
    const int count = quizFieldCount();
    int t = f;
    for (int tries = 0; tries < count; ++tries) {
        t = backward ? (t == 1 ? count : t - 1) : (t == count ? 1 : t + 1);
        if (pageControl(page, answerIdOfField(t)) != nullptr) return t;
    }
    return f;
}

// Tab released: judge the field, then move to the next field, or the previous one with Shift held at
// the release. Reaching field 1 (from field 2, or by the wrap from the last field) shows the page's
// top first. The wraps move the page no further: the forward one leaves it at its top, keeping the
// horizontal position, and the backward one, from field 1 to the last field, does not scroll at all.
void onTabMove(HWND field) {
    HWND page = GetParent(field);
    const bool backward = GetKeyState(VK_SHIFT) < 0;
    const int f = fieldOfAnswerId(GetDlgCtrlID(field));
    // The field is judged here and again as the focus leaves it: one recount of the score serves both.
    holdScore();
    evaluateOwnField(field);
    if (f >= 1 && f <= quizFieldCount()) {
        const int t = tabTarget(page, f, backward);
        const bool wrapped = backward ? t >= f : t <= f;
        if (t == 1) SendMessageA(page, WM_VSCROLL, SB_TOP, 0);
        // Any other move brings the new field into view, no further than it must (rule and reasons at
        // scrollFieldIntoView), rather than at fixed fields and by fixed amounts. The page moves before
        // the focus does: the two fields then repaint where they end, and the scroll, which repaints
        // only what it uncovers, carries no pixels that are about to change.
        if (!wrapped) scrollFieldIntoView(page, answerIdOfField(t));
        SetFocus(pageControl(page, answerIdOfField(t)));
    }
    releaseScore(page);
}

// WM_KEYUP, or WM_SYSKEYDOWN with Alt held: the field's keys act on release (or at once with Alt).
// Only Enter is kept from the edit; the others go on to it after acting.
LRESULT onFieldKeyAction(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case VK_TAB:
        onTabMove(field);
        break;
    case VK_RETURN:
        evaluateOwnField(field);
        return 1;
    case VK_PRIOR:
    case VK_UP:
        SendMessageA(GetParent(field), WM_VSCROLL, SB_PAGEUP, 0);
        break;
    case VK_NEXT:
    case VK_DOWN:
        SendMessageA(GetParent(field), WM_VSCROLL, SB_PAGEDOWN, 0);
        break;
    case VK_F1:
        tryAnswerEverywhere(field);
        break;
    default:
        break;
    }
    return passOn(field, message, wParam, lParam);
}

// One of the page's own answer fields (not some other control that may hold the focus).
bool isPageAnswerField(HWND page, HWND window) {
    if (window == nullptr || GetParent(window) != page) return false;
    const int f = fieldOfAnswerId(GetDlgCtrlID(window));
    return f >= 1 && f <= quizFieldCount() && pageControl(page, answerIdOfField(f)) == window;
}

// F1 once moved the focus through every field it refilled so that each was judged as it lost the
// focus. Under Wine each move costs about half a millisecond of focus, caret and repaint work, for a
// walk that ends where it began, so the walk is now only followed: where the focus would be, and
// what a move from there to the next field would do (the field left is judged, the field reached
// selects its first characters), in the same order, so every text, verdict, reveal and selection
// ends as before.
struct FocusWalk {
    HWND page;
    HWND at;
};

void walkFocusTo(FocusWalk* walk, HWND next) {
    if (walk->at == next) return;
    if (isPageAnswerField(walk->page, walk->at)) evaluateOwnField(walk->at);
    selectOnFocus(next);
    walk->at = next;
}

// WM_MOUSEWHEEL: a single-line edit has nothing to scroll. Windows' edit passes the notch on to the
// page through its default handling; Wine's edit drops it, which would leave the wheel dead while a
// field has the focus. Handing it to the page ourselves gives both the same behaviour.
LRESULT onFieldWheel(HWND field, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetParent(field), WM_MOUSEWHEEL, wParam, lParam);
}

}  // namespace

// Each refilled field is judged as the walk of the focus moves on from it (FocusWalk); the score is
// recounted once, at the end.
void tryAnswerEverywhere(HWND field) {
    HWND page = GetParent(field);
    char typed[TEXT_SLOT_SIZE];
    typed[0] = '\0';
    GetWindowTextA(field, typed, sizeof typed);
    holdScore();
    FocusWalk walk = {page, GetFocus()};
    const int count = quizFieldCount();
    for (int k = 1; k <= count; ++k) {
        HWND target = pageControl(page, answerIdOfField(k));
        if (target == nullptr) continue;
        char verdict[TEXT_SLOT_SIZE];
        pageControlText(page, verdictId(answerIdOfField(k)), verdict, sizeof verdict);
        if (lstrcmpA(verdict, VERDICT_RIGHT) == 0) continue;
        SetWindowTextA(target, typed);
        // Moving on judges the field refilled before.
        walkFocusTo(&walk, target);
    }
    walkFocusTo(&walk, field);
    // A key reaches only the focused field, so the focus is normally here already. F1 sent to another
    // field still leaves the focus in it; the field that had it is then judged once more, with the
    // text it ends with, as it loses the focus.
    if (GetFocus() != field) SetFocus(field);
    // When the field itself was the only one refilled, the walk never moved and nothing judged it;
    // judging it once more is harmless in every other case.
    evaluateOwnField(field);
    releaseScore(page);
}

void subclassAnswerField(HWND field) {
    // The ...Ptr form: a procedure's address does not fit a LONG in a 64-bit build.
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answerFieldProc)));
    // Every field is of class "Edit": the procedure replaced the first time serves them all.
    if (g_baseEditProc == nullptr) g_baseEditProc = previous;
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
    case WM_SYSKEYDOWN:
        return onFieldKeyAction(field, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        return onFieldWheel(field, wParam, lParam);
    default:
        return passOn(field, message, wParam, lParam);
    }
}
