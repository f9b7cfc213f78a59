// The plug-in folders that GIMP 2.10's filter host (PSPI) keeps in the
// user's gimprc.
#pragma once

// Reads the gimprc at `path` (kPathSize bytes, then the working path) for
// the line `(pspi-path "C:\\Filters;D:\\More")`, the last one when there are
// several, as GIMP takes it, and offers each of its `;`-separated folders
// with OfferSettingsFolder, GIMP's escapes \\ and \" undone. Reports
// nothing: a missing or unreadable file, no such line, or a text without its
// closing quotation mark adds nothing.
void ScanGimpPspiPath(char* path);
