#pragma once

// Turns a payload resource name into the installed file name, in place, and
// returns the same text: "PASTEL__CRAFT3.8BF" becomes "PastelCraft3.8bf".
// A double underscore starts a capitalised word, a single one is a space, a
// colon is dropped; after any other non-letter but an apostrophe, a full stop
// or the digit 8 the next character is upper-cased. Never lengthens the text.
char* MapPayloadFileName(char* name);
