// The functions the page's script (web/page.js) calls in the WebAssembly module: the quiz loaded from
// the packed bytes the page carries, its texts and colours, the boxes of its questions, and its
// answer fields, judged and scored by the player's own rules. The fields' texts and verdicts live
// here, as the Windows page keeps them in its controls; the script draws them and forwards what the
// player does. Texts are zero-terminated code page 1252; q is a question's number, f a field's.
#pragma once
#include <cstdint>

// Exported from the module under these names, and callable from native tests.
#define PAGE_EXPORT extern "C" __attribute__((used))

// Loads the quiz from its packed content, score codes and accepted answers (PATCH 104, 105 and 106;
// a size below zero for one the page lacks). The bytes must stay while the page lives. Every field
// starts empty and "?". Returns the number of answer fields on the page.
PAGE_EXPORT int trivoLoad(const unsigned char* content, int32_t contentSize, const unsigned char* codes,
                          int32_t codesSize, const unsigned char* answers, int32_t answersSize);
// What the loader reported, one "caption: text" line each; empty when all went well.
PAGE_EXPORT const char* trivoMessages();
// The quiz's identity, for keeping its answers: 16 hexadecimal digits of a hash of its resources.
PAGE_EXPORT const char* trivoIdentity();

PAGE_EXPORT int trivoKind();
PAGE_EXPORT int trivoSlots();
PAGE_EXPORT int trivoQuestionCount();
PAGE_EXPORT int trivoRevealMode();
// Whether the quiz's questions are laid out at all: only the four kinds with one or two slots are.
PAGE_EXPORT int trivoLaidOut();
// How many answer fields the page has: 0 when nothing is laid out.
PAGE_EXPORT int trivoFieldCount();

// The fixed and the quiz's texts of the header and page, by number (PageText in page_exports.cpp).
PAGE_EXPORT const char* trivoText(int which);
// The colours the page paints, COLORREF 0x00BBGGRR, by number (PageColour in page_exports.cpp).
PAGE_EXPORT uint32_t trivoColour(int which);
// Question q's text line (Text quizzes).
PAGE_EXPORT const char* trivoQuestionText(int q);

// Where the script writes a field's text before trivoSetField: 260 bytes, zero-terminated.
PAGE_EXPORT char* trivoInput();
// Field f now holds the text in trivoInput() (cut to 259 characters).
PAGE_EXPORT void trivoSetField(int f);
PAGE_EXPORT const char* trivoFieldText(int f);
// Judges field f as the Windows page does when the field is left: its verdict, its question's
// comment or answer picture, and the score.
PAGE_EXPORT void trivoJudge(int f);
// F1 in field f: its text goes into every field whose verdict is not "BRAVO", each judged again.
PAGE_EXPORT void trivoTryEverywhere(int f);
// Whether field f was given another field's text since last asked (the script then shows it).
PAGE_EXPORT int trivoTakeRefilled(int f);

PAGE_EXPORT const char* trivoVerdict(int f);
// VerdictColour of player/labels.h: 0 none, 1 anagram, 2 right, 3 wrong, 4 near miss.
PAGE_EXPORT int trivoVerdictColour(int f);
// Question q's comment label: its comment once solved, empty otherwise.
PAGE_EXPORT const char* trivoComment(int q);
// Whether question q's answer picture has been revealed (it then stays).
PAGE_EXPORT int trivoAnswerPictureShown(int q);
// The header's score (" 4 / 30") and code, as the Windows header shows them.
PAGE_EXPORT const char* trivoScoreText();
PAGE_EXPORT const char* trivoScoreCode();

// The matcher alone, for checking it against the native build.
PAGE_EXPORT const char* trivoMatch(const char* expected, const char* typed);

// Question q's boxes, 4 ints each (x, y, width, height), in the order of QuestionBoxes
// (player/geometry.h): text, picture, answer picture, comment, play, stop, video host, number,
// fields 1 and 2, verdicts 1 and 2. A box of width 0 is a control the question does not have.
PAGE_EXPORT void trivoBoxes(int q, int32_t* out);
// The caption of slot s beside question q's row (two-slot quizzes), 4 ints.
PAGE_EXPORT void trivoCaptionBox(int q, int s, int32_t* out);
// Where a picture of width x height (its own size) shows for question q, scaled to fit its box and
// centred in it as the Windows page does: the question picture, or with answer the answer picture.
PAGE_EXPORT void trivoPictureBox(int q, int answer, int width, int height, int32_t* out);
// The page's content extents.
PAGE_EXPORT int trivoPageWidth();
PAGE_EXPORT int trivoPageHeight();
