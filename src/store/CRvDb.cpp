#include "CRvDb.h"
