#include "platform/win/dialog.h"

#include <exception>

#include "platform/file.h"
#include "platform/win/message_loop.h"
#include "platform/win/ui_seam.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(id);
}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::DoModal()
{
    // Without a parent the dialog is owned, and its owner disabled, as the
    // framework does: by the active window.
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!parent) {
        parent = ::GetActiveWindow();
        if (parent)
            parent = ::GetAncestor(parent, GA_ROOT);
    }
    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hWnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    if (!hWnd)
        return -1;
    m_bInModalLoop = true;
    bool parentWasEnabled = parent && ::IsWindowEnabled(parent);
    if (parentWasEnabled)
        ::EnableWindow(parent, FALSE);
    if (!m_bEndModal)
        ::ShowWindow(hWnd, SW_SHOWNORMAL);

    RunModalLoop(hWnd, m_bEndModal);

    m_bInModalLoop = false;
    if (parentWasEnabled) {
        ::EnableWindow(parent, TRUE);
        ::SetActiveWindow(parent);
    }
    if (::IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    return m_nModalResult;
}

BOOL CDialog::Create(UINT idTemplate, CWnd* pParent)
{
    m_nIDTemplate = idTemplate;
    m_pParentWnd = pParent;
    HWND hWnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(idTemplate),
                                     pParent ? pParent->m_hWnd : nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_bInModalLoop)
        m_bEndModal = true;
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog()
{
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnMessage(UINT, WPARAM)
{
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        return FALSE;
    }
    // Nothing may unwind through the system's frames: every failure of a
    // handler ends here and is reported in a box owned by this window.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const CFileException& e) {
        self->ReportException(e.GetErrorMessage());
    } catch (const std::exception& e) {
        self->ReportException(e.what());
    } catch (...) {
        self->ReportException("予期しないエラーが発生しました");
    }
    return TRUE;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();

    // Handlers nest (a drain inside one runs others): each sees its own
    // message, and the outer one's comes back when the inner one ends.
    struct Restore {
        CurrentMessage& current;
        const CurrentMessage outer;
        ~Restore() { current = outer; }
    } restore{m_current, m_current};
    m_current = CurrentMessage{wParam, lParam};
    if (OnMessage(message, wParam)) {
        if (m_current.wantsDefault)
            return FALSE;
        if (!m_current.hasResult)
            return TRUE;
        // A few messages return their value; the others leave it for the system.
        if (message == WM_QUERYDRAGICON)
            return static_cast<INT_PTR>(m_current.result);
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, m_current.result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    // No help file exists: a help request is answered with the system's beep.
    if (message == WM_HELP) {
        ::MessageBeep(MB_OK);
        return TRUE;
    }
    return FALSE;
}

void CDialog::ReportException(const char* text)
{
    platform::ShowMessageBox(m_hWnd, text, platform::kErrorCaption, MB_OK | MB_ICONSTOP);
}
