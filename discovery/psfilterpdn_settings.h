// The plug-in folders that Paint.NET's filter host (PSFilterPdn) searches
// besides its Effects folder: those its user added, in its settings file.
#pragma once

// Reads PSFilterPdn.xml at `path` (kPathSize bytes, then the working path),
// a .NET data contract, with the system's XmlLite, loaded for this only, and
// offers the text of each element PSFilterPdnSettings / SearchDirectories /
// string (matched by local name, whatever the namespace prefixes) with
// OfferSettingsFolder. Reports nothing: a missing or unreadable file, or one
// that is not well-formed XML to its end, adds nothing.
void ScanPsFilterPdnSettings(char* path);
