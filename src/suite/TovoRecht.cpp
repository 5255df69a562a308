#include "TovoRecht.h"
