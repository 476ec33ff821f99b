// Typed input: posted strings first, then text given to TypeInput, then the input source.

#include "cadhost/host/input.h"

#include <unistd.h>

#include <cstdio>

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

int NextChar() {
  Host& h = Host::Get();
  if (!h.postedInput.empty()) {
    const char c = h.postedInput.front();
    h.postedInput.pop_front();
    return static_cast<unsigned char>(c);
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
    h.sourceEnded = true;
  }
  return -1;
}

}  // namespace

Answer ReadAnswer(bool spacesAllowed) {
  Host& h = Host::Get();
  std::string text;
  bool cut = false;
  g_fromEchoingSource = false;
  for (;;) {
    int c = NextChar();
    if (c < 0) {
      if (text.empty()) return {Answer::Kind::End, {}};
      return {Answer::Kind::Text, text};
    }
    if (h.atLineStart && c == ';') {
      while (c >= 0 && c != '\n' && c != '\r') c = NextChar();
      continue;
    }
    h.atLineStart = false;
    if (c == kEsc) return {Answer::Kind::Cancel, {}};
    if (c == '\n' || c == '\r') {
      h.atLineStart = true;
      return {Answer::Kind::Text, text};
    }
    if ((c == ' ' || c == '\t') && !spacesAllowed) return {Answer::Kind::Text, text};
    if (text.size() < kMaxAnswer) {
      text.push_back(static_cast<char>(c));
    } else if (!cut) {
      cut = true;
      h.Print("\nInput too long: cut to " + std::to_string(kMaxAnswer) + " bytes.\n");
    }
  }
}

Answer Ask(const std::string& prompt, bool spacesAllowed) {
  Host& h = Host::Get();
  h.Print(prompt);
  Answer a = ReadAnswer(spacesAllowed);
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

std::unique_ptr<InputSource> MakeFileInputSource(std::FILE* file) {
  return std::make_unique<FileSource>(file);
}

}  // namespace cadhost
