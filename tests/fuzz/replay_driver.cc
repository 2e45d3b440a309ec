// The driver of a fuzz target when no libFuzzer is at hand: replays every
// file of the target's corpus, then runs a fixed number of inputs made from
// the corpus by seeded mutations, so a run is the same on every machine. An
// input that stops the process (a failed property, a crash, a sanitizer's
// report) is written to crash-TARGET-N in the current folder first, ready to
// be added to the corpus.
//
//   TARGET_replay CORPUS_DIR [--runs N] [--seed S] [--max-len BYTES]
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
    __attribute__((weak));
// Present when a sanitizer runtime is linked in: called before a sanitizer
// ends the process on a finding.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void))
    __attribute__((weak));

namespace {

// The input in hand, for the handlers below; they may only use what is
// safe in a signal handler.
const std::string* current_input = nullptr;
char crash_path[4096];

void SaveCurrentInput() {
  if (current_input == nullptr) return;
  const int fd = open(crash_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  const char* data = current_input->data();
  size_t left = current_input->size();
  while (left > 0) {
    const ssize_t n = write(fd, data, left);
    if (n <= 0) break;
    data += n;
    left -= static_cast<size_t>(n);
  }
  close(fd);
  static const char kNote[] = "the failing input is in ";
  (void)!write(STDERR_FILENO, kNote, sizeof kNote - 1);
  (void)!write(STDERR_FILENO, crash_path, strlen(crash_path));
  (void)!write(STDERR_FILENO, "\n", 1);
  current_input = nullptr;
}

void OnFatalSignal(int signal_number) {
  SaveCurrentInput();
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

void InstallHandlers() {
  for (int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
    ::signal(s, OnFatalSignal);
  }
  if (__sanitizer_set_death_callback != nullptr) {
    __sanitizer_set_death_callback(SaveCurrentInput);
  }
}

void Run(const std::string& input) {
  current_input = &input;
  // A copy of its own, so that a read past the end is seen by the
  // sanitizers.
  std::vector<uint8_t> bytes(input.begin(), input.end());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  current_input = nullptr;
}

std::vector<std::string> ReadCorpus(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> inputs;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in),
                        std::istreambuf_iterator<char>());
  }
  return inputs;
}

// Pieces that the texts under test give meaning to; the mutations insert
// them whole, which reaches far more of the code than random bytes do.
const char* const kTokens[] = {
    "\"",         "'",        "\r\n",     "\r",        "\n",
    "\t",         " ",        "  ",       "+",         "||",
    "&",          "&amp;",    "&lt;",     "&gt;",      "&quot;",
    "<",          ">",        "!~!",      ".*",        ". *",
    ",",          "|",        "=",        "(",         ")",
    "where",      " where ",  " group ",  " having ",  " order ",
    "select",     "from",     "migrate",  "target(",   "empty()",
    "default()",  "#include", "table",    "<name>",    "'",
    "var.",       "get.code", "selectdo", "endselect", "select case",
    "end select", "$",        "*",        "~^~",       "~|~",
    "qxgct872",   "and",      "or",       "#",         "cust.",
    "ord.",       "LEG",      "x",        "1",         "\x80",
    "\xff",       ""};  // "" stands for a NUL byte

class Mutator {
 public:
  Mutator(uint64_t seed, size_t max_len) : random_(seed), max_len_(max_len) {}

  std::string Mutate(const std::vector<std::string>& corpus) {
    std::string s = corpus.empty() ? std::string() : Pick(corpus);
    const int steps = 1 + static_cast<int>(Below(4));
    for (int i = 0; i < steps; ++i) Step(&s, corpus);
    if (s.size() > max_len_) s.resize(max_len_);
    return s;
  }

 private:
  uint64_t Below(uint64_t n) { return n == 0 ? 0 : random_() % n; }

  const std::string& Pick(const std::vector<std::string>& corpus) {
    return corpus[Below(corpus.size())];
  }

  void Step(std::string* s, const std::vector<std::string>& corpus) {
    const size_t at = Below(s->size() + 1);
    switch (Below(7)) {
      case 0:  // a byte changed
        if (!s->empty()) (*s)[Below(s->size())] = static_cast<char>(Below(256));
        break;
      case 1:  // a byte inserted
        s->insert(at, 1, static_cast<char>(Below(256)));
        break;
      case 2: {  // a token inserted
        const size_t n = sizeof kTokens / sizeof kTokens[0];
        const char* token = kTokens[Below(n)];
        s->insert(at, token[0] == '\0' ? std::string(1, '\0') : token);
        break;
      }
      case 3:  // a range removed
        if (!s->empty()) s->erase(at, 1 + Below(16));
        break;
      case 4: {  // a range repeated: long inputs show non-linear time
        if (s->empty()) break;
        const std::string piece = s->substr(at, 1 + Below(32));
        const uint64_t times = 1 + Below(64);
        std::string repeated;
        for (uint64_t i = 0; i < times && repeated.size() < max_len_; ++i) {
          repeated += piece;
        }
        s->insert(at, repeated);
        break;
      }
      case 5: {  // a piece of another input spliced in
        if (corpus.empty()) break;
        const std::string& other = Pick(corpus);
        const size_t from = Below(other.size() + 1);
        s->insert(at, other.substr(from, Below(other.size() - from + 1)));
        break;
      }
      default:  // a range cut off the end
        if (!s->empty()) s->resize(at);
        break;
    }
  }

  std::mt19937_64 random_;
  size_t max_len_;
};

struct Options {
  std::string corpus;
  uint64_t runs = 1000;
  uint64_t seed = 1;
  size_t max_len = 4096;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--runs" && has_value) {
      options->runs = std::stoull(argv[++i]);
    } else if (arg == "--seed" && has_value) {
      options->seed = std::stoull(argv[++i]);
    } else if (arg == "--max-len" && has_value) {
      options->max_len = std::stoull(argv[++i]);
    } else if (options->corpus.empty() && arg.rfind("--", 0) != 0) {
      options->corpus = arg;
    } else {
      return false;
    }
  }
  return !options->corpus.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: %s CORPUS_DIR [--runs N] [--seed S] [--max-len B]\n",
                 argv[0]);
    return 2;
  }
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  const std::string name = std::filesystem::path(argv[0]).filename().string();
  InstallHandlers();

  const auto started = std::chrono::steady_clock::now();
  const std::vector<std::string> corpus = ReadCorpus(options.corpus);
  std::snprintf(crash_path, sizeof crash_path, "crash-%s-corpus", name.c_str());
  for (const std::string& input : corpus) Run(input);

  Mutator mutator(options.seed, options.max_len);
  for (uint64_t run = 0; run < options.runs; ++run) {
    std::snprintf(crash_path, sizeof crash_path, "crash-%s-%llu", name.c_str(),
                  static_cast<unsigned long long>(run));
    Run(mutator.Mutate(corpus));
  }
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - started;
  std::printf(
      "%s: %zu corpus inputs and %llu mutations (seed %llu) in %.2f s\n",
      name.c_str(), corpus.size(),
      static_cast<unsigned long long>(options.runs),
      static_cast<unsigned long long>(options.seed), took.count());
  return 0;
}
