#include "interpreter/program.h"
int tarv_main() { return 0; }
