// What the answers file offers the Windows tests only (player/answers_file.h is the player's).
#pragma once

// The answers file's name in the ANSI code page: the executable's file name with its last three
// characters made "txt"; empty when there is no answers file (see answersFileNameOf), when the
// name does not fit in size, or when the code page cannot spell it.
void answersFileName(char* name, int size);
