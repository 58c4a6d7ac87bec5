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
    virtual bool OnMessage(UINT message, WPARAM wParam);
    // Called by a handler that wants the system's default processing as well.
    void Default() { m_current.wantsDefault = true; }
    // The message a handler of a window message is handling, and the value
    // it returns where the system takes one (WM_QUERYDRAGICON).
    WPARAM GetMessageWParam() const { return m_current.wParam; }
    LPARAM GetMessageLParam() const { return m_current.lParam; }
    void SetMessageResult(LRESULT result)
    {
        m_current.result = result;
        m_current.hasResult = true;
    }
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
    // The message the handler that runs now is handling, and its answer.
    struct CurrentMessage {
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        bool wantsDefault = false;
        bool hasResult = false;
        LRESULT result = 0;
    };
    CurrentMessage m_current;
};

// One entry of a message map: a window message, or a notification (code)
// from a control (id) through WM_COMMAND, and the member that handles it.
// Every handler has the same shape; one of a window message reads the
// message through GetMessageWParam and GetMessageLParam.
template <class T>
struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    void (T::*handler)();
};

template <class T, std::size_t N>
bool DispatchMessageMap(T* self, const MessageMapEntry<T> (&entries)[N], UINT message, WPARAM wParam)
{
    for (const MessageMapEntry<T>& e : entries) {
        if (e.message != message)
            continue;
        if (message == WM_COMMAND && (e.id != LOWORD(wParam) || e.code != HIWORD(wParam)))
            continue;
        (self->*e.handler)();
        return true;
    }
    return false;
}

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    bool OnMessage(UINT message, WPARAM wParam) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)            \
    bool theClass::OnMessage(UINT message, WPARAM wParam) \
    {                                                     \
        using ThisClass = theClass;                       \
        using BaseClass = baseClass;                      \
        static const MessageMapEntry<theClass> entries[] = {
#define END_MESSAGE_MAP()                                                                               \
    }                                                                                                   \
    ;                                                                                                   \
    return DispatchMessageMap(this, entries, message, wParam) || BaseClass::OnMessage(message, wParam); \
    }

#define ON_COMMAND_CODE(code, id, fn) {WM_COMMAND, (code), (id), &ThisClass::fn},
#define ON_BN_CLICKED(id, fn) ON_COMMAND_CODE(BN_CLICKED, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_COMMAND_CODE(LBN_SELCHANGE, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_COMMAND_CODE(CBN_CLOSEUP, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_COMMAND_CODE(CBN_SETFOCUS, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_COMMAND_CODE(CBN_DROPDOWN, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_COMMAND_CODE(CBN_EDITCHANGE, id, fn)
#define ON_MESSAGE_VOID(msg, fn) {(msg), 0, 0, &ThisClass::fn},
#define ON_WM_CLOSE() ON_MESSAGE_VOID(WM_CLOSE, OnClose)
#define ON_WM_PAINT() ON_MESSAGE_VOID(WM_PAINT, OnPaint)
#define ON_WM_SYSCOMMAND() ON_MESSAGE_VOID(WM_SYSCOMMAND, OnSysCommand)
#define ON_WM_QUERYDRAGICON() ON_MESSAGE_VOID(WM_QUERYDRAGICON, OnQueryDragIcon)
