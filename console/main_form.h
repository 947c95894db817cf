// The main window: the receiver link, the live display, the commands to the receiver and the
// sensitivity tests. The controls come from the window's form layout.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "detect/scan_target.h"
#include "platform/core/client_socket.h"
#include "platform/core/serial.h"
#include "platform/vcl/vcl.h"
#include "reader/nmea_thread.h"
#include "reader/reader_owner.h"

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart

namespace console {

using platform::TObject;

class TMainForm : public platform::TForm, public reader::ReaderOwner, public detect::ScanTarget {
 public:
  explicit TMainForm(platform::TComponent* Owner);
  ~TMainForm() override;
  const char* ClassName() const override { return "TMainForm"; }

  // --- members shared with the reader and the other forms ---
  reader::TNMEAThread* ReaderThread = nullptr;
  std::uint8_t RestartKind = 0;  // 0 none, 1 hot, 2 warm, 3 cold, 4 factory reset
  std::uint8_t TestPhase = 0;    // 1 acquisition, 2 tracking only, 3 tracking then acquisition
  std::chrono::steady_clock::time_point RestartTime{};
  std::int32_t GenLevel = -85;
  std::int32_t TestTick = 0;
  std::uint8_t ReopenPending = 0;
  // Ticks waited so far for a pending reopen.
  std::uint32_t ReopenWaitTicks = 0;
  // Ticks in a row the acquisition test has seen its satellite.
  std::uint8_t AcqSeenCount = 0;
  std::uint8_t ChannelChartMode = 0;
  HANDLE GeneratorHandle = 0;
  platform::TClientSocket ClientSocket1;
  // The detection dialog's flag; a dialog, once it exists, hands its own in.
  std::atomic<int>* ScanningFlag = &ownScanning_;

  // The clock restart timing reads; tests replace it.
  std::function<std::chrono::steady_clock::time_point()> Now = [] {
    return std::chrono::steady_clock::now();
  };

  // --- controls ---
  platform::TPageControl* PageControl1 = nullptr;
  platform::TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr,
                      *TabSheet4 = nullptr, *TabSheet5 = nullptr, *TabSheet6 = nullptr;
  platform::TPanel* Panel1 = nullptr;
  chart::TChart* ChartSNR = nullptr;
  platform::TImage *ImgSV = nullptr, *ImgSVOrig = nullptr, *Image2 = nullptr;
  platform::TLabel *LabelDate = nullptr, *LabelTime = nullptr, *LabelLat = nullptr,
                   *LabelLon = nullptr, *LabelAlt = nullptr, *LabelFix = nullptr,
                   *LabelSpeed = nullptr, *LabelTrack = nullptr, *LabelPDOP = nullptr,
                   *LabelHDOP = nullptr, *LabelVDOP = nullptr;
  platform::TButton *BtnHot = nullptr, *BtnWarm = nullptr, *BtnCold = nullptr,
                    *BtnFactory = nullptr;
  platform::TGroupBox *GrpComport = nullptr, *GrpSocket = nullptr, *GroupBox6 = nullptr,
                      *GroupBox15 = nullptr;
  platform::TComboBox *CmbCom = nullptr, *CmbBaud = nullptr;
  platform::TButton *BtnOpen = nullptr, *BtnClose = nullptr, *BtnDetect = nullptr;
  platform::TEdit *EditIP = nullptr, *EditSocket = nullptr;
  platform::TButton *BtnConnect = nullptr, *BtnDisconnect = nullptr;
  platform::TStatusBar *StatusBar1 = nullptr, *StatusBar2 = nullptr;
  // Setup
  platform::TComboBox *CmbGLL = nullptr, *CmbRMC = nullptr, *CmbVTG = nullptr, *CmbGSA = nullptr,
                      *CmbGSV = nullptr, *CmbGGA = nullptr, *CmbZDA = nullptr, *CmbMCHN = nullptr;
  platform::TButton *BtnDefault = nullptr, *BtnNMEAQuery = nullptr, *BtnConfirm = nullptr;
  platform::TLabel *LabelHz = nullptr, *LabelPercent = nullptr;
  platform::TComboBox* CmbSetBaud = nullptr;
  platform::TButton* BtnSetBaud = nullptr;
  platform::TComboBox* CmbFixRate = nullptr;
  platform::TButton *BtnSetFixRate = nullptr, *BtnQueryFixRate = nullptr;
  platform::TButton *BtnLog = nullptr, *BtnLogging = nullptr;
  platform::TMemo* MemoNMEA = nullptr;
  platform::TRadioButton *RadioWAASEnable = nullptr, *RadioRTCMEnable = nullptr,
                         *RadioBothDisable = nullptr;
  platform::TComboBox* CmbRTCMBaud = nullptr;
  platform::TButton *BtnDGPSQuery = nullptr, *BtnDGPSSet = nullptr;
  platform::TComboBox* CmbDatum = nullptr;
  platform::TButton *BtnDatumQuery = nullptr, *BtnDatumSet = nullptr;
  // Channel
  platform::TStringGrid* StringGrid1 = nullptr;
  // Test
  platform::TButton* BtnWakeUp = nullptr;
  platform::TLabel* LabelCurrent = nullptr;
  platform::TCheckBox* ChkBoxPower = nullptr;
  platform::TRadioButton *RadioIntegrity = nullptr, *RadioTest = nullptr;
  platform::TButton *BtnIntegrity = nullptr, *BtnQIntegrity = nullptr;
  platform::TCheckBox* ChkFlashProtect = nullptr;
  platform::TButton *BtnFlashSet = nullptr, *BtnQFlash = nullptr, *BtnAuth = nullptr;
  // GPS-101
  platform::TComboBox *Cmb101Com = nullptr, *Cmb101Baud = nullptr, *Cmb101SV = nullptr,
                      *CmbDegrade = nullptr;
  platform::TButton *Btn101Open = nullptr, *Btn101Close = nullptr;
  platform::TComboBox *CmbAcqCNR = nullptr, *CmbAcqTime = nullptr, *CmbAcqIteration = nullptr;
  platform::TComboBox *CmbTrackCNR = nullptr, *CmbTrackDur = nullptr, *CmbTrackIteration = nullptr;
  platform::TLabel *LabelAcqResult = nullptr, *LabelTrackResult = nullptr;
  platform::TButton *BtnAcqExport = nullptr, *BtnTrackExport = nullptr;
  platform::TButton *BtnTestAcq = nullptr, *BtnTestTrack = nullptr, *BtnTestAll = nullptr,
                    *BtnTestStop = nullptr;
  // About
  platform::TLabel *LabelVersion = nullptr, *LabelCustomer = nullptr, *LabelTCXO = nullptr;
  platform::TButton *BtnQuery = nullptr, *BtnTCXO = nullptr;
  // Non-visual
  platform::TSaveDialog* SaveDialog1 = nullptr;
  platform::TTimer *Timer1 = nullptr, *Timer2 = nullptr;
  platform::TActionList* ActionList1 = nullptr;

  // --- handlers ---
  void FormCreate(TObject* Sender);
  // link
  void BtnOpenClick(TObject* Sender);
  void BtnCloseClick(TObject* Sender);
  void BtnConnectClick(TObject* Sender);
  void BtnDisconnectClick(TObject* Sender);
  void ClientSocket1Connect(platform::TClientSocket& Sender);
  void ClientSocket1Disconnect(platform::TClientSocket& Sender);
  void ClientSocket1Error(platform::TClientSocket& Sender, int& ErrorCode);
  void BtnDetectClick(TObject* Sender);
  // commands
  void BtnHotClick(TObject* Sender);
  void BtnWarmClick(TObject* Sender);
  void BtnColdClick(TObject* Sender);
  void BtnFactoryClick(TObject* Sender);
  void BtnAuthClick(TObject* Sender);
  void BtnWakeUpClick(TObject* Sender);
  void BtnQueryClick(TObject* Sender);
  void BtnTCXOClick(TObject* Sender);
  void BtnQueryFixRateClick(TObject* Sender);
  void BtnQIntegrityClick(TObject* Sender);
  void BtnNMEAQueryClick(TObject* Sender);
  void BtnQFlashClick(TObject* Sender);
  void BtnDatumQueryClick(TObject* Sender);
  void BtnDGPSQueryClick(TObject* Sender);
  void BtnSetFixRateClick(TObject* Sender);
  void BtnSetBaudClick(TObject* Sender);
  void BtnDGPSSetClick(TObject* Sender);
  void BtnIntegrityClick(TObject* Sender);
  void BtnDatumSetClick(TObject* Sender);
  void BtnFlashSetClick(TObject* Sender);
  void BtnConfirmClick(TObject* Sender);
  void BtnDefaultClick(TObject* Sender);
  // output rates and line load
  void CmbGLLChange(TObject* Sender);
  void CmbRMCChange(TObject* Sender);
  void CmbVTGChange(TObject* Sender);
  void CmbGSAChange(TObject* Sender);
  void CmbGSVChange(TObject* Sender);
  void CmbGGAChange(TObject* Sender);
  void CmbZDAChange(TObject* Sender);
  void CmbMCHNChange(TObject* Sender);
  void CmbFixRateChange(TObject* Sender);
  void CmbSetBaudChange(TObject* Sender);
  void CmbBaudChange(TObject* Sender);
  // raw log
  void BtnLogClick(TObject* Sender);
  void BtnLoggingClick(TObject* Sender);
  // timers
  void Timer1Timer(TObject* Sender);
  void Timer2Timer(TObject* Sender);
  // keyboard actions
  void ShowTabExecute(TObject* Sender);
  void FactoryResetExecute(TObject* Sender);
  void SockConnectionExecute(TObject* Sender);
  void ShowTCXOExecute(TObject* Sender);
  void ShowVersionExecute(TObject* Sender);
  // sensitivity tests
  void Btn101OpenClick(TObject* Sender);
  void Btn101CloseClick(TObject* Sender);
  void BtnTestAcqClick(TObject* Sender);
  void BtnTestTrackClick(TObject* Sender);
  void BtnTestAllClick(TObject* Sender);
  void BtnTestStopClick(TObject* Sender);
  // signal chart
  void ChartSNRClick(TObject* Sender);
  void ChartSNRDblClick(TObject* Sender);

  // --- shared steps ---
  void DisableCommandControls();
  void EnableCommandControls();
  void DisableTestControls();
  void EnableTestControls();
  // Raises the conversion error for texts that are no numbers, unless quiet (reply steps).
  void UpdateBandwidthEstimate(bool quiet = false);
  void ResetStatusDisplay();
  void DrawSkyPlot(reader::ReceiverState& s);
  // Both series of the signal chart emptied.
  void ClearSignalChart();
  // The last step of RefreshDisplay: the bars rebuilt from what changed; clears the flags.
  void RefreshSignalChart(reader::ReceiverState& s);
  void SendVersionQuery();
  void SendStartupQueries();
  // Sends the generator's level; false when its port is closed.
  bool SetGeneratorLevel(std::int32_t level);
  // Starts a new reader when none runs.
  void StartReader();
  // Asks the reader to stop and waits for it (bounded: its read time-out, or its stop signal).
  void StopReader();
  // Sends text by the sending convention: nothing without a link; on the COM port with the
  // terminating zero when withZero is set; then waits waitMs on the window thread.
  void SendSentence(const std::string& sentence, bool withZero, int waitMs = 100);
  bool Linked() const { return UseSocket.load() || ComHandle.load() != 0; }

  // --- ReaderOwner ---
  platform::TClientSocket* ClientSocket() override { return &ClientSocket1; }
  std::atomic<int>& Scanning() override { return *ScanningFlag; }
  void ShowRawSentences(const char* sentences) override;
  void RefreshDisplay(reader::ReceiverState& s) override;
  void ShowFixRate(const reader::ReceiverState& s) override;
  void ShowDgpsSbas(const reader::ReceiverState& s) override;
  void ShowDgpsRtcm(const reader::ReceiverState& s) override;
  void ShowDgpsNone(const reader::ReceiverState& s) override;
  void ShowNmeaRates(const reader::ReceiverState& s) override;
  void ShowSbasTest(const reader::ReceiverState& s) override;
  void ShowSbasIntegrity(const reader::ReceiverState& s) override;
  void ShowDatum(const reader::ReceiverState& s) override;
  void ShowTcxo(const reader::ReceiverState& s) override;
  void ShowFlashWritesLeft(const reader::ReceiverState& s) override;
  void ShowRtcmBaud(const reader::ReceiverState& s) override;
  void ShowFirmwareInfo(const reader::ReceiverState& s) override;
  void LogWriteFailed(int error) override;
  void PortReadFailed(HANDLE port, int error) override;

  // --- ScanTarget ---
  bool SocketInUse() const override;
  bool PortOpen() const override;
  void ShowPortChoice(const std::string& port) override;
  void ShowBaudChoice(const std::string& baud) override;
  void OpenPort(TObject* Sender) override;
  void ClosePort(TObject* Sender) override;
  void RepaintWindow() override;
  void AttachScanFlag(std::atomic<int>* flag) override;
  void DetachScanFlag(std::atomic<int>* flag) override;

 private:
  void Shutdown();
  void SetCommandControls(bool on);
  void SetTestControls(bool on);
  void RestartSequence(const char* sentence, std::uint8_t kind);
  void RestartReaderAfter(const char* sentence, bool withZero);
  // The clean sky plot and the eleven fix labels emptied.
  void ClearFixDisplay();
  // The eleven fix labels for f.
  void ShowFix(const reader::FixInfo& f);
  // The clean sky-plot background, with nothing drawn on it.
  void ShowCleanSkyPlot();
  void EmptyStatusBars();
  // Step one of every link opening: raw box, status bars and the last acknowledgement.
  void ClearForNewLink();
  // Empties rows 1 to 32 and disables the grid, when it shows channels.
  void ClearChannelGrid();
  // What every link opening shows once the link is up: timer, clean plot, commands enabled.
  void ShowLinkedLook();
  // "Logging ..." shown over "NMEA Log", or the other way round.
  void ShowLogging(bool on);
  // The link's error in the status bar: what failed, then the link and the system error.
  void ShowLinkError(const char* what, int error);
  // Closes the COM link as "Close" does after its reader found port dead; a stale report (the
  // port closed or replaced meanwhile) does nothing.
  void ComPortLost(HANDLE port, int error);
  // The datum to send: the chosen item, or the item whose text is the combo's; -1 for none.
  int DatumToSend() const;
  void StartTest(std::uint8_t phase);
  int SeenSignal() const;
  void LevelStep(int target, int signal);
  std::string TestResult() const;
  chart::TChartSeries* SignalBars() const;
  chart::TChartSeries* EphemerisBars() const;
  // 32 blue bars of 55 labelled 1 to 32.
  void ShowSignalChartStart();
  // The ephemeris bars under the satellites of the signal bars.
  void ShowEphemerisBars(const reader::ReceiverState& s);

  struct TestNumbers {
    int sv = 0, degrade = 0, acqCnr = 0, acqTime = 0, trackCnr = 0, trackDur = 0;
  };
  TestNumbers testNumbers_;

  // What the sky plot shows, so that a refresh redraws only what changed.
  struct SkyDot {
    std::int32_t prn, elevation, azimuth;
    bool signal;
    bool operator==(const SkyDot&) const = default;
  };
  struct SkyDots {
    int count = 0;
    SkyDot dot[reader::kMaxSatellites]{};
    bool operator==(const SkyDots&) const = default;
  };
  struct SkyShown {
    bool drawn = false;  // dots is on the picture
    SkyDots dots;
    bool indicatorDrawn = false;
    platform::TColor indicator = 0;
  };
  static SkyDots SkyDotsOf(const reader::ReceiverState& s);
  SkyShown skyShown_;
  // The fix the labels show and the channels the enabled grid shows: most chunks change
  // neither, and their refresh leaves both alone.
  std::optional<reader::FixInfo> fixShown_;
  std::array<reader::ChannelInfo, reader::kChannelCount> channelsShown_{};
  // The error of a failed socket send, shown again after the disconnection that follows.
  std::array<std::string, 2> socketError_;
  // The satellite of each signal bar, by X.
  std::vector<int> chartPrns_;
  std::atomic<int> ownScanning_{0};
};

// The sentence for body, or nothing after telling the user it would be too long to send.
std::optional<std::string> BuildOrRefuse(const std::string& body, std::size_t maxLength = 100);

// Read total time-out 30 ms, write 100 ms; queues 4096 bytes in and outQueue out.
void ApplyPortTimeouts(HANDLE h, DWORD outQueue);

// Shows top over under (on) or under alone (off): the two buttons of one place.
void ShowCovering(platform::TButton* top, platform::TButton* under, bool on);

// The window, once the application has made it.
extern TMainForm* MainForm;

}  // namespace console
