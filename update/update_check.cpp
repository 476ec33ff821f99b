#include "update/update_check.h"

#include <curl/curl.h>

#include <cstdio>

#include "platform/text_util.h"

namespace vex {

namespace {

constexpr std::size_t kMaxVersionChars = 64;

std::string Formatted(const char* format, std::initializer_list<std::string_view> args) {
  // Each "%s" of the format takes the next argument.
  std::string out;
  auto arg = args.begin();
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && arg != args.end()) {
      out += *arg++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}

std::size_t KeepFirstBytes(char* data, std::size_t size, std::size_t count, void* context) {
  auto* out = static_cast<std::pair<std::string, std::size_t>*>(context);
  const std::size_t bytes = size * count;
  const std::size_t room = out->second - std::min(out->second, out->first.size());
  out->first.append(data, std::min(bytes, room));
  // Asking for no more ends the transfer: the rest of an oversized answer is never read.
  return out->first.size() >= out->second ? 0 : bytes;
}

}  // namespace

WebLinks ReadWebLinks(const ProfileFile& settings) {
  WebLinks links;
  std::string url = settings.GetString("Update", "Url", "");
  if (!url.empty()) {
    if (url.back() != '/') url += '/';
    links.updateFolder = std::move(url);
  }
  return links;
}

Downloader InternetDownloader(long timeoutSeconds) {
  return [timeoutSeconds](const std::string& url, std::size_t maxBytes) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Download d;
    if (!initialised) return d;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) return d;
    std::pair<std::string, std::size_t> sink{std::string(), maxBytes};
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "AutoUpdateAgent");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, KeepFirstBytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = curl_easy_perform(curl);
    // Cutting the answer short ends the transfer with a write error: that is an answer.
    d.ok = (code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.first.size() >= maxBytes)) && !sink.first.empty();
    if (d.ok) d.bytes = std::move(sink.first);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return d;
  };
}

std::optional<std::string> VersionOf(std::string_view answer) {
  std::string_view t = answer;
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (!t.empty() && isSpace(t.front())) t.remove_prefix(1);
  while (!t.empty() && isSpace(t.back())) t.remove_suffix(1);
  while (!t.empty() && t.front() == '\t') t.remove_prefix(1);
  while (!t.empty() && t.back() == '\t') t.remove_suffix(1);
  if (t.empty() || t.size() > kMaxVersionChars || !IsValidUtf8(t)) return std::nullopt;
  for (const char c : t)
    if (static_cast<unsigned char>(c) < 32 || c == 127) return std::nullopt;
  return std::string(t);
}

UpdateOutcome CheckForUpdate(const WebLinks& links, const Downloader& download) {
  UpdateOutcome out;
  const Download d = download(links.updateFolder + std::string(kVersionFileName), kVersionFileBytes);
  if (!d.ok) return out;
  const auto version = VersionOf(std::string_view(d.bytes).substr(0, kVersionFileBytes));
  if (!version) return out;
  out.remoteVersion = *version;
  out.state = *version == kVexTableVersion ? UpdateState::kUpToDate : UpdateState::kNewerVersion;
  return out;
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UpdateBoxText(const UpdateOutcome& outcome, const WebLinks& links) {
  const std::string own(kVexTableVersion);
  const std::string download = EscapeHtml(links.download), info = EscapeHtml(links.information);
  switch (outcome.state) {
    case UpdateState::kNotConnected:
      return "Internet connect failing!";
    case UpdateState::kNewerVersion: {
      const std::string remote = EscapeHtml(outcome.remoteVersion);
      return Formatted("<center><h2>VexTable %s waiting download!!!</h2></center><br><hr><br>Your VexTable version is "
                       "%s<br><br><center><a href='%s'>Download VexTable %s!</a></center><br><br><center><a href='%s'>"
                       "About VexTable %s most information!</a></center><br>",
                       {remote, own, download, remote, info, remote});
    }
    case UpdateState::kUpToDate:
      return Formatted("<center><h2>VexTable %s</h2></center><br><hr><br>Your VexTable version is down to date "
                       "VexTable %s!<br><br><center><a href='%s'>About VexTable %s most information!</a></center><br>",
                       {own, own, info, own});
  }
  return {};
}

std::string AboutCaption() { return "About VexTable"; }

std::string AboutBoxHtml(const WebLinks& links) {
  return Formatted(
      "<center><h2>%s %s</h2></center><br><hr>if you have good idea or propose.<br>Please write to us: "
      "<a href='%s'>%s</a><br><hr><p align='right'>Made by the VexTable team, "
      "<a href='%s'>%s</a></p><center><a href='%s'>Home page</a> &middot; <a href='%s'>Header exchange</a></center>",
      {"VexTable", kVexTableVersion, EscapeHtml(links.mail), EscapeHtml(links.mail.substr(links.mail.find(':') + 1)),
       EscapeHtml(links.home), EscapeHtml(links.home), EscapeHtml(links.home), EscapeHtml(links.headerExchange)});
}

}  // namespace vex
