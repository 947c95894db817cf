// Serial ports with the shape of the classic comm API, on termios/poll/ioctl.
//
// Handles are opaque ids >= 1 that are never reused; 0 and INVALID_HANDLE_VALUE name no port.
// Every call on a stale or unknown handle fails at once with ERROR_INVALID_HANDLE.
// ReadFile and WriteFile are bounded by the port's time-outs, also on a dead device, and may run
// on two threads at once. CloseHandle while another thread reads returns only after that read
// has returned, so the device is free for an immediate reopen.
#pragma once

#include <cstdint>
#include <string>

using HANDLE = std::intptr_t;
using DWORD = std::uint32_t;
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;

constexpr HANDLE INVALID_HANDLE_VALUE = -1;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

// Error codes reported by GetLastError (the values the console shows to the user).
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_SEM_TIMEOUT = 121;
// A read or write cut short because another thread closed the handle.
constexpr DWORD ERROR_OPERATION_ABORTED = 995;

// CreateFileA arguments (only what a serial port needs).
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD OPEN_EXISTING = 3;

// PurgeComm flags.
constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// Device control block values.
constexpr BYTE NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
constexpr BYTE ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;
constexpr DWORD DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2,
                RTS_CONTROL_TOGGLE = 3;

struct DCB {
  DWORD DCBlength = sizeof(DCB);
  DWORD BaudRate = 0;
  DWORD fBinary : 1 = 0;
  DWORD fParity : 1 = 0;
  DWORD fOutxCtsFlow : 1 = 0;
  DWORD fOutxDsrFlow : 1 = 0;
  DWORD fDtrControl : 2 = 0;
  DWORD fDsrSensitivity : 1 = 0;
  DWORD fTXContinueOnXoff : 1 = 0;
  DWORD fOutX : 1 = 0;
  DWORD fInX : 1 = 0;
  DWORD fErrorChar : 1 = 0;
  DWORD fNull : 1 = 0;
  DWORD fRtsControl : 2 = 0;
  DWORD fAbortOnError : 1 = 0;
  WORD XonLim = 0;
  WORD XoffLim = 0;
  BYTE ByteSize = 0;
  BYTE Parity = 0;
  BYTE StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
};

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};

// Opens "\\.\COMn" (mapped to a Linux device, see ComDevicePath) or "\\.\/abs/path".
// Exclusive: a second open of the same device fails with ERROR_ACCESS_DENIED.
// Returns INVALID_HANDLE_VALUE on failure (GetLastError: ERROR_FILE_NOT_FOUND for a missing
// device, ERROR_ACCESS_DENIED for a busy or forbidden one).
HANDLE CreateFileA(const char* lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   void* lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL CloseHandle(HANDLE hObject);

// Applies baud rate (any rate, through BOTHER when termios has no constant), framing, flow
// control and the DTR/RTS lines (where the device has modem lines; a pty without them is fine).
// On failure GetLastError is the system's errno, shown to the user in decimal.
BOOL SetCommState(HANDLE hFile, const DCB* lpDCB);
BOOL GetCommState(HANDLE hFile, DCB* lpDCB);
// Parses "9600,n,8,1" (and "baud=9600 parity=N data=8 stop=1") into the block; other fields kept.
BOOL BuildCommDCBA(const char* lpDef, DCB* lpDCB);
BOOL SetCommTimeouts(HANDLE hFile, const COMMTIMEOUTS* lpCommTimeouts);
BOOL GetCommTimeouts(HANDLE hFile, COMMTIMEOUTS* lpCommTimeouts);
BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue);
BOOL PurgeComm(HANDLE hFile, DWORD dwFlags);

// Read: with interval 0 and multipliers 0, returns when nNumberOfBytesToRead bytes have arrived
// or the total constant has passed, with what arrived (possibly 0; TRUE). A failed read (device
// gone, line hung up) still waits out the time-out before returning FALSE with
// ERROR_GEN_FAILURE, so a reader loop never spins; a quiet line is never a failure.
BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              void* lpOverlapped);
// Write: loops until every byte is out or the write total constant has passed.
BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, void* lpOverlapped);

// Last error of the calling thread.
DWORD GetLastError();
void SetLastError(DWORD code);

namespace platform {

// The system error (errno) behind the calling thread's last ReadFile or WriteFile: EIO for a
// hung-up line, ETIMEDOUT for a write that ran out of time, ECANCELED when the handle was closed
// meanwhile, EBADF for an unknown handle; 0 when the call did not fail.
int LastSystemError();

// "\\.\COM33" -> "/dev/ttyUSB0"; "\\.\/dev/pts/7" -> "/dev/pts/7"; "" when the name maps to none.
// COM1-32 ttyS0-31, COM33-64 ttyUSB0-31, COM65-96 ttyACM0-31, COM97-100 rfcomm0-3.
std::string ComDevicePath(const std::string& name);

// Test seam: map a COM name ("COM7") to any device path, in-process; an empty path removes it.
void SetComNameOverride(const std::string& comName, const std::string& devicePath);

}  // namespace platform
