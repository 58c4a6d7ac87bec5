// The control case for the planted DLL: an exe that imports the common
// controls statically, as the program once did.
#include <windows.h>
#include <commctrl.h>

int main()
{
    ::InitCommonControls();
    return 0;
}
