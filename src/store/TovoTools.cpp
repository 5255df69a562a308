#include "TovoTools.h"
