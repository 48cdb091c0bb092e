// A small program for the process runner's tests. The first argument says
// what to do:
//   args ...     write each further argument followed by a NUL byte
//   cwd          write the current folder
//   env NAME     write the variable's value, or "(unset)"
//   exit N       end with exit code N
//   sleep MS     sleep MS milliseconds, then end with 0
//   stderr TEXT  write TEXT to standard error
//   big N        write N bytes ('x') to standard output
//   fds          write how many files above the standard three are open
//   stdin        write how many bytes standard input holds
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  if (argc < 2) return 100;
  std::string mode = argv[1];
  if (mode == "args") {
    for (int i = 2; i < argc; ++i) fwrite(argv[i], 1, strlen(argv[i]) + 1, stdout);
  } else if (mode == "cwd") {
    char buf[4096];
    if (!getcwd(buf, sizeof buf)) return 101;
    fputs(buf, stdout);
  } else if (mode == "env" && argc > 2) {
    const char* v = getenv(argv[2]);
    fputs(v ? v : "(unset)", stdout);
  } else if (mode == "exit" && argc > 2) {
    return atoi(argv[2]);
  } else if (mode == "sleep" && argc > 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(atoi(argv[2])));
  } else if (mode == "stderr" && argc > 2) {
    fputs(argv[2], stderr);
  } else if (mode == "big" && argc > 2) {
    std::string s(size_t(atol(argv[2])), 'x');
    fwrite(s.data(), 1, s.size(), stdout);
  } else if (mode == "fds") {
    int count = 0;
    DIR* d = opendir("/proc/self/fd");
    if (!d) return 102;
    int own = dirfd(d);
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      int fd = atoi(e->d_name);
      if (fd > 2 && fd != own) ++count;
    }
    closedir(d);
    printf("%d", count);
  } else if (mode == "stdin") {
    long n = 0;
    char buf[512];
    size_t r;
    while ((r = fread(buf, 1, sizeof buf, stdin)) > 0) n += long(r);
    printf("%ld", n);
  } else {
    return 100;
  }
  return 0;
}
