/* dispatch_client.c - a Camera Link host that finds serial libraries the way
 * the dispatcher does: it scans one folder for clser???.so, loads each match,
 * resolves every published call, lists the ports, opens each listed port from
 * a worker thread (as acquisition drivers do) with its own null in the
 * reference slot, writes a command on each opened port and reads the reply,
 * and closes. It never links Qt and reports whether Qt ever got mapped into
 * its process.
 *
 * Usage: dispatch_client FOLDER [--answer-dialog]
 * With --answer-dialog a helper thread waits for the "Select a serial device"
 * window, checks that it belongs to another process, types channel 1 and
 * 19200 baud into it and closes it with Esc (xdotool, on the X display).
 *
 * Prints one fact per line (ports=, port N: ..., board-library=, reply
 * lines, qt-mapped=, dialog-...); the test that runs it checks them. Exits 1
 * when the folder holds no loadable serial library or a call is missing.
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <fnmatch.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef int32_t (*InitFn)(uint32_t, void**);
typedef void (*CloseFn)(void*);
typedef int32_t (*IoFn)(void*, char*, uint32_t*, uint32_t);
typedef int32_t (*CountFn)(uint32_t*);
typedef int32_t (*IdFn)(uint32_t, char*, uint32_t*);

static const char* kCalls[] = {
    "clSerialInit",   "clSerialClose",           "clSerialRead",        "clSerialWrite",
    "clSetBaudRate",  "clGetManufacturerInfo",   "clGetNumSerialPorts", "clGetSerialPortIdentifier",
    "clGetErrorText", "clGetSupportedBaudRates", "clGetNumBytesAvail",  "clFlushPort"};

static InitFn init;
static CloseFn closeRef;
static IoFn readRef, writeRef;

/* 1 when a Qt library is mapped into this process. */
static int qtMapped(void) {
  FILE* maps = fopen("/proc/self/maps", "r");
  char line[1024];
  int found = 0;
  while (maps && fgets(line, sizeof line, maps))
    if (strstr(line, "libQt")) found = 1;
  if (maps) fclose(maps);
  return found;
}

/* The mapped file whose name ends in NAME, or "" when none is. */
static void mappedPath(const char* name, char* out, size_t size) {
  FILE* maps = fopen("/proc/self/maps", "r");
  char line[1024];
  out[0] = '\0';
  while (maps && fgets(line, sizeof line, maps)) {
    char* path = strchr(line, '/');
    if (!path) continue;
    path[strcspn(path, "\n")] = '\0';
    size_t n = strlen(path), k = strlen(name);
    if (n >= k && strcmp(path + n - k, name) == 0) snprintf(out, size, "%s", path);
  }
  if (maps) fclose(maps);
}

struct Opening {
  uint32_t index;
  void* ref;
  int32_t status;
};

static void* openPort(void* arg) {
  struct Opening* o = arg;
  o->ref = NULL; /* what clients put in the slot: their own null */
  o->status = init(o->index, &o->ref);
  return NULL;
}

static void ask(void* ref, const char* command) {
  char out[32], in[128] = {0};
  uint32_t size = (uint32_t)strlen(command);
  memcpy(out, command, size);
  int32_t w = writeRef(ref, out, &size, 500);
  uint32_t got = 0;
  while (w == 0 && got < sizeof in - 1 && (got == 0 || in[got - 1] != '\r')) {
    uint32_t one = 1;
    if (readRef(ref, in + got, &one, 500) != 0) break;
    got += one;
  }
  if (got > 0 && in[got - 1] == '\r') in[--got] = '\0';
  printf("%.*s=%s\n", (int)strcspn(command, "\r"), command, in);
}

static void* answerDialog(void* arg) {
  (void)arg;
  char command[512], line[64] = {0};
  FILE* p = popen("timeout 60 xdotool search --sync --name '^Select a serial device$' 2>/dev/null", "r");
  if (!p || !fgets(line, sizeof line, p)) {
    printf("dialog-window=none\n");
    if (p) pclose(p);
    return NULL;
  }
  pclose(p);
  unsigned long window = strtoul(line, NULL, 10);
  snprintf(command, sizeof command, "xdotool getwindowpid %lu 2>/dev/null", window);
  p = popen(command, "r");
  long pid = 0;
  if (p && fgets(line, sizeof line, p)) pid = strtol(line, NULL, 10);
  if (p) pclose(p);
  printf("dialog-window=found\ndialog-in-own-process=%s\n", pid > 0 && pid != (long)getpid() ? "yes" : "no");
  printf("qt-mapped-while-dialog-open=%s\n", qtMapped() ? "yes" : "no");
  fflush(stdout);
  snprintf(command, sizeof command,
           "xdotool windowfocus --sync %lu key --delay 30 ctrl+a type --delay 30 1 && "
           "xdotool key --delay 30 Tab ctrl+a && xdotool type --delay 30 19200 && "
           "xdotool key --delay 30 Escape",
           window);
  printf("dialog-answered=%s\n", system(command) == 0 ? "yes" : "no");
  return NULL;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s FOLDER [--answer-dialog]\n", argv[0]);
    return 2;
  }
  setvbuf(stdout, NULL, _IOLBF, 0);
  int answer = argc > 2 && strcmp(argv[2], "--answer-dialog") == 0;
  DIR* dir = opendir(argv[1]);
  if (!dir) {
    perror(argv[1]);
    return 1;
  }
  int libraries = 0;
  for (struct dirent* e; (e = readdir(dir));) {
    if (fnmatch("clser???.so", e->d_name, 0) != 0) continue;
    char path[4096];
    snprintf(path, sizeof path, "%s/%s", argv[1], e->d_name);
    void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      printf("library %s: cannot load: %s\n", e->d_name, dlerror());
      continue;
    }
    ++libraries;
    printf("library=%s\n", e->d_name);
    int missing = 0;
    for (size_t i = 0; i < sizeof kCalls / sizeof *kCalls; ++i)
      if (!dlsym(lib, kCalls[i])) {
        printf("missing=%s\n", kCalls[i]);
        missing = 1;
      }
    if (missing) return 1;
    printf("qt-mapped-after-load=%s\n", qtMapped() ? "yes" : "no");
    init = (InitFn)dlsym(lib, "clSerialInit");
    closeRef = (CloseFn)dlsym(lib, "clSerialClose");
    readRef = (IoFn)dlsym(lib, "clSerialRead");
    writeRef = (IoFn)dlsym(lib, "clSerialWrite");
    CountFn count = (CountFn)dlsym(lib, "clGetNumSerialPorts");
    IdFn ident = (IdFn)dlsym(lib, "clGetSerialPortIdentifier");

    uint32_t ports = 0;
    const int32_t countStatus = count(&ports);
    printf("ports-status=%d\nports=%u\n", countStatus, ports);
    char board[4096];
    mappedPath("/libtyxapi64.so", board, sizeof board);
    printf("board-library=%s\n", board);
    pthread_t helper;
    if (answer) pthread_create(&helper, NULL, answerDialog, NULL);
    for (uint32_t i = 0; i < ports; ++i) {
      char id[128];
      uint32_t size = sizeof id;
      if (ident(i, id, &size) != 0) snprintf(id, sizeof id, "?");
      struct Opening o = {i, NULL, 0};
      pthread_t worker;
      pthread_create(&worker, NULL, openPort, &o);
      pthread_join(worker, NULL);
      if (o.status != 0) {
        printf("port %u (%s): refused %d\n", i, id, o.status);
        continue;
      }
      printf("port %u (%s): opened\n", i, id);
      ask(o.ref, "ID?\r");
      ask(o.ref, "SER?\r");
      closeRef(o.ref);
    }
    if (answer) pthread_join(helper, NULL), answer = 0; /* one dialog to answer */
    printf("qt-mapped-at-end=%s\n", qtMapped() ? "yes" : "no");
  }
  closedir(dir);
  printf("libraries=%d\n", libraries);
  return libraries > 0 ? 0 : 1;
}
