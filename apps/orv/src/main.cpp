// orv: statistics reports from spreadsheet data, on the command line.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli.hpp"
#include "orv/xlsx/xlsx_writer.hpp"

namespace {

// Interrupted: the save in progress leaves no temporary file, and the
// program then ends as the signal would have ended it.
extern "C" void OnStopSignal(int signal_number) {
  orv::xlsx::RemoveUnfinishedSaves();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

// Passes text on with the control characters that data may carry (escape,
// bell, NUL, carriage return, C1 controls) shown as "?", so that a cell's
// text cannot drive the terminal; line feeds and tabs pass.
class PrintableBuffer : public std::streambuf {
 public:
  explicit PrintableBuffer(std::streambuf* target) : target_(target) {}

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    const auto b = static_cast<unsigned char>(traits_type::to_char_type(ch));
    if (lead_c2_) {
      lead_c2_ = false;
      if (b >= 0x80 && b <= 0x9F) return Put('?') ? ch : traits_type::eof();
      if (!Put('\xC2')) return traits_type::eof();
    }
    if (b == 0xC2) {
      lead_c2_ = true;
      return ch;
    }
    const bool control = (b < 0x20 && b != '\n' && b != '\t') || b == 0x7F;
    return Put(control ? '?' : static_cast<char>(b)) ? ch : traits_type::eof();
  }
  int sync() override {
    if (lead_c2_ && !Put('\xC2')) return -1;
    lead_c2_ = false;
    return target_->pubsync();
  }

 private:
  bool Put(char c) { return !traits_type::eq_int_type(target_->sputc(c), traits_type::eof()); }
  std::streambuf* target_;
  bool lead_c2_ = false;
};

// Catches the signal unless the program was started with it ignored (a
// background job's SIGINT, nohup's SIGHUP), which it keeps ignoring.
void CatchUnlessIgnored(int signal_number) {
  if (std::signal(signal_number, OnStopSignal) == SIG_IGN) std::signal(signal_number, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  for (int s : {SIGINT, SIGTERM, SIGHUP}) CatchUnlessIgnored(s);
  PrintableBuffer out_buffer(std::cout.rdbuf()), err_buffer(std::cerr.rdbuf());
  std::ostream out(&out_buffer), err(&err_buffer);
  const std::vector<std::string> args(argv, argv + argc);
  const int status = orv::report::RunCli(args, out, err, isatty(STDERR_FILENO) == 1);
  out.flush();
  err.flush();
  return status;
}
