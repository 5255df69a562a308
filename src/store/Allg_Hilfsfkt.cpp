#include "Allg_Hilfsfkt.h"
