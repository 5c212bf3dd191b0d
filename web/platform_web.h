// The web page's side of the platform seam (content/platform.h): the packed resources the page
// carries, handed over by its script, and the loader's messages, kept for the page to show.
#pragma once
#include <cstdint>

// The bytes stay the caller's and must live as long as they are loaded from. A size below zero
// stands for a resource the page does not carry. The messages kept so far are dropped.
void setPageResources(const unsigned char* content, int32_t contentSize, const unsigned char* codes,
                      int32_t codesSize, const unsigned char* answers, int32_t answersSize);

// Every message box the loader asked for since, one "caption: text" line each (code page 1252).
const char* pageMessages();
