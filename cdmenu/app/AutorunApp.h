#pragma once
#include "platform/framework/WinApp.h"

// The disc menu program: its start runs the menu dialog and ends.
class CAutorunApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
