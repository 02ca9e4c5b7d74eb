// Transfer control: not built yet; Recv and Send do nothing for now.
#include "app/AppState.h"

void AppState::startReceive() {}
void AppState::startSend() {}
void AppState::cancelSequence() {}
void AppState::transferFailed(int, const std::string&) {}
