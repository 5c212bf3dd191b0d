// The quiz format a quiz program carries in its resources: what the player reads and trivo-make
// writes. Both sides include this header; no other file spells these values.
//
// Resources. The quiz's texts and settings are packed with the LZW codec (content/lzw.h) into
// PATCH 104, its score codes into PATCH 105, and, only in a quiz that has them, the answers its
// fields accept besides the content's and its accent rule into PATCH 106. Question q's media
// (picture, sound or film) is IMG 400 + q, its answer picture IMG 10400 + q. Type names are matched
// without regard to case.
//
// Content layout, once unpacked: byte 0 unused by the player (trivo-make writes a format version),
// byte 1 kind + 1, byte 2 question count, byte 3 answer slots per question; then fields each ended by
// FIELD_SEPARATOR: title, author, description, caption1, caption2; per question answer1, answer2
// (two slots only) and text; one reveal-mode byte; when it is 2 (comment) one comment field per
// question; last the background colour as red, green, blue bytes.
//
// Score codes, once unpacked: one line per question, each ended by CR LF; line k is the code for a
// score of k.
//
// Accepted answers, once unpacked: byte 0 the layout version (ANSWERS_LAYOUT_VERSION), byte 1 the
// accent rule (0 accents count, 1 accents ignored), byte 2 the question count and byte 3 the slots per
// question, both as the content gives them; then for every answer field, question by question and
// slot 1 before slot 2, one byte n below ANSWERS_PER_FIELD followed by n fields each ended by
// FIELD_SEPARATOR: the field's answers after the content's own, each of 1 to TEXT_MAX_LENGTH bytes
// without a zero byte. Nothing follows the last field. The content keeps each field's first answer,
// so a player that knows nothing of this resource plays the quiz as before; one that does ignores,
// silently, a resource that departs from this layout in any way or does not fit the content.
#pragma once

constexpr const char* QUIZ_PACKED_TYPE = "PATCH";
constexpr const char* QUIZ_MEDIA_TYPE = "IMG";
constexpr int RESOURCE_CONTENT_ID = 104;
constexpr int RESOURCE_CODES_ID = 105;
constexpr int RESOURCE_ANSWERS_ID = 106;
constexpr int IMG_MEDIA_BASE = 400;
constexpr int IMG_ANSWER_BASE = 10400;

// Question q's media and answer picture, and the question a media resource belongs to.
constexpr int mediaResourceId(int q) { return IMG_MEDIA_BASE + q; }
constexpr int answerPictureResourceId(int q) { return IMG_ANSWER_BASE + q; }
constexpr int questionOfMediaResource(int resourceId) { return resourceId - IMG_MEDIA_BASE; }

// Ends every text field of the content, so no text can hold it.
constexpr char FIELD_SEPARATOR = '|';

// Every text is a zero-terminated single-byte string (code page 1252) in a slot of this size, so it
// holds at most TEXT_MAX_LENGTH characters; longer texts are cut, never refused.
constexpr int TEXT_SLOT_SIZE = 260;
constexpr int TEXT_MAX_LENGTH = TEXT_SLOT_SIZE - 1;

// Score codes, media numbers and identifier ranges all stop at this many questions.
constexpr int MAX_QUESTIONS = 90;
// The player lays out questions of one or two answer slots only.
constexpr int MAX_SLOTS = 2;

// The accepted answers' layout version, and the most answers one field accepts, the content's
// included (a count byte stays below it).
constexpr unsigned char ANSWERS_LAYOUT_VERSION = 1;
constexpr int ANSWERS_PER_FIELD = 16;
