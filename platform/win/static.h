#pragma once

#include "platform/win/wnd.h"

class CStatic : public CWnd {};
