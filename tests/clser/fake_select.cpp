// fake_select.cpp - stands in for the dialog program clsertyx-select in
// tests, so that every way the dialog can end is reproducible without a
// person: FAKE_SELECT_MODE chooses what it does.
//
//   (unset)  answer with the shown defaults
//   texts    answer with the five '|'-separated texts of FAKE_SELECT_TEXTS
//   file     write the bytes of the file FAKE_SELECT_FILE as they are
//   silent   end without an answer
//   abort    end by abort() without an answer
//   kill     answer, then end by SIGKILL
//   fail     answer, then end with status 3
//   flood    write without end (until the reader goes away)
//
// Every start appends its --product argument as one line to FAKE_SELECT_LOG.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "clser/dialog_answer.h"

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

void put(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

clser::DialogSelection fromTexts(const std::string& texts) {
  std::string parts[5];
  size_t start = 0;
  for (int i = 0; i < 5; ++i) {
    const size_t bar = texts.find('|', start);
    parts[i] = texts.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    start = bar == std::string::npos ? texts.size() : bar + 1;
  }
  return {parts[0], parts[1], parts[2], parts[3], parts[4]};
}

}  // namespace

int main(int argc, char** argv) {
  std::string product = "(none)";
  if (argc == 3 && std::strcmp(argv[1], "--product") == 0) product = argv[2];
  if (const std::string log = env("FAKE_SELECT_LOG"); !log.empty())
    std::ofstream(log, std::ios::app) << product << "\n";

  const std::string mode = env("FAKE_SELECT_MODE");
  const std::string answer = clser::encodeDialogAnswer(mode == "texts" ? fromTexts(env("FAKE_SELECT_TEXTS"))
                                                                       : clser::shownDefaults());
  if (mode.empty() || mode == "texts") {
    put(answer);
  } else if (mode == "file") {
    std::ifstream in(env("FAKE_SELECT_FILE"), std::ios::binary);
    put(std::string(std::istreambuf_iterator<char>(in), {}));
  } else if (mode == "silent") {
  } else if (mode == "abort") {
    std::abort();
  } else if (mode == "kill") {
    put(answer);
    raise(SIGKILL);
  } else if (mode == "fail") {
    put(answer);
    return 3;
  } else if (mode == "flood") {
    const std::string chunk(4096, 'x');
    for (;;) put(chunk);
  } else {
    std::fprintf(stderr, "fake_select: unknown mode %s\n", mode.c_str());
    return 2;
  }
  return 0;
}
