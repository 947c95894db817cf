#include "console/main_form.h"

#include "chart/component/chart.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/layout_registry.h"
#include "resources/main_form_layout.h"

namespace console {

TMainForm* MainForm = nullptr;

using platform::TLayoutBindings;

#define KV_FIELD(n) .Field(#n, n)
#define KV_EVENT(n) .Event(#n, this, &TMainForm::n)

TMainForm::TMainForm(platform::TComponent* Owner) : TForm(Owner) {
  if (!MainForm) MainForm = this;
  if (!detect::ScanWindow) detect::ScanWindow = this;
  TLayoutBindings b;
  b KV_FIELD(PageControl1) KV_FIELD(TabSheet1) KV_FIELD(TabSheet2) KV_FIELD(TabSheet3)
      KV_FIELD(TabSheet4) KV_FIELD(TabSheet5) KV_FIELD(TabSheet6) KV_FIELD(Panel1)
          KV_FIELD(ChartSNR) KV_FIELD(ImgSV) KV_FIELD(ImgSVOrig) KV_FIELD(Image2)
              KV_FIELD(LabelDate) KV_FIELD(LabelTime) KV_FIELD(LabelLat) KV_FIELD(LabelLon)
                  KV_FIELD(LabelAlt) KV_FIELD(LabelFix) KV_FIELD(LabelSpeed) KV_FIELD(LabelTrack)
                      KV_FIELD(LabelPDOP) KV_FIELD(LabelHDOP) KV_FIELD(LabelVDOP) KV_FIELD(BtnHot)
                          KV_FIELD(BtnWarm) KV_FIELD(BtnCold) KV_FIELD(BtnFactory)
                              KV_FIELD(GrpComport) KV_FIELD(GrpSocket) KV_FIELD(GroupBox6)
                                  KV_FIELD(GroupBox15) KV_FIELD(CmbCom) KV_FIELD(CmbBaud)
                                      KV_FIELD(BtnOpen) KV_FIELD(BtnClose) KV_FIELD(BtnDetect)
                                          KV_FIELD(EditIP) KV_FIELD(EditSocket) KV_FIELD(BtnConnect)
                                              KV_FIELD(BtnDisconnect) KV_FIELD(StatusBar1)
                                                  KV_FIELD(StatusBar2);
  b KV_FIELD(CmbGLL) KV_FIELD(CmbRMC) KV_FIELD(CmbVTG) KV_FIELD(CmbGSA) KV_FIELD(CmbGSV)
      KV_FIELD(CmbGGA) KV_FIELD(CmbZDA) KV_FIELD(CmbMCHN) KV_FIELD(BtnDefault)
          KV_FIELD(BtnNMEAQuery) KV_FIELD(BtnConfirm) KV_FIELD(LabelHz) KV_FIELD(LabelPercent)
              KV_FIELD(CmbSetBaud) KV_FIELD(BtnSetBaud) KV_FIELD(CmbFixRate) KV_FIELD(BtnSetFixRate)
                  KV_FIELD(BtnQueryFixRate) KV_FIELD(BtnLog) KV_FIELD(BtnLogging) KV_FIELD(MemoNMEA)
                      KV_FIELD(RadioWAASEnable) KV_FIELD(RadioRTCMEnable) KV_FIELD(RadioBothDisable)
                          KV_FIELD(CmbRTCMBaud) KV_FIELD(BtnDGPSQuery) KV_FIELD(BtnDGPSSet)
                              KV_FIELD(CmbDatum) KV_FIELD(BtnDatumQuery) KV_FIELD(BtnDatumSet)
                                  KV_FIELD(StringGrid1);
  b KV_FIELD(BtnWakeUp) KV_FIELD(LabelCurrent) KV_FIELD(ChkBoxPower) KV_FIELD(RadioIntegrity)
      KV_FIELD(RadioTest) KV_FIELD(BtnIntegrity) KV_FIELD(BtnQIntegrity) KV_FIELD(ChkFlashProtect)
          KV_FIELD(BtnFlashSet) KV_FIELD(BtnQFlash) KV_FIELD(BtnAuth) KV_FIELD(Cmb101Com)
              KV_FIELD(Cmb101Baud) KV_FIELD(Cmb101SV) KV_FIELD(CmbDegrade) KV_FIELD(Btn101Open)
                  KV_FIELD(Btn101Close) KV_FIELD(CmbAcqCNR) KV_FIELD(CmbAcqTime)
                      KV_FIELD(CmbAcqIteration) KV_FIELD(CmbTrackCNR) KV_FIELD(CmbTrackDur)
                          KV_FIELD(CmbTrackIteration) KV_FIELD(LabelAcqResult)
                              KV_FIELD(LabelTrackResult) KV_FIELD(BtnAcqExport)
                                  KV_FIELD(BtnTrackExport) KV_FIELD(BtnTestAcq)
                                      KV_FIELD(BtnTestTrack) KV_FIELD(BtnTestAll)
                                          KV_FIELD(BtnTestStop) KV_FIELD(LabelVersion)
                                              KV_FIELD(LabelCustomer) KV_FIELD(LabelTCXO)
                                                  KV_FIELD(BtnQuery) KV_FIELD(BtnTCXO)
                                                      KV_FIELD(SaveDialog1) KV_FIELD(Timer1)
                                                          KV_FIELD(Timer2) KV_FIELD(ActionList1);
  b KV_EVENT(FormCreate) KV_EVENT(BtnOpenClick) KV_EVENT(BtnCloseClick) KV_EVENT(BtnConnectClick)
      KV_EVENT(BtnDisconnectClick) KV_EVENT(BtnDetectClick) KV_EVENT(BtnHotClick)
          KV_EVENT(BtnWarmClick) KV_EVENT(BtnColdClick) KV_EVENT(BtnFactoryClick)
              KV_EVENT(BtnAuthClick) KV_EVENT(BtnWakeUpClick) KV_EVENT(BtnQueryClick)
                  KV_EVENT(BtnTCXOClick) KV_EVENT(BtnQueryFixRateClick) KV_EVENT(BtnQIntegrityClick)
                      KV_EVENT(BtnNMEAQueryClick) KV_EVENT(BtnQFlashClick)
                          KV_EVENT(BtnDatumQueryClick) KV_EVENT(BtnDGPSQueryClick)
                              KV_EVENT(BtnSetFixRateClick) KV_EVENT(BtnSetBaudClick)
                                  KV_EVENT(BtnDGPSSetClick) KV_EVENT(BtnIntegrityClick)
                                      KV_EVENT(BtnDatumSetClick) KV_EVENT(BtnFlashSetClick)
                                          KV_EVENT(BtnConfirmClick) KV_EVENT(BtnDefaultClick);
  b KV_EVENT(CmbGLLChange) KV_EVENT(CmbRMCChange) KV_EVENT(CmbVTGChange) KV_EVENT(CmbGSAChange)
      KV_EVENT(CmbGSVChange) KV_EVENT(CmbGGAChange) KV_EVENT(CmbZDAChange) KV_EVENT(CmbMCHNChange)
          KV_EVENT(CmbFixRateChange) KV_EVENT(CmbSetBaudChange) KV_EVENT(CmbBaudChange)
              KV_EVENT(BtnLogClick) KV_EVENT(BtnLoggingClick) KV_EVENT(Timer1Timer)
                  KV_EVENT(Timer2Timer) KV_EVENT(ShowTabExecute) KV_EVENT(FactoryResetExecute)
                      KV_EVENT(SockConnectionExecute) KV_EVENT(ShowTCXOExecute)
                          KV_EVENT(ShowVersionExecute) KV_EVENT(Btn101OpenClick)
                              KV_EVENT(Btn101CloseClick) KV_EVENT(BtnTestAcqClick)
                                  KV_EVENT(BtnTestTrackClick) KV_EVENT(BtnTestAllClick)
                                      KV_EVENT(BtnTestStopClick) KV_EVENT(ChartSNRClick)
                                          KV_EVENT(ChartSNRDblClick);
  platform::RegisterClass("TMainForm", "TForm");
  chart::RegisterChartLayoutClasses();
  LoadLayout(kMainFormLayout, b);

  // The socket is not in the layout: inactive, port 0, its three events bound.
  ClientSocket1.Port = 0;
  ClientSocket1.OnConnect = [this](platform::TClientSocket& s) { ClientSocket1Connect(s); };
  ClientSocket1.OnDisconnect = [this](platform::TClientSocket& s) { ClientSocket1Disconnect(s); };
  ClientSocket1.OnError = [this](platform::TClientSocket& s, int& code) {
    ClientSocket1Error(s, code);
  };
}

#undef KV_FIELD
#undef KV_EVENT

TMainForm::~TMainForm() {
  Shutdown();
  if (MainForm == this) MainForm = nullptr;
  if (detect::ScanWindow == this) detect::ScanWindow = nullptr;
}

void TMainForm::FormCreate(TObject*) {
  ComHandle = 0;
  LogFile.Close();
  ReaderThread = nullptr;
  ShowSignalChartStart();
  DisableCommandControls();
  DisableTestControls();
  UpdateBandwidthEstimate();
  StringGrid1->Enabled = false;
  const char* heading[] = {"Channel", "SVid", "SNR", "Status"};
  for (int c = 0; c < 4; ++c) StringGrid1->SetCell(c, 0, heading[c]);
  Panel1->DoubleBuffered = true;
  BorderStyle = platform::bsSingle;
  BorderIcons = platform::TBorderIcons(BorderIcons) >> platform::biMaximize;
  Top = 0;
  Left = 0;
}

// Stop every reader before anything it touches goes: then the port, the log, the generator
// and the socket, in that order.
void TMainForm::Shutdown() {
  StopReader();
  platform::StopAllThreads();
  Timer1->Enabled = false;
  Timer2->Enabled = false;
  if (HANDLE h = ComHandle.exchange(0)) CloseHandle(h);
  LogFile.Close();
  if (GeneratorHandle) {
    CloseHandle(GeneratorHandle);
    GeneratorHandle = 0;
  }
  ClientSocket1.OnConnect = nullptr;
  ClientSocket1.OnDisconnect = nullptr;
  ClientSocket1.OnError = nullptr;
  ClientSocket1.SetActive(false);
}

namespace {

template <class... C>
void EnableAll(bool on, C*... controls) {
  ((controls->Enabled = on), ...);
}

}  // namespace

void TMainForm::SetCommandControls(bool on) {
  EnableAll(on, BtnHot, BtnWarm, BtnCold, BtnFactory, BtnLog, BtnDGPSSet, BtnDGPSQuery,
            BtnDatumQuery, BtnDatumSet, BtnConfirm, BtnDefault, BtnNMEAQuery, BtnQuery, BtnTCXO,
            BtnWakeUp, BtnSetFixRate, BtnQueryFixRate, BtnSetBaud, ChkBoxPower, BtnIntegrity,
            BtnQIntegrity, BtnFlashSet, ChkFlashProtect, BtnQFlash, BtnAuth, Cmb101Com, Cmb101Baud,
            Cmb101SV, CmbDegrade, Btn101Open);
}

void TMainForm::DisableCommandControls() {
  SetCommandControls(false);
}
void TMainForm::EnableCommandControls() {
  SetCommandControls(true);
}

void TMainForm::SetTestControls(bool on) {
  EnableAll(on, CmbAcqCNR, CmbAcqTime, CmbAcqIteration, BtnAcqExport, CmbTrackCNR, CmbTrackDur,
            CmbTrackIteration, BtnTrackExport, BtnTestAcq, BtnTestTrack, BtnTestAll);
}

void TMainForm::DisableTestControls() {
  SetTestControls(false);
}
void TMainForm::EnableTestControls() {
  SetTestControls(true);
}

}  // namespace console
