#pragma once

// Runs every folder search and host probe, in the dialog's fixed order, each
// adding what it finds to the CandidateList. `pathBuffer` (kPathSize bytes) is
// the dialog's working path, which the probes use for their results.
void DiscoverFolders(char* pathBuffer);
