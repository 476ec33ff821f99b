// Typed input: posted strings first, then text given to TypeInput, then the input source.

#include "cadhost/host/input.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cadhost/host/host_state.h"

namespace cadhost {
namespace {

constexpr int kEsc = 27;
// Longer answers are cut: a script of junk without line breaks must not fill the memory.
constexpr std::size_t kMaxAnswer = 64u << 10;

class FileSource : public InputSource {
 public:
  explicit FileSource(std::FILE* f)
      : m_file(f), m_echoes(f != nullptr && ::isatty(::fileno(f)) == 1) {}
  ~FileSource() override {
    if (m_file != nullptr && m_file != stdin) std::fclose(m_file);
  }
  bool EchoesInput() const override { return m_echoes; }
  int Next() override {
    if (m_file == nullptr) return -1;
    int c = std::fgetc(m_file);
    if (c == '\r') {
      const int next = std::fgetc(m_file);
      if (next == '\n') return '\n';
      if (next != EOF) std::ungetc(next, m_file);
    }
    return c == EOF ? -1 : c;
  }

 private:
  std::FILE* m_file;
  bool m_echoes;
};

// Whether the answer being read came, at least in part, from an echoing source.
bool g_fromEchoingSource = false;

// NextChar: the running script has just ended (a partly typed answer ends with it).
constexpr int kScriptEnded = -4;

int NextChar() {
  Host& h = Host::Get();
  if (!h.postedInput.empty()) {
    const char c = h.postedInput.front();
    h.postedInput.pop_front();
    return static_cast<unsigned char>(c);
  }
  if (h.script) {
    const int c = h.script->Next();
    if (c >= 0) return c;
    h.script.reset();  // the script has ended: input goes on from where it came before
    h.atLineStart = true;
    return kScriptEnded;
  }
  if (h.typedPos < h.typed.size()) {
    const char c = h.typed[h.typedPos++];
    if (h.typedPos == h.typed.size()) {
      h.typed.clear();
      h.typedPos = 0;
    }
    return static_cast<unsigned char>(c);
  }
  if (h.source && !h.sourceEnded) {
    const int c = h.source->Next();
    if (c >= 0) {
      g_fromEchoingSource = g_fromEchoingSource || h.source->EchoesInput();
      return c;
    }
    if (c == kInputPick || c == kInputAgain) return c;
    h.sourceEnded = true;
  }
  return kInputEnded;
}

}  // namespace

Answer ReadAnswer(bool spacesAllowed) {
  Host& h = Host::Get();
  std::string text;
  bool cut = false;
  g_fromEchoingSource = false;
  for (;;) {
    int c = NextChar();
    if (c == kScriptEnded && !text.empty()) return {Answer::Kind::Text, text, {}};
    if (c == kInputAgain || c == kScriptEnded) continue;
    if (c == kInputPick) {
      Answer a{Answer::Kind::Pick, {}, {}};
      if (h.source && h.source->TakePick(a.pick)) {
        h.atLineStart = true;
        return a;
      }
      continue;
    }
    if (c < 0) {
      if (text.empty()) return {Answer::Kind::End, {}, {}};
      return {Answer::Kind::Text, text, {}};
    }
    if (h.atLineStart && c == ';') {
      while (c >= 0 && c != '\n' && c != '\r') c = NextChar();
      continue;
    }
    h.atLineStart = false;
    if (c == kEsc) return {Answer::Kind::Cancel, {}, {}};
    if (c == '\n' || c == '\r') {
      h.atLineStart = true;
      return {Answer::Kind::Text, text, {}};
    }
    if ((c == ' ' || c == '\t') && !spacesAllowed) return {Answer::Kind::Text, text, {}};
    if (text.size() < kMaxAnswer) {
      text.push_back(static_cast<char>(c));
    } else if (!cut) {
      cut = true;
      h.Print("\nInput too long: cut to " + std::to_string(kMaxAnswer) + " bytes.\n");
    }
  }
}

Answer Ask(const std::string& prompt, bool spacesAllowed, const PromptContext* context) {
  Host& h = Host::Get();
  h.Print(prompt);
  PromptContext plain;
  plain.kind = spacesAllowed ? PromptContext::Kind::Text : PromptContext::Kind::Other;
  plain.spacesAllowed = spacesAllowed;
  HostWindow* window = h.window;
  if (window != nullptr) window->PromptStarted(context != nullptr ? *context : plain);
  Answer a = ReadAnswer(spacesAllowed);
  if (window != nullptr && h.window == window) window->PromptEnded();
  if (a.kind == Answer::Kind::Pick) return a;
  const std::string shown = a.kind == Answer::Kind::Text ? a.text : "*Cancel*";
  if (g_fromEchoingSource && a.kind == Answer::Kind::Text) {
    h.text.append(shown);  // the terminal shows it already
  } else {
    h.Print(shown);
  }
  return a;
}

void DiscardInput() {
  Host& h = Host::Get();
  h.postedInput.clear();
  h.script.reset();
  h.typed.clear();
  h.typedPos = 0;
  h.source.reset();
  h.sourceEnded = false;
  h.atLineStart = true;
}

void TypeInput(std::string_view text) {
  Host& h = Host::Get();
  h.typed.append(text);
}

void SetInputSource(std::unique_ptr<InputSource> source) {
  Host& h = Host::Get();
  h.source = std::move(source);
  h.sourceEnded = false;
}

bool ScriptRunning() { return static_cast<bool>(Host::Get().script); }

bool StartScript(const std::string& path, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  // A script started from a script takes its place, as the host's SCRIPT does.
  Host& h = Host::Get();
  h.script = std::make_unique<FileSource>(f);
  h.atLineStart = true;
  return true;
}

std::unique_ptr<InputSource> MakeFileInputSource(std::FILE* file) {
  return std::make_unique<FileSource>(file);
}

}  // namespace cadhost
