// Characters of the program's 8-bit texts. Where the program runs with the
// UTF-8 code page (Windows 10 version 1903 and later, and Wine, honour the
// manifest's request), a character can take up to four bytes; elsewhere
// every byte counts as one character, as the code page rules always did.
#pragma once

// Whether the program's texts are UTF-8.
bool TextIsUtf8();

// The bytes of the character that starts at `text`: its whole UTF-8
// sequence, or 1 (also for a byte that starts no complete sequence).
int CharBytes(const char* text);

// Whether `byte` continues a UTF-8 sequence: a text must not end before it.
bool ContinuesChar(char byte);

// The upper case of the single byte `c` in the program's code page, as
// CharUpperA gives it for one character.
char UpperChar(char c);

// Whether the character at `text` is a letter.
bool IsLetterAt(const char* text);

// The UTF-16 units the system makes of the first `size` bytes of `text`, or
// of the whole text when `size` is negative: what its length limits count.
int SystemLength(const char* text, int size = -1);
