#include "cdmenu/app/AutorunApp.h"

#include "cdmenu/app/AutorunDlg.h"

BOOL CAutorunApp::InitInstance() {
    CAutorunDlg dialog;
    dialog.DoModal();
    return FALSE;
}
