// Plug-in folders of editors that record none in the registry: each is
// known from its editor's documentation, below a system folder or the
// editor's install folder, or is named in a settings file kept there.
#pragma once

// Offers each documented plug-in folder and the folders named in the
// documented settings files, in a fixed order, to AddCandidateFolder when
// that exact folder exists and its editor can load this build's plug-in; a
// missing one is never traded for a folder above it. `folder` (kPathSize bytes) is the working path and holds no result
// afterwards. Reports nothing: a missing system folder, install key, plug-in
// folder or settings file adds nothing.
void ProbeDocumentedFolders(char* folder);
