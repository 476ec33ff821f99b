#pragma once
// A web server on 127.0.0.1 for tests of downloads: it answers every request with one canned
// response, or with nothing at all (to test time limits).

#include <atomic>
#include <string>
#include <thread>

namespace vex::test {

class LocalHttpServer {
 public:
  // Answers with status 200 and `body`; with `silent`, accepts and never answers.
  explicit LocalHttpServer(std::string body, bool silent = false, int status = 200);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:<port>/".
  std::string Url() const;
  // The request lines seen (first line and headers of each request).
  std::string Requests() const;

 private:
  void Serve();
  int listener_ = -1;
  int port_ = 0;
  std::string body_;
  bool silent_;
  int status_;
  std::atomic<bool> stop_{false};
  mutable std::string requests_;
  mutable std::atomic<bool> busy_{false};
  std::thread thread_;
};

}  // namespace vex::test
