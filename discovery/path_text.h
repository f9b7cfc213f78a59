// Small routines on path texts that the folder searches share. Each works in
// place on a NUL-terminated 8-bit text in a buffer the caller owns; the ones
// that can lengthen a text are told the buffer's size and refuse what does
// not fit, or what would be longer than a path (kPathLength characters, NUL
// included). A UTF-8 sequence counts as one character.
#pragma once

#include <stddef.h>

// Looks for an existing folder, making it the process's current directory:
// first the text itself (a trailing backslash removed), then the text with
// one, two, ... whole characters of its last component cut away, and last its
// parent folder with the backslash. Returns true when one was entered; the
// text then names it. Returns false otherwise, the text shortened; a drive
// root (three characters or fewer) is never tried, nor a text that ends in a
// dot or a space (the platform would enter the folder without them), so
// that the text names the folder as it is on disk.
bool ProbeFolder(char* path);

// Lower-cases A to Z, then upper-cases the first character and every byte
// from 'A' to 'z' that follows a character that is no letter: "o'neil
// 2.0\plug-ins" becomes "O'Neil 2.0\Plug-Ins", "müller" "Müller".
void TitleCasePath(char* text);

// Makes a non-empty text end with a backslash. Returns the text, or null when
// the backslash does not fit into `size` bytes or a path's length (the text
// is then unchanged).
char* AddTrailingBackslash(char* text, size_t size);

// Drops whatever stands before the first letter, such as a quotation mark:
// a text that does not start with a letter is first cut to 390 characters,
// then made to start at its first letter from index 1 on, or emptied when it
// has none. Returns the text.
char* SkipToFirstLetter(char* text);

// Ends the text just behind the last `mark` found from its second-to-last
// character back to its second one; unchanged without one. Returns the text.
char* CutAfterLast(char* text, char mark);

// Copies `base` into `dest` when one is given, then appends a backslash where
// needed and `name`. Returns `dest`, or null when the result does not fit
// into `size` bytes or a path's length (`dest` then holds `base`, or is
// unchanged without one).
char* JoinPath(char* dest, size_t size, const char* name, const char* base = nullptr);
