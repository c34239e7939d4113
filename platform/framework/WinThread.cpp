#include "platform/framework/WinThread.h"

CWinThread::~CWinThread() {
    if (m_hThread)
        CloseHandle(m_hThread);
}

int CWinThread::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

DWORD WINAPI CWinThread::ThreadMain(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    int code = thread->InitInstance() ? thread->Run() : thread->ExitInstance();
    delete thread;
    return DWORD(code);
}

bool AfxBeginThread(CWinThread* thread, int priority, DWORD* threadId, HANDLE* handle) {
    if (handle)
        *handle = nullptr;
    if (!thread)
        return false;
    // Suspended, so that the object is complete before its thread can end.
    DWORD id = 0;
    HANDLE made = CreateThread(nullptr, 0, CWinThread::ThreadMain, thread, CREATE_SUSPENDED, &id);
    if (!made) {
        delete thread;
        return false;
    }
    thread->m_hThread = made;
    thread->m_nThreadID = id;
    SetThreadPriority(made, priority);
    if (handle &&
        !DuplicateHandle(GetCurrentProcess(), made, GetCurrentProcess(), handle, 0, FALSE, DUPLICATE_SAME_ACCESS))
        *handle = nullptr;
    if (threadId)
        *threadId = id;
    ResumeThread(made);
    return true;
}
