/* maker_library.c - a stand-in for a maker's library in the tests of which
 * library the program picks: it has an entry point of the maker's interface
 * but not the simulators' control entry point, so the program must not call
 * it simulated. Built as libtyxcamera.so and libtyxapi32.so in a folder of
 * their own. */
int tyxCamGetLastError(void) { return 0; }
int tyxGetLastError(void) { return 0; }
