// Device control block: applying it to the line, reading it back, and building it from text.
#include <sys/ioctl.h>
#include <termios.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/serial.h"
#include "platform/core/serial_baud.h"
#include "platform/core/serial_port.h"

namespace {

using platform::serial_detail::PortRef;

struct StandardRate {
  DWORD baud;
  speed_t code;
};

constexpr StandardRate kStandardRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> StandardCode(DWORD baud) {
  for (const StandardRate& r : kStandardRates) {
    if (r.baud == baud) return r.code;
  }
  return std::nullopt;
}

DWORD StandardBaud(speed_t code) {
  for (const StandardRate& r : kStandardRates) {
    if (r.code == code) return r.baud;
  }
  return 0;
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

tcflag_t SizeFlag(BYTE bits) {
  switch (bits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

tcflag_t ParityFlags(BYTE parity) {
  switch (parity) {
    case ODDPARITY:
      return PARENB | PARODD;
    case EVENPARITY:
      return PARENB;
    case MARKPARITY:
      return PARENB | CMSPAR | PARODD;
    case SPACEPARITY:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

// Sets or clears one modem line; devices without modem lines (pseudo-terminals) are fine.
int SetModemLine(int fd, int line, bool on) {
  if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return 0;
  return errno == ENOTTY || errno == EINVAL ? 0 : errno;
}

// A UART is off by a few percent at most; a larger gap means the driver fell back to another rate.
bool RateMatches(DWORD wanted, std::uint32_t actual) {
  const std::uint64_t diff = wanted > actual ? wanted - actual : actual - wanted;
  return diff * 100 <= std::uint64_t{wanted} * 3;
}

}  // namespace

BOOL SetCommState(HANDLE hFile, const DCB* lpDCB) {
  PortRef port(hFile);
  if (!port) return FALSE;
  if (lpDCB == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const DCB& dcb = *lpDCB;
  if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
      (dcb.StopBits != ONESTOPBIT && dcb.StopBits != TWOSTOPBITS)) {
    return Fail(EINVAL);
  }
  const int fd = port->fd;

  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return Fail(errno);
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  const tcflag_t framing =
      SizeFlag(dcb.ByteSize) | ParityFlags(dcb.Parity) | (dcb.StopBits == TWOSTOPBITS ? CSTOPB : 0);
  tio.c_cflag |= framing;
  const bool hardwareFlow = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
  if (hardwareFlow) tio.c_cflag |= CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  if (dcb.fOutX) tio.c_iflag |= IXON;
  if (dcb.fInX) tio.c_iflag |= IXOFF;
  if (dcb.fParity && dcb.Parity != NOPARITY) tio.c_iflag |= INPCK;
  tio.c_cc[VSTART] = dcb.XonChar ? dcb.XonChar : 0x11;
  tio.c_cc[VSTOP] = dcb.XoffChar ? dcb.XoffChar : 0x13;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  const std::optional<speed_t> code = StandardCode(dcb.BaudRate);
  if (code) {
    ::cfsetispeed(&tio, *code);
    ::cfsetospeed(&tio, *code);
  }
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return Fail(errno);
  if (!code) {
    if (int err = platform::serial_detail::SetLineRate(fd, dcb.BaudRate)) return Fail(err);
  }

  // tcsetattr succeeds when any part was taken: check that the line really has what was asked.
  termios now{};
  if (::tcgetattr(fd, &now) != 0) return Fail(errno);
  constexpr tcflag_t kFramingMask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
  const tcflag_t wantedFraming = framing & ((framing & PARENB) ? kFramingMask : CSIZE | CSTOPB);
  const tcflag_t haveFraming =
      now.c_cflag & ((now.c_cflag & PARENB) ? kFramingMask : CSIZE | CSTOPB | PARENB);
  if (haveFraming != wantedFraming) return Fail(EINVAL);
  std::uint32_t actual = 0;
  if (platform::serial_detail::GetLineRate(fd, &actual) == 0 &&
      !RateMatches(dcb.BaudRate, actual)) {
    return Fail(EINVAL);
  }

  if (int err = SetModemLine(fd, TIOCM_DTR, dcb.fDtrControl != DTR_CONTROL_DISABLE)) {
    return Fail(err);
  }
  if (!hardwareFlow) {
    if (int err = SetModemLine(fd, TIOCM_RTS, dcb.fRtsControl == RTS_CONTROL_ENABLE)) {
      return Fail(err);
    }
  }

  std::lock_guard lock(port->mu);
  port->dcb = dcb;
  port->dcbSet = true;
  return TRUE;
}

BOOL GetCommState(HANDLE hFile, DCB* lpDCB) {
  PortRef port(hFile);
  if (!port) return FALSE;
  if (lpDCB == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  termios tio{};
  if (::tcgetattr(port->fd, &tio) != 0) return Fail(errno);

  DCB dcb{};
  {
    std::lock_guard lock(port->mu);
    if (port->dcbSet) dcb = port->dcb;
  }
  dcb.DCBlength = sizeof(DCB);
  dcb.fBinary = 1;
  std::uint32_t baud = 0;
  if (platform::serial_detail::GetLineRate(port->fd, &baud) != 0) {
    baud = StandardBaud(::cfgetospeed(&tio));
  }
  dcb.BaudRate = baud;
  switch (tio.c_cflag & CSIZE) {
    case CS5:
      dcb.ByteSize = 5;
      break;
    case CS6:
      dcb.ByteSize = 6;
      break;
    case CS7:
      dcb.ByteSize = 7;
      break;
    default:
      dcb.ByteSize = 8;
      break;
  }
  if (!(tio.c_cflag & PARENB)) {
    dcb.Parity = NOPARITY;
  } else if (tio.c_cflag & CMSPAR) {
    dcb.Parity = (tio.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
  } else {
    dcb.Parity = (tio.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
  }
  dcb.StopBits = (tio.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
  dcb.fParity = (tio.c_iflag & INPCK) ? 1 : 0;
  dcb.fOutxCtsFlow = (tio.c_cflag & CRTSCTS) ? 1 : 0;
  if (tio.c_cflag & CRTSCTS) {
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  } else if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
  }
  dcb.fOutX = (tio.c_iflag & IXON) ? 1 : 0;
  dcb.fInX = (tio.c_iflag & IXOFF) ? 1 : 0;
  dcb.XonChar = static_cast<char>(tio.c_cc[VSTART]);
  dcb.XoffChar = static_cast<char>(tio.c_cc[VSTOP]);
  *lpDCB = dcb;
  return TRUE;
}

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

std::optional<DWORD> ParseBaud(std::string_view s) {
  if (s.empty() || s.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > MAXDWORD) return std::nullopt;
  return static_cast<DWORD>(value);
}

std::optional<BYTE> ParseParity(std::string_view s) {
  if (s.size() != 1) return std::nullopt;
  switch (std::tolower(static_cast<unsigned char>(s[0]))) {
    case 'n':
      return NOPARITY;
    case 'o':
      return ODDPARITY;
    case 'e':
      return EVENPARITY;
    case 'm':
      return MARKPARITY;
    case 's':
      return SPACEPARITY;
    default:
      return std::nullopt;
  }
}

std::optional<BYTE> ParseDataBits(std::string_view s) {
  if (s.size() != 1 || s[0] < '5' || s[0] > '8') return std::nullopt;
  return static_cast<BYTE>(s[0] - '0');
}

std::optional<BYTE> ParseStopBits(std::string_view s) {
  if (s == "1") return ONESTOPBIT;
  if (s == "1.5") return ONE5STOPBITS;
  if (s == "2") return TWOSTOPBITS;
  return std::nullopt;
}

struct Framing {
  std::optional<DWORD> baud;
  std::optional<BYTE> parity, dataBits, stopBits;
};

// "9600,n,8,1"; trailing fields may be left out.
bool ParsePositional(std::string_view text, Framing* f) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t comma = text.find(',');
    fields.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (fields.size() > 4) return false;
  f->baud = ParseBaud(fields[0]);
  if (!f->baud) return false;
  if (fields.size() > 1 && !(f->parity = ParseParity(fields[1]))) return false;
  if (fields.size() > 2 && !(f->dataBits = ParseDataBits(fields[2]))) return false;
  if (fields.size() > 3 && !(f->stopBits = ParseStopBits(fields[3]))) return false;
  return true;
}

// "baud=9600 parity=N data=8 stop=1"; any subset, each key at most once.
bool ParseKeyed(std::string_view text, Framing* f) {
  bool any = false;
  while (!(text = Trim(text)).empty()) {
    size_t end = 0;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end);
    const size_t eq = token.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view key = token.substr(0, eq);
    const std::string_view value = token.substr(eq + 1);
    if (EqualsNoCase(key, "baud") && !f->baud) {
      f->baud = ParseBaud(value);
      if (!f->baud) return false;
    } else if (EqualsNoCase(key, "parity") && !f->parity) {
      if (!(f->parity = ParseParity(value))) return false;
    } else if (EqualsNoCase(key, "data") && !f->dataBits) {
      if (!(f->dataBits = ParseDataBits(value))) return false;
    } else if (EqualsNoCase(key, "stop") && !f->stopBits) {
      if (!(f->stopBits = ParseStopBits(value))) return false;
    } else {
      return false;
    }
    any = true;
  }
  return any;
}

}  // namespace

BOOL BuildCommDCBA(const char* lpDef, DCB* lpDCB) {
  if (lpDef == nullptr || lpDCB == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const std::string_view text = Trim(lpDef);
  Framing f;
  const bool ok =
      text.find('=') != std::string_view::npos ? ParseKeyed(text, &f) : ParsePositional(text, &f);
  if (!ok) return Fail(ERROR_INVALID_PARAMETER);
  if (f.baud) lpDCB->BaudRate = *f.baud;
  if (f.parity) lpDCB->Parity = *f.parity;
  if (f.dataBits) lpDCB->ByteSize = *f.dataBits;
  if (f.stopBits) lpDCB->StopBits = *f.stopBits;
  return TRUE;
}
