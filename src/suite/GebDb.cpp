#include "GebDb.h"
