/* Starts a program and waits, polling a small region of the X screen about every millisecond, until
 * at least MIN pixels of it are within TOL of the colour RRGGBB: the moment the program's first
 * paint has reached the screen. Times are read on CLOCK_MONOTONIC_RAW, the clock Wine's
 * QueryPerformanceCounter reads, so marks taken inside the program line up with these.
 * usage: paintwait X Y W H RRGGBB TOL MIN TIMEOUT_MS PROGRAM [ARG...]
 * prints: pid=N spawn_ns=N painted_ns=N polls=N; exits 1 on a timeout. The program is left running. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

extern char** environ;

static long long now_ns(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static int near(long a, long b, long tol) { return a - b <= tol && b - a <= tol; }

int main(int argc, char** argv) {
  if (argc < 10) {
    fprintf(stderr, "usage: paintwait X Y W H RRGGBB TOL MIN TIMEOUT_MS PROGRAM [ARG...]\n");
    return 2;
  }
  const int x = atoi(argv[1]), y = atoi(argv[2]), w = atoi(argv[3]), h = atoi(argv[4]);
  const unsigned long rgb = strtoul(argv[5], NULL, 16);
  const long tol = atol(argv[6]);
  const int min = atoi(argv[7]);
  const long long timeout = atoll(argv[8]) * 1000000LL;
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "paintwait: no X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  /* The program gets none of our standard handles: Wine's services would inherit and hold them. */
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
  pid_t pid;
  const long long spawned = now_ns();
  if (posix_spawnp(&pid, argv[9], &actions, NULL, argv + 9, environ) != 0) {
    perror("paintwait: spawn");
    return 2;
  }
  long polls = 0;
  for (;;) {
    XImage* image = XGetImage(display, root, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    ++polls;
    int hits = 0;
    if (image) {
      for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
          const unsigned long p = XGetPixel(image, i, j);
          if (near((long)((p >> 16) & 0xFF), (long)((rgb >> 16) & 0xFF), tol) &&
              near((long)((p >> 8) & 0xFF), (long)((rgb >> 8) & 0xFF), tol) && near((long)(p & 0xFF), (long)(rgb & 0xFF), tol))
            ++hits;
        }
      XDestroyImage(image);
    }
    const long long t = now_ns();
    if (hits >= min) {
      printf("pid=%d spawn_ns=%lld painted_ns=%lld polls=%ld\n", (int)pid, spawned, t, polls);
      return 0;
    }
    if (t - spawned > timeout) {
      printf("pid=%d timeout polls=%ld\n", (int)pid, polls);
      return 1;
    }
    const struct timespec pause = {0, 500000};
    nanosleep(&pause, NULL);
  }
}
