#include "TovoRes.h"
