/* coexist_ours_first.c - our Camera Link header, then another maker's. */
#include "clser/clsertyx.h"
/* Keep this order: the test is about which header comes first. */
#include "other_maker_clser.h"

int coexistOursFirstInUse(void) { return CL_ERR_IN_USE; }
int coexistOursFirstBaud(void) { return CL_BAUDRATE_921600; }
