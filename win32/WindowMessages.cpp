#include "win32/WindowMessages.h"

#include "resources/resource.h"

const UINT g_ruvoFrame = RegisterWindowMessageA(MESSAGE_NAME_FRAME);
const UINT g_ruvoHead = RegisterWindowMessageA(MESSAGE_NAME_HEAD);
const UINT g_ruvoFail = RegisterWindowMessageA(MESSAGE_NAME_FAIL);
const UINT g_ruvoTitle = RegisterWindowMessageA(MESSAGE_NAME_TITLE);
const UINT g_ruvoProgress = RegisterWindowMessageA(MESSAGE_NAME_PROGRESS);
const UINT g_taskbarButtonCreated = RegisterWindowMessageA(MESSAGE_NAME_TASKBAR_BUTTON);
