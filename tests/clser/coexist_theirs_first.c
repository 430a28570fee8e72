/* coexist_theirs_first.c - another maker's Camera Link header, then ours. */
#include "other_maker_clser.h"
/* Keep this order: the test is about which header comes first. */
#include "clser/clsertyx.h"

int coexistTheirsFirstInUse(void) { return CL_ERR_IN_USE; }
int coexistTheirsFirstBaud(void) { return CL_BAUDRATE_921600; }
