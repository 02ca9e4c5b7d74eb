// Import and Export: not built yet; the buttons do nothing for now.
#include "app/AppState.h"

void AppState::importFile() {}
void AppState::exportFile() {}
