#pragma once
#include <windows.h>

// Our stand-in for the framework's user-interface thread: a thread that runs
// InitInstance, then Run (a message loop) and ExitInstance, and deletes its
// object when it ends. AfxBeginThread makes the object and starts it.
class CWinThread {
public:
    CWinThread() = default;
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // False ends the thread at once (ExitInstance still runs).
    virtual BOOL InitInstance() = 0;
    // The message loop: until WM_QUIT; the result is the thread's exit code.
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;

private:
    friend bool AfxBeginThread(CWinThread* thread, int priority, DWORD* threadId, HANDLE* handle);
    static DWORD WINAPI ThreadMain(void* self);
};

// Starts a thread object made with new. From then on the object belongs to
// its thread, which deletes it when it ends, so the caller must not touch it:
// it gets the thread's id and, when asked, a handle of its own to wait on and
// close. False (the object deleted) when no thread could be made.
bool AfxBeginThread(CWinThread* thread, int priority, DWORD* threadId, HANDLE* handle);
