#include "data/QueryCounter.h"

int QueryCounter = 0;
