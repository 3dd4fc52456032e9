// A small application module for the runtime's conformance tests. It
// reports every step of its life on the command line, so that the tests can
// see the order in which the host and the system loader drive it.
#include <windows.h>

#include <cstdlib>

#include "AcApDMgr.h"
#include "acedads.h"
#include "acrxEntryPoint.h"
#include "acutads.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"

namespace {

HINSTANCE dllInstance = NULL;

struct Lifetime {
    Lifetime() { acutPrintf(L"static-init\n"); }
    ~Lifetime() { acutPrintf(L"static-exit\n"); }
} lifetime;

struct PerDocument {
    int uses = 0;
};

}  // namespace

AcApDataManager<PerDocument> documentData;

class CTestApp : public AcRxArxApp {
public:
    CTestApp()
    {
#ifdef KV_TEST_MODULE_LOCKED
        m_bUnlocked = false;
#endif
    }

    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override
    {
        acutPrintf(L"init %d %d\n", static_cast<int>(m_bUnlocked), static_cast<int>(m_bMDIAware));
        return AcRxArxApp::On_kInitAppMsg(pkt);
    }
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override
    {
        acutPrintf(L"unload\n");
        return AcRxArxApp::On_kUnloadAppMsg(pkt);
    }
    AcRx::AppRetCode On_kLoadDwgMsg(void* pkt) override
    {
        acutPrintf(L"load-dwg\n");
        return AcRxArxApp::On_kLoadDwgMsg(pkt);
    }
    AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt) override
    {
        acutPrintf(L"unload-dwg\n");
        return AcRxArxApp::On_kUnloadDwgMsg(pkt);
    }
    AcRx::AppRetCode On_kInvkSubrMsg(void* pkt) override
    {
        acutPrintf(L"invoke %d\n", acedGetFunCode());
        return AcRxArxApp::On_kInvkSubrMsg(pkt);
    }
    AcRx::AppRetCode On_kCfgMsg(void*) override
    {
        return report(6);
    }
    AcRx::AppRetCode On_kEndMsg(void*) override
    {
        return report(7);
    }
    AcRx::AppRetCode On_kQuitMsg(void*) override
    {
        return report(8);
    }
    AcRx::AppRetCode On_kSaveMsg(void*) override
    {
        return report(9);
    }
    AcRx::AppRetCode On_kDependencyMsg(void*) override
    {
        return report(10);
    }
    AcRx::AppRetCode On_kNoDependencyMsg(void*) override
    {
        return report(11);
    }
    AcRx::AppRetCode On_kOleUnloadAppMsg(void*) override
    {
        return report(12);
    }
    AcRx::AppRetCode On_kPreQuitMsg(void*) override
    {
        return report(13);
    }
    AcRx::AppRetCode On_kInitDialogMsg(void*) override
    {
        return report(14);
    }
    AcRx::AppRetCode On_kEndDialogMsg(void*) override
    {
        return report(15);
    }
    AcRx::AppRetCode On_kNullMsg(void*) override
    {
        return report(0);
    }

    void RegisterServerComponents() override
    {
        acutPrintf(L"server-components\n");
    }

    static AcRx::AppRetCode report(int code)
    {
        acutPrintf(L"message %d\n", code);
        return AcRx::kRetOK;
    }

    static void OnAlpha()
    {
        acutPrintf(L"alpha\n");
    }
    static void KvTest_Beta()
    {
        acutPrintf(L"beta\n");
    }
    static void KvTest_Gamma()
    {
        acutPrintf(L"gamma\n");
    }
    // Asks a keyword and prints what came back.
    static void OnAsk()
    {
        acedInitGet(0, L"Line Arc Circle");
        ACHAR answer[132] = {};
        const int result = acedGetKword(L"Shape [Line/Arc/Circle]: ", answer);
        acutPrintf(L"asked %d %ls\n", result, answer);
    }
    // Whether the framework knows the module's instance.
    static void OnInstance();
    // Counts its uses in the per-document data.
    static void OnCount()
    {
        acutPrintf(L"count %d\n", ++documentData.docData().uses);
    }

    // The host release the editor reports.
    static void OnVernum()
    {
        resbuf rb{};
        if (acedGetVar(L"_VERNUM", &rb) == RTNORM) {
            acutPrintf(L"vernum %ls\n", rb.resval.rstring);
            free(rb.resval.rstring);
        }
    }
    // Misbehaving commands: one leaves the block table open, one a selection set held.
    static void OnLeaveOpen()
    {
        AcDbBlockTable* table = nullptr;
        acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForRead);
    }
    static void OnHoldSet()
    {
        AcDbBlockTable* table = nullptr;
        AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
        if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
            return;
        AcDbBlockTableRecord* space = nullptr;
        table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
        table->close();
        if (space == nullptr)
            return;
        AcDbPoint* point = new AcDbPoint(AcGePoint3d(1, 2, 3));
        if (space->appendAcDbEntity(point) == Acad::eOk)
            point->close();
        else
            delete point;
        space->close();
        ads_name ss;
        acedSSGet(L"X", NULL, NULL, NULL, ss);
    }

    static int ads_kvtest()
    {
        acutPrintf(L"kvtest called\n");
        return RTNORM;
    }
};

IMPLEMENT_ARX_ENTRYPOINT(CTestApp)

void CTestApp::OnInstance()
{
    acutPrintf(L"instance %ls\n",
               theArxApplication.m_hdllInstance != NULL && theArxApplication.m_hdllInstance == dllInstance
                   ? L"same"
                   : L"different");
}

ACED_ARXCOMMAND_ENTRY(CTestApp, KvTest, _Alpha, Alpha, ACRX_CMD_TRANSPARENT, CTestApp::OnAlpha, NULL, -1)
ACED_ARXCOMMAND_ENTRY_AUTO(CTestApp, KvTest, _Beta, Beta, ACRX_CMD_MODAL, NULL)
ACED_ARXCOMMAND_ENTRYBYID_AUTO(CTestApp, KvTest, _Gamma, 101, ACRX_CMD_MODAL, NULL)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTest, _Ask, Ask, ACRX_CMD_MODAL, CTestApp::OnAsk, NULL, -1)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTest, _Instance, Instance, ACRX_CMD_SESSION, CTestApp::OnInstance, NULL, -1)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTest, _Count, Count, ACRX_CMD_MODAL, CTestApp::OnCount, NULL, -1)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTestHost, _Vernum, Vernum, ACRX_CMD_MODAL, CTestApp::OnVernum, NULL, -1)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTestHost, _LeaveOpen, LeaveOpen, ACRX_CMD_MODAL, CTestApp::OnLeaveOpen, NULL, -1)
ACED_ARXCOMMAND_ENTRY(CTestApp, KvTestHost, _HoldSet, HoldSet, ACRX_CMD_MODAL, CTestApp::OnHoldSet, NULL, -1)
ACED_ADSFUNCTION_ENTRY_AUTO(CTestApp, kvtest, false)

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        dllInstance = instance;
        acutPrintf(L"dllmain-attach\n");
    } else if (reason == DLL_PROCESS_DETACH) {
        acutPrintf(L"dllmain-detach\n");
    }
    return TRUE;
}
