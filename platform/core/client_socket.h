// A blocking TCP client with the shape of the component library's TClientSocket.
//
// Events (OnConnect, OnDisconnect, OnError) always run on the window thread, posted through
// TThread::Queue; never from inside ReceiveBuf or on the reader. ReceiveBuf blocks the calling
// thread until data arrives, the peer closes, the socket is deactivated, or the calling
// TThread is terminated. Sending never raises SIGPIPE.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

class TClientSocket {
 public:
  using TSocketNotifyEvent = std::function<void(TClientSocket& Sender)>;
  // ErrorCode is the system error (errno); a handler that leaves it non-zero gets nothing more.
  using TSocketErrorEvent = std::function<void(TClientSocket& Sender, int& ErrorCode)>;

  TClientSocket();
  ~TClientSocket();
  TClientSocket(const TClientSocket&) = delete;
  TClientSocket& operator=(const TClientSocket&) = delete;

  std::string Host = "";
  int Port = 0;
  // Connection time-out of SetActive(true), in ms (name lookup included).
  int ConnectTimeoutMs = 5000;

  // true: connects to Host:Port (on the calling thread, bounded by ConnectTimeoutMs); on success
  // posts OnConnect, on failure posts OnError. false: shuts the connection down (waking a
  // blocked ReceiveBuf) and posts OnDisconnect when it was connected. Error codes: those of
  // connect (ECONNREFUSED, ...); EHOSTUNREACH when Host does not resolve; ETIMEDOUT when the
  // time-out passes; EINVAL for a Port outside 1-65535.
  void SetActive(bool value);
  bool Active() const;

  // Blocking read of up to count bytes. Returns the byte count, or 0 when the peer closed, the
  // connection failed, the socket is inactive, or the calling thread was terminated. The first
  // time a connection is found closed by the peer or broken, OnDisconnect is posted once and
  // the socket becomes inactive; further calls wait for the calling thread's stop (no spin).
  int ReceiveBuf(void* buf, int count);

  // Sends every byte, or as many as go within 100 ms. Returns the number sent; -1 when inactive.
  // When fewer than count went, errno tells why (ENOTCONN when inactive, ETIMEDOUT when the
  // time ran out, else the system's error of the send).
  int SendBuf(const void* buf, int count);
  int SendText(const std::string& text);

  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnDisconnect;
  TSocketErrorEvent OnError;

 private:
  struct Conn;

  mutable std::mutex mutex_;     // guards conn_ (the window sets it, the reader reads it)
  std::shared_ptr<Conn> conn_;   // current connection; replaced, never reused
  std::shared_ptr<bool> alive_;  // guards posted events against a destroyed socket
};

}  // namespace platform
