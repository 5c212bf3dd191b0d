// Control identifiers and resource numbers shared by the C++ code and the resource script.
// Plain #define only: the resource compiler's preprocessor reads this file too.
#ifndef TRIVO_PLAYER_IDS_H
#define TRIVO_PLAYER_IDS_H

// Main window, header: the four empty bordered boxes that frame the header.
#define ID_HEADER_BOX1 1
#define ID_HEADER_BOX2 2
#define ID_HEADER_BOX3 3
#define ID_HEADER_BOX4 4

// Header and page labels; 150, 153 and 156 are shared by several statics (the score is created first).
#define ID_SCORE 150
#define ID_CODE_LABEL 151
#define ID_QUESTION_NUMBER 153
#define ID_WEBSITE_LINK 154
#define ID_SLOT_CAPTION 156
#define ID_CODE_VALUE 157

// Page, Text quiz: every question text static carries this one identifier.
#define ID_QUESTION_TEXT 3000

// Page, per answer field: base + (q - 1) * slots + s; each verdict label is its field + 1000.
#define ID_ANSWER_BASE 4000
#define ID_VERDICT_BASE 5000

// Page, per question q (1..90): base + q.
#define ID_PLAY_BASE 6000
#define ID_STOP_BASE 7000
#define ID_COMMENT_BASE 8000
#define ID_PICTURE_BASE 9000
#define ID_VIDEO_HOST_BASE 9900

// Main window: the version label; 8000 itself never meets the page's comment labels (8001 and up).
#define ID_VERSION_LABEL 8000

// Page dialog template, play and stop button icons, the website link's hand cursor.
#define IDD_PAGE 1001
#define IDC_LINK_CURSOR 1003
#define IDI_PLAY 1004
#define IDI_STOP 1005

#endif
