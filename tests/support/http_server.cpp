#include "support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace vex::test {

LocalHttpServer::LocalHttpServer(std::string body, bool silent, int status)
    : body_(std::move(body)), silent_(silent), status_(status) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::listen(listener_, 8);
  socklen_t len = sizeof a;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string LocalHttpServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

std::string LocalHttpServer::Requests() const {
  while (busy_.exchange(true)) {
  }
  std::string copy = requests_;
  busy_ = false;
  return copy;
}

void LocalHttpServer::Serve() {
  std::vector<int> held;  // connections a silent server keeps open without answering
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int c = ::accept(listener_, nullptr, nullptr);
    if (c < 0) continue;
    std::string request;
    char buf[4096];
    pollfd r{c, POLLIN, 0};
    while (request.find("\r\n\r\n") == std::string::npos && ::poll(&r, 1, 1000) > 0) {
      const ssize_t n = ::read(c, buf, sizeof buf);
      if (n <= 0) break;
      request.append(buf, static_cast<std::size_t>(n));
    }
    while (busy_.exchange(true)) {
    }
    requests_ += request;
    busy_ = false;
    if (silent_) {
      held.push_back(c);
      continue;
    }
    const std::string head = "HTTP/1.1 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Error") +
                             "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body_.size()) +
                             "\r\nConnection: close\r\n\r\n";
    const std::string answer = head + body_;
    for (std::size_t sent = 0; sent < answer.size();) {
      const ssize_t n = ::write(c, answer.data() + sent, answer.size() - sent);
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
    ::close(c);
  }
  for (int c : held) ::close(c);
}

}  // namespace vex::test
