// The console pause that ends every console program.
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform.h"

namespace {

// Reads one byte with echo and line buffering switched off, then restores
// the terminal as it was.
void waitForKey() {
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
  char key = 0;
  ssize_t ignored = read(STDIN_FILENO, &key, 1);
  (void)ignored;
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace

void pauseConsole() {
  if (!isatty(STDIN_FILENO)) return;
  std::cout << "Press any key to continue . . . " << std::flush;
  std::fflush(stdout);
  waitForKey();
  std::cout << '\n' << std::flush;
}
