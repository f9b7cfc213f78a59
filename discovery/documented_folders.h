// Plug-in folders of editors that record none anywhere: each is known from
// its editor's documentation, below a system folder or the editor's install
// folder.
#pragma once

// Offers each documented plug-in folder, in a fixed order, to
// AddCandidateFolder when that exact folder exists; a missing one is never
// traded for a folder above it. `folder` (kPathSize bytes) is the working
// path and holds no result afterwards. Reports nothing: a missing system
// folder, install key or plug-in folder adds nothing.
void ProbeDocumentedFolders(char* folder);
