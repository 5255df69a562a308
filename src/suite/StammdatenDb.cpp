#include "StammdatenDb.h"
