#include "app/tidymoth_app.h"

#include <memory>

#include "ui/main_dlg.h"

// The one application object.
CTidymothApp theApp;

BOOL CTidymothApp::InitInstance()
{
    Enable3dControls();
    // The main window holds the whole result set: it lives on the heap, not
    // on the stack.
    auto dlg = std::make_unique<CMainDlg>();
    m_pMainWnd = dlg.get();
    dlg->DoModal();
    m_pMainWnd = nullptr;
    dlg.reset();
    return FALSE;
}
