#include "RaumNrFormat.h"
