/* c_client.c - a Camera Link client in plain C, for Linux and Windows.
 *
 * Loads the shipped serial library by file name, resolves every published
 * call (and the parity extension) by name as imaging software does, and runs
 * a round trip against the simulated board library: manufacturer info, ports
 * and identifiers, settings-string init, standard init with -2, baud rate,
 * parity, write and read, error texts, close. It uses no test seam: the
 * library's one-second wait after each init is real. Exits 0 only when every
 * step gave what the camera and the board are known to do.
 *
 * Usage: clser_c_client PATH/clsertyx.so [MODE]   (Linux)
 *        client.exe FOLDER [MODE]                 (Windows: FOLDER\clsertyx.dll)
 * MODE --no-board: the board library is absent; the library must still load,
 *   list no ports and refuse every index.
 * MODE --show-dialog: only opens board 0 in standard mode with the client's
 *   own null in the slot (so the dialog shows), prints the camera's ID? and
 *   SER? replies and closes; whoever runs it answers the dialog.
 */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define CALL __cdecl
typedef HMODULE Library;
static Library openLibrary(const char* arg) {
  char path[MAX_PATH];
  if (snprintf(path, sizeof path, "%s\\clsertyx.dll", arg) >= (int)sizeof path) return NULL;
  return LoadLibraryA(path);
}
static void* symbol(Library lib, const char* name) { return (void*)GetProcAddress(lib, name); }
static void closeLibrary(Library lib) { FreeLibrary(lib); }
static unsigned long loadError(void) { return GetLastError(); }
#else
#include <dlfcn.h>
#define CALL
typedef void* Library;
static Library openLibrary(const char* arg) { return dlopen(arg, RTLD_NOW | RTLD_LOCAL); }
static void* symbol(Library lib, const char* name) { return dlsym(lib, name); }
static void closeLibrary(Library lib) { dlclose(lib); }
static unsigned long loadError(void) { return 0; }
#endif

typedef int32_t(CALL* InitFn)(uint32_t, void**);
typedef void(CALL* CloseFn)(void*);
typedef int32_t(CALL* ReadFn)(void*, char*, uint32_t*, uint32_t);
typedef int32_t(CALL* WriteFn)(void*, char*, uint32_t*, uint32_t);
typedef int32_t(CALL* BaudFn)(void*, uint32_t);
typedef int32_t(CALL* InfoFn)(char*, uint32_t*, uint32_t*);
typedef int32_t(CALL* CountFn)(uint32_t*);
typedef int32_t(CALL* IdFn)(uint32_t, char*, uint32_t*);
typedef int32_t(CALL* TextFn)(int32_t, char*, uint32_t*);
typedef int32_t(CALL* RatesFn)(void*, uint32_t*);
typedef int32_t(CALL* AvailFn)(void*, uint32_t*);
typedef int32_t(CALL* FlushFn)(void*);
typedef int32_t(CALL* ParityFn)(void*, uint32_t);

static int failures = 0;

#define CHECK(cond)                                                            \
  do {                                                                         \
    if (!(cond)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                              \
    }                                                                          \
  } while (0)

static void* need(Library lib, const char* name) {
  void* p = symbol(lib, name);
  if (!p) {
    fprintf(stderr, "missing export %s\n", name);
    ++failures;
  }
  return p;
}

static InitFn init;
static CloseFn closeRef;
static ReadFn readRef;
static WriteFn writeRef;

/* Sends one command line and checks the camera's whole reply. */
static void ask(void* ref, const char* command, const char* reply) {
  char out[64];
  char in[64] = {0};
  uint32_t size = (uint32_t)strlen(command);
  memcpy(out, command, size);
  CHECK(writeRef(ref, out, &size, 500) == 0);
  CHECK(size == strlen(command));
  size = (uint32_t)strlen(reply);
  CHECK(readRef(ref, in, &size, 500) == 0);
  if (size != strlen(reply) || memcmp(in, reply, size) != 0) {
    fprintf(stderr, "%s -> \"%.*s\", expected \"%s\"\n", command, (int)size, in, reply);
    ++failures;
  }
}

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: %s LIBRARY-OR-FOLDER [--no-board|--show-dialog]\n", argv[0]);
    return 2;
  }
  Library lib = openLibrary(argv[1]);
  if (!lib) {
#ifndef _WIN32
    fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
#else
    fprintf(stderr, "cannot load %s\\clsertyx.dll: error %lu\n", argv[1], loadError());
#endif
    return 1;
  }
  (void)loadError;
  init = (InitFn)need(lib, "clSerialInit");
  closeRef = (CloseFn)need(lib, "clSerialClose");
  readRef = (ReadFn)need(lib, "clSerialRead");
  writeRef = (WriteFn)need(lib, "clSerialWrite");
  BaudFn baud = (BaudFn)need(lib, "clSetBaudRate");
  InfoFn info = (InfoFn)need(lib, "clGetManufacturerInfo");
  CountFn count = (CountFn)need(lib, "clGetNumSerialPorts");
  IdFn ident = (IdFn)need(lib, "clGetSerialPortIdentifier");
  TextFn text = (TextFn)need(lib, "clGetErrorText");
  RatesFn rates = (RatesFn)need(lib, "clGetSupportedBaudRates");
  AvailFn avail = (AvailFn)need(lib, "clGetNumBytesAvail");
  FlushFn flush = (FlushFn)need(lib, "clFlushPort");
  ParityFn parity = (ParityFn)need(lib, "clSetParity");
  if (failures) return 1;
  /* The shipped library hands out nothing but its published calls. */
  CHECK(symbol(lib, "clsertyxTestingSetSleep") == NULL);
  CHECK(symbol(lib, "tyxSim64Control") == NULL);
  const char* mode = argc == 3 ? argv[2] : "";

  if (strcmp(mode, "--no-board") == 0) {
    uint32_t none = 99;
    CHECK(count(&none) == 0 && none == 0);
    void* slot = NULL;
    CHECK(init(0, &slot) == -10005);
    char settings[64] = "channel=0,baudrate=9600";
    CHECK(init(0x80000000u, (void**)settings) == -10005);
    closeLibrary(lib);
    if (!failures) printf("c client: loads without the board library, no ports, every index refused\n");
    return failures ? 1 : 0;
  }
  if (strcmp(mode, "--show-dialog") == 0) {
    void* slot = NULL; /* not -2: the dialog shows */
    CHECK(init(0, &slot) == 0);
    if (!failures) {
      char in[64];
      const char* commands[] = {"ID?\r", "SER?\r"};
      for (int i = 0; i < 2; ++i) {
        char out[8];
        uint32_t size = (uint32_t)strlen(commands[i]);
        memcpy(out, commands[i], size);
        CHECK(writeRef(slot, out, &size, 500) == 0);
        size = sizeof in - 1;
        memset(in, 0, sizeof in);
        readRef(slot, in, &size, 500);
        in[strcspn(in, "\r")] = '\0';
        printf("%.*s=%s\n", (int)strcspn(commands[i], "\r"), commands[i], in);
      }
      closeRef(slot);
    }
    closeLibrary(lib);
    return failures ? 1 : 0;
  }

  char name[16] = {0};
  uint32_t size = 9, version = 0;
  CHECK(info(name, &size, &version) == -10001 && size == 10);
  size = sizeof name;
  CHECK(info(name, &size, &version) == 0);
  CHECK(strcmp(name, "tyx - QVM") == 0 && version == 1);

  uint32_t ports = 0;
  CHECK(count(&ports) == 0 && ports == 2);
  char id[64];
  size = sizeof id;
  CHECK(ident(0, id, &size) == 0 && strcmp(id, "TYX-CL6301 Camera Link") == 0);
  size = sizeof id;
  CHECK(ident(1, id, &size) == 0 && strcmp(id, "TYX-6250 Analog") == 0);
  size = sizeof id;
  CHECK(ident(2, id, &size) == -10005);

  /* Settings-string mode: the string's area receives the reference. */
  char area[128] = "channel=1,baudrate=9600,databits=8,stopbits=1,parity=Even";
  CHECK(init(0x80000000u | 0u, (void**)area) == 0);
  void* ref = NULL;
  memcpy(&ref, area, sizeof ref);
  CHECK(ref != NULL);
  ask(ref, "ID?\r", "TYXSIM TYX-CL6301 Camera Link CH1\r");
  ask(ref, "SER?\r", "9600,8,0,2\r");

  uint32_t mask = 0;
  CHECK(rates(ref, &mask) == 0);
  CHECK(mask == 0xFF); /* 9600 to 921600 */
  CHECK(baud(ref, 0x10 /* CL_BAUDRATE_115200 */) == 0);
  CHECK(parity(ref, 1) == 0);
  CHECK(parity(ref, 5) != 0); /* refused, sets nothing */
  ask(ref, "SER?\r", "115200,8,0,1\r");
  CHECK(baud(ref, 0x80 /* CL_BAUDRATE_921600 */) == 0);
  ask(ref, "SER?\r", "921600,8,0,1\r");

  char echo[] = "ECHO abc\r";
  size = (uint32_t)strlen(echo);
  CHECK(writeRef(ref, echo, &size, 500) == 0);
  uint32_t waiting = 0;
  for (int i = 0; i < 50 && waiting < 4; ++i) CHECK(avail(ref, &waiting) == 0);
  CHECK(waiting == 4);
  CHECK(flush(ref) == 0);
  CHECK(avail(ref, &waiting) == 0 && waiting == 0);

  /* Standard mode with -2 in the slot: no dialog. */
  void* slot = NULL;
  int32_t minusTwo = -2;
  memcpy(&slot, &minusTwo, sizeof minusTwo);
  CHECK(init(0, &slot) == 0);
  CHECK(slot != NULL && slot != ref);
  ask(slot, "GAIN=42\r", "OK\r");
  ask(slot, "GAIN?\r", "42\r");
  void* refused = NULL;
  memcpy(&refused, &minusTwo, sizeof minusTwo);
  CHECK(init(1, &refused) == -10005); /* a board type outside the Camera Link ranges */

  char message[64];
  size = sizeof message;
  CHECK(text(-10004, message, &size) == 0 && strcmp(message, "Time-out") == 0);
  size = sizeof message;
  CHECK(text(-10012, message, &size) == 0 && strcmp(message, "In use") == 0);
  size = sizeof message;
  CHECK(text(-1, message, &size) == -10007);

  closeRef(slot);
  closeRef(ref);
  char reply[8];
  size = sizeof reply;
  CHECK(readRef(ref, reply, &size, 0) != 0); /* the reference is gone */

  closeLibrary(lib);
  if (failures)
    fprintf(stderr, "%d check(s) failed\n", failures);
  else
    printf("c client: info, ports, both inits, baud rate, parity, write, read, texts and close passed\n");
  return failures ? 1 : 0;
}
