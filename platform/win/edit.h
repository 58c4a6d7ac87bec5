#pragma once

#include "platform/win/wnd.h"

class CEdit : public CWnd {};
