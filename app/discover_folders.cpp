#include "app/discover_folders.h"

void DiscoverFolders(char*) {}
