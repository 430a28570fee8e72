/* c_client.c - a Camera Link client in plain C.
 *
 * Loads the serial library by file name, resolves the functions by name as
 * imaging software does, and runs init, set baud rate, write, read and close
 * against the simulated board. Exits 0 only when every step gave what the
 * camera and the board are known to do.
 *
 * Usage: clser_c_client PATH/clsertyx.so
 */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

typedef int32_t (*InitFn)(uint32_t, void**);
typedef void (*CloseFn)(void*);
typedef int32_t (*ReadFn)(void*, char*, uint32_t*, uint32_t);
typedef int32_t (*WriteFn)(void*, char*, uint32_t*, uint32_t);
typedef int32_t (*BaudFn)(void*, uint32_t);
typedef int32_t (*InfoFn)(char*, uint32_t*, uint32_t*);
typedef void (*SleepFn)(uint32_t);
typedef void (*SetSleepFn)(SleepFn);
typedef int32_t (*SimControlFn)(const char*);
typedef int32_t (*LineSettingFn)(uint32_t, uint32_t, int32_t, int32_t*);

static int failures = 0;
static uint32_t waited = 0;

static void recordSleep(uint32_t ms) { waited += ms; }

#define CHECK(cond)                                                   \
  do {                                                                \
    if (!(cond)) {                                                    \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

static void* need(void* lib, const char* name) {
  void* p = dlsym(lib, name);
  if (!p) {
    fprintf(stderr, "missing export %s\n", name);
    ++failures;
  }
  return p;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s PATH/clsertyx.so\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  InitFn init = (InitFn)need(lib, "clSerialInit");
  CloseFn closeRef = (CloseFn)need(lib, "clSerialClose");
  ReadFn readRef = (ReadFn)need(lib, "clSerialRead");
  WriteFn writeRef = (WriteFn)need(lib, "clSerialWrite");
  BaudFn baud = (BaudFn)need(lib, "clSetBaudRate");
  InfoFn info = (InfoFn)need(lib, "clGetManufacturerInfo");
  /* Test seams: the one-second wait is recorded instead of slept, and the
   * simulated board (found through the library's own dependency) answers at
   * once. */
  SetSleepFn setSleep = (SetSleepFn)need(lib, "clsertyxTestingSetSleep");
  SimControlFn sim = (SimControlFn)need(lib, "tyxSim64Control");
  LineSettingFn line = (LineSettingFn)need(lib, "tyxSim64LineSetting");
  if (failures) return 1;
  setSleep(recordSleep);
  CHECK(sim("reset; immediate on") == 1);

  char name[16] = {0};
  uint32_t size = sizeof name, version = 0;
  CHECK(info(name, &size, &version) == 0);
  CHECK(strcmp(name, "tyx - QVM") == 0 && version == 1);

  /* Settings-string mode: the string's area receives the reference. */
  char area[128] = "channel=1,baudrate=9600,databits=8,stopbits=1,parity=Even";
  CHECK(init(0x80000000u | 0u, (void**)area) == 0);
  CHECK(waited == 1000);
  void* ref = NULL;
  memcpy(&ref, area, sizeof ref);
  CHECK(ref != NULL);

  CHECK(baud(ref, 0x10 /* CL_BAUDRATE_115200 */) == 0);
  int32_t value = 0;
  CHECK(line(0, 1, 1, &value) == 1 && value == 115200);
  CHECK(line(0, 1, 4, &value) == 1 && value == 2);

  char command[] = "SER?\r";
  size = (uint32_t)strlen(command);
  CHECK(writeRef(ref, command, &size, 100) == 0);
  CHECK(size == 5);
  char reply[64] = {0};
  size = sizeof reply - 1;
  CHECK(readRef(ref, reply, &size, 100) == 0);
  CHECK(size == strlen("115200,8,0,2\r"));
  CHECK(strcmp(reply, "115200,8,0,2\r") == 0);

  char gain[] = "GAIN=42\r";
  size = (uint32_t)strlen(gain);
  CHECK(writeRef(ref, gain, &size, 100) == 0);
  char ok[8] = {0};
  size = sizeof ok;
  CHECK(readRef(ref, ok, &size, 100) == 0 && size == 3 && memcmp(ok, "OK\r", 3) == 0);

  closeRef(ref);
  size = sizeof reply;
  CHECK(readRef(ref, reply, &size, 0) != 0); /* the reference is gone */

  dlclose(lib);
  if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
  else printf("c client: init, baud rate, write, read and close passed\n");
  return failures ? 1 : 0;
}
