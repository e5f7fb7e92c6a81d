#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A pseudo-terminal for tests that need a real terminal: the test holds the controlling side and
// types on it; the terminal side is opened as often as needed, or made this process's standard
// input and output for as long as the object lives.
//
//   PseudoTerminal pty;            // no size set: curses takes the terminal type's own
//   pty.UseAsStandardStreams();    // stdin and stdout are the terminal until destruction
//   pty.Type("q");                 // the program reads "q"
//   pty.Hang();                    // the terminal side sees a hang-up
//   pty.RestoreStandardStreams();  // before checking results
//
//   pty.SetSize(80, 24);
//   pid_t pid = pty.Start({"/path/to/program"}, folder);  // a child on the terminal side
//   std::string frame = pty.ReadUntilQuiet(150);          // what it wrote, once it is quiet
//
// What the program writes is read and dropped while typing, so a full buffer never blocks it.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // A new descriptor on the terminal side; the caller closes it.
  int OpenSide() const;
  void UseAsStandardStreams();
  // Gives standard input and output back (test failures printed before it land on the terminal).
  void RestoreStandardStreams();
  void Type(const std::string& bytes);
  // The size that programs on the terminal side read.
  void SetSize(int columns, int rows);
  // Starts command in folder as a new session on the terminal side, with xterm-256color in the
  // C.UTF-8 locale; returns its process id.
  pid_t Start(const std::vector<std::string>& command, const std::string& folder);
  // What was written to the terminal side until it stayed quiet for quietMs (at most 5 seconds).
  std::string ReadUntilQuiet(int quietMs);
  // Closes the controlling side.
  void Hang();

 private:
  void drain() const;

  int control = -1;
  std::string name;
  int savedInput = -1;
  int savedOutput = -1;
};
