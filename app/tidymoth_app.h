#pragma once

#include "platform/win/win_app.h"

// The application: runs the main window modally, then ends.
class CTidymothApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
