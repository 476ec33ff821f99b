#pragma once
// The online update check: one small text file on the maker's web folder holds the newest
// version; it is compared byte for byte with ours. And the texts of the about and update
// boxes (simple HTML), and the maker's web addresses.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/profile_file.h"

namespace vex {

// Our own version.
inline constexpr std::string_view kVexTableVersion = "2.1.06";
// The file on the update folder that names the newest version.
inline constexpr std::string_view kVersionFileName = "VexTable.txt";
// At most this much of the version file is read.
inline constexpr std::size_t kVersionFileBytes = 4096;

// The maker's addresses.
struct WebLinks {
  std::string updateFolder = "https://vextable.example.org/update/";
  std::string download = "https://vextable.example.org/download/VexTable.tar.gz";
  std::string information = "https://vextable.example.org/about.html";
  std::string home = "https://vextable.example.org/";
  std::string forum = "https://vextable.example.org/forum/";
  std::string support = "https://vextable.example.org/support/";
  std::string mail = "mailto:support@vextable.example.org";
  std::string headerExchange = "https://vextable.example.org/headers/";
};

// The links, with the update folder of "Update"/"Url" in the settings file when it is set
// (a trailing '/' added).
WebLinks ReadWebLinks(const ProfileFile& settings);

// What a download gave: the first bytes of the answer (at most the limit), or nothing when
// there was no connection, no answer in time, an error status, or an empty answer.
struct Download {
  bool ok = false;
  std::string bytes;
};
using Downloader = std::function<Download(const std::string& url, std::size_t maxBytes)>;

// The downloader of the check: a fresh download (no cache) with the user agent
// "AutoUpdateAgent", giving up after `timeoutSeconds` in all (connecting included).
Downloader InternetDownloader(long timeoutSeconds = 10);

enum class UpdateState { kUpToDate, kNewerVersion, kNotConnected };

struct UpdateOutcome {
  UpdateState state = UpdateState::kNotConnected;
  std::string remoteVersion;  // trimmed, as announced
};

// The version text as the check reads it: white space trimmed at both ends, then tabs. A text
// that is not printable (control characters, a NUL, invalid UTF-8) or longer than a version
// line is no answer at all: it is never shown.
std::optional<std::string> VersionOf(std::string_view answer);

// Downloads the version file of `links.updateFolder` and compares it with our version.
UpdateOutcome CheckForUpdate(const WebLinks& links, const Downloader& download);

// The text of the result box: HTML for an answer (the remote version escaped), the plain
// "Internet connect failing!" without one.
std::string UpdateBoxText(const UpdateOutcome& outcome, const WebLinks& links);

// The about box: its caption and HTML body.
std::string AboutCaption();
std::string AboutBoxHtml(const WebLinks& links);

// Text made safe inside HTML: & < > " ' as character references.
std::string EscapeHtml(std::string_view text);

}  // namespace vex
