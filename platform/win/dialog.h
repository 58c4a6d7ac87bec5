// Dialogs from templates, modal (DoModal with its own message loop) or
// modeless (Create), with message maps as static tables.
#pragma once

#include <cstddef>

#include "platform/win/wnd.h"

class CDialog;

class CDataExchange {
public:
    explicit CDataExchange(CDialog* dialog) : m_pDlgWnd(dialog) {}
    CDialog* m_pDlgWnd;
};

// Binds a wrapper to the control with `id`: it just stores the handle.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* pParent = nullptr) : m_nIDTemplate(idTemplate), m_pParentWnd(pParent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    // A window that still exists is destroyed with its object.
    ~CDialog() override;

    // Runs the dialog modally: its own message loop, which also gives every
    // modeless dialog of the thread its keyboard handling (Tab, Enter, Esc).
    INT_PTR DoModal();
    // Creates the dialog modelessly; it shows itself if its template says so.
    BOOL Create(UINT idTemplate, CWnd* pParent = nullptr);
    // Modal: ends the loop. Modeless: hides the window, as the system does.
    void EndDialog(int result);
    virtual BOOL DestroyWindow();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // The class's message map; true when an entry handled the message.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by a handler that wants the system's default processing as well.
    void Default() { m_bDefault = true; }
    CWnd* GetParentWnd() const { return m_pParentWnd; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ReportException(const char* text);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
    bool m_bDefault = false;
};

// One entry of a message map: a window message, or a notification (code)
// from a control (id) through WM_COMMAND, and the member that handles it.
template <class T>
struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    void (T::*onVoid)();
    void (T::*onSysCommand)(UINT, LPARAM);
    HCURSOR (T::*onQueryDragIcon)();
};

template <class T, std::size_t N>
bool DispatchMessageMap(T* self, const MessageMapEntry<T> (&entries)[N], UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result)
{
    for (const MessageMapEntry<T>& e : entries) {
        if (e.message != message)
            continue;
        if (message == WM_COMMAND && (e.id != LOWORD(wParam) || e.code != HIWORD(wParam)))
            continue;
        if (e.onSysCommand)
            (self->*e.onSysCommand)(static_cast<UINT>(wParam), lParam);
        else if (e.onQueryDragIcon)
            result = reinterpret_cast<LRESULT>((self->*e.onQueryDragIcon)());
        else
            (self->*e.onVoid)();
        return true;
    }
    return false;
}

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    bool theClass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) \
    {                                                                                     \
        using ThisClass = theClass;                                                       \
        using BaseClass = baseClass;                                                      \
        static const MessageMapEntry<theClass> entries[] = {
#define END_MESSAGE_MAP()                                                        \
    }                                                                            \
    ;                                                                            \
    return DispatchMessageMap(this, entries, message, wParam, lParam, result) || \
           BaseClass::OnMessage(message, wParam, lParam, result);                \
    }

#define ON_COMMAND_CODE(code, id, fn) {WM_COMMAND, (code), (id), &ThisClass::fn, nullptr, nullptr},
#define ON_BN_CLICKED(id, fn) ON_COMMAND_CODE(BN_CLICKED, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_COMMAND_CODE(LBN_SELCHANGE, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_COMMAND_CODE(CBN_CLOSEUP, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_COMMAND_CODE(CBN_SETFOCUS, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_COMMAND_CODE(CBN_DROPDOWN, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_COMMAND_CODE(CBN_EDITCHANGE, id, fn)
#define ON_MESSAGE_VOID(msg, fn) {(msg), 0, 0, &ThisClass::fn, nullptr, nullptr},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, &ThisClass::OnClose, nullptr, nullptr},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &ThisClass::OnPaint, nullptr, nullptr},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, nullptr, &ThisClass::OnSysCommand, nullptr},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, nullptr, nullptr, &ThisClass::OnQueryDragIcon},
